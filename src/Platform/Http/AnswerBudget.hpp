#pragma once
// The time that all of a client's requests may spend waiting for and reading
// answers together, shared by both HTTP clients: the run's allowance, what
// large requests earn on top, and the grants for work that must be done even
// once it is spent (taking back uploads).
#include <algorithm>
#include <chrono>

namespace Platform {

class AnswerBudget {
 public:
  using Clock = std::chrono::steady_clock;

  explicit AnswerBudget(long seconds = 0)
      : FLeft(std::chrono::seconds(seconds)), FGranted(seconds) {}

  // More time on top of what is left (a large request's allowance).
  void Earn(long seconds) {
    FLeft += std::chrono::seconds(seconds);
    FGranted += seconds;
  }
  // More time from now, whatever was overspent.
  void GrantAfresh(long seconds) {
    FLeft = std::max(FLeft, Clock::duration::zero()) + std::chrono::seconds(seconds);
    FGranted += seconds;
  }
  void Spend(Clock::duration spent) { FLeft -= spent; }

  Clock::duration Left() const { return FLeft; }
  bool Spent() const { return FLeft <= Clock::duration::zero(); }
  // All the seconds ever given, for the message that they ran out.
  long GrantedSeconds() const { return FGranted; }

 private:
  Clock::duration FLeft;
  long FGranted;
};

}  // namespace Platform

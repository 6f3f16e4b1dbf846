#pragma once
// Base of the few errors that travel up to the entry block. Each type names
// its kind, which the entry block prints before the message.
#include <stdexcept>
#include <string>
#include <utility>

namespace Platform {

class Error : public std::runtime_error {
 public:
  // `cause`, when given, says more for people (the server's own words, say);
  // it goes to standard error beside the error line.
  explicit Error(const std::string& message, std::string cause = {})
      : std::runtime_error(message), FCause(std::move(cause)) {}
  virtual const char* KindName() const noexcept = 0;
  const std::string& Cause() const noexcept { return FCause; }

 private:
  std::string FCause;
};

// The system's text for an errno value, in English whatever the locale, so
// that messages read alike everywhere ("No such file or directory").
std::string ErrorText(int errorNumber);

// Writing to standard output failed (closed pipe, full disk).
class EConsoleError : public Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "EConsoleError"; }
};

}  // namespace Platform

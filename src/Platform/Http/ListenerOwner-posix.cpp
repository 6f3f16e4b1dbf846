#include "Platform/Http/ListenerOwner.hpp"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace Platform {
namespace {

constexpr const char* kListenState = "0A";

// Looks through one socket table ("sl local_address rem_address st ... uid
// ..."): the listeners on the port, and whether all of them are ours.
void LookThrough(const char* table, int port, bool& found, bool& foreign) {
  std::ifstream lines(table);
  std::string line;
  std::getline(lines, line);  // the heading
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string slot, local, remote, state, queues, timer, retransmits;
    long uid = -1;
    fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid;
    const size_t colon = local.rfind(':');
    if (state != kListenState || colon == std::string::npos)
      continue;
    if (std::stoi(local.substr(colon + 1), nullptr, 16) != port)
      continue;
    found = true;
    foreign = foreign || uid != static_cast<long>(::getuid());
  }
}

}  // namespace

ListenerOwner LoopbackListenerOwner(int port) {
  bool found = false;
  bool foreign = false;
  LookThrough("/proc/net/tcp", port, found, foreign);
  LookThrough("/proc/net/tcp6", port, found, foreign);
  if (!found)
    return ListenerOwner::Nobody;
  return foreign ? ListenerOwner::OtherUser : ListenerOwner::ThisUser;
}

}  // namespace Platform

#pragma once
// Who listens on a loopback TCP port: before a token goes to a port that a
// scan found, the program listening there must be the user's own, not
// another user's on a shared machine.
namespace Platform {

enum class ListenerOwner {
  Nobody,     // nothing listens on the port
  ThisUser,   // every listener on it runs as this user
  OtherUser,  // some listener on it runs as another user (or cannot be told)
};

// Linux: the socket's owner in /proc/net/tcp and tcp6. Windows: the user of
// the process that owns the TCP table's listening entry.
ListenerOwner LoopbackListenerOwner(int port);

}  // namespace Platform

#include "Platform/Http/ListenerOwner.hpp"

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
// clang-format on

#include <memory>
#include <vector>

#include "Platform/Windows/Win32Handle.hpp"

namespace Platform {
namespace {

// The user (SID) of a process's token, copied out; empty when it cannot be read.
std::vector<BYTE> UserOfProcess(HANDLE process) {
  HANDLE rawToken = nullptr;
  if (!::OpenProcessToken(process, TOKEN_QUERY, &rawToken))
    return {};
  Win32Handle token(rawToken);
  DWORD size = 0;
  ::GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  if (size == 0 || !::GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size))
    return {};
  const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
  const DWORD sidLength = ::GetLengthSid(user->User.Sid);
  const auto* sid = static_cast<const BYTE*>(user->User.Sid);
  return {sid, sid + sidLength};
}

bool RunsAsThisUser(DWORD pid, const std::vector<BYTE>& self) {
  Win32Handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process.Valid())
    return false;  // another user's process is closed to us
  return !self.empty() && UserOfProcess(process.Get()) == self;
}

}  // namespace

ListenerOwner LoopbackListenerOwner(int port) {
  ULONG size = 0;
  ::GetExtendedTcpTable(nullptr, &size, FALSE, AF_INET, TCP_TABLE_OWNER_PID_LISTENER, 0);
  std::vector<BYTE> buffer(size);
  if (size == 0 || ::GetExtendedTcpTable(buffer.data(), &size, FALSE, AF_INET,
                                         TCP_TABLE_OWNER_PID_LISTENER, 0) != NO_ERROR)
    return ListenerOwner::Nobody;
  const auto* table = reinterpret_cast<const MIB_TCPTABLE_OWNER_PID*>(buffer.data());
  const std::vector<BYTE> self = UserOfProcess(::GetCurrentProcess());
  bool found = false;
  bool foreign = false;
  for (DWORD i = 0; i < table->dwNumEntries; ++i) {
    const MIB_TCPROW_OWNER_PID& row = table->table[i];
    if (::ntohs(static_cast<u_short>(row.dwLocalPort)) != port)
      continue;
    found = true;
    foreign = foreign || !RunsAsThisUser(row.dwOwningPid, self);
  }
  if (!found)
    return ListenerOwner::Nobody;
  return foreign ? ListenerOwner::OtherUser : ListenerOwner::ThisUser;
}

}  // namespace Platform

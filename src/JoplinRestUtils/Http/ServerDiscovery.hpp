#pragma once
// Finding a running Joplin Data API on this machine the way Joplin's own
// clients do: GET /ping on the loopback ports 41184 to 41194, in order.
#include <optional>
#include <string>
#include <string_view>

namespace JoplinRestUtils {

inline constexpr std::string_view kPingAnswer = "JoplinClipperServer";
inline constexpr int kFirstDataApiPort = 41184;
inline constexpr int kLastDataApiPort = 41194;

// The loopback ports a scan asks, first to last.
struct TPortRange {
  int First = kFirstDataApiPort;
  int Last = kLastDataApiPort;
};

// "http://127.0.0.1:PORT" of the first port whose /ping answers with
// kPingAnswer within a second and whose listener is this user's own (the
// token goes there next); nothing when none does. A port of another user's
// is skipped with a line on standard error.
std::optional<std::string> FindLocalDataApi(int firstPort = kFirstDataApiPort,
                                            int lastPort = kLastDataApiPort);

}  // namespace JoplinRestUtils

#pragma once
// The exit codes that scripts rely on: 0 done, 1 no token found, 3 nothing
// (or not the asked-for note) created. There is no exit code 2.
namespace Quillpost {

inline constexpr int kExitOk = 0;
inline constexpr int kExitNoToken = 1;
inline constexpr int kExitNotCreated = 3;

}  // namespace Quillpost

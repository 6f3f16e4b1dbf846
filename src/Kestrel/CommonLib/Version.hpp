#pragma once
// The running program's file version ("1.0.0.0" for this build).
#include <string>

namespace Kestrel::CommonLib {

std::string GetVersionString();

}  // namespace Kestrel::CommonLib

#include "Kestrel/CommonLib/Version.hpp"

#include "Platform/Console/Version.hpp"

namespace Kestrel::CommonLib {

std::string GetVersionString() {
  return Platform::CompiledFileVersion();
}

}  // namespace Kestrel::CommonLib

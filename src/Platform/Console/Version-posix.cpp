#include "Platform/Console/Version.hpp"

namespace Platform {

std::string CompiledFileVersion() {
  return QUILLPOST_VERSION;
}

}  // namespace Platform

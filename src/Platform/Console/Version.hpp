#pragma once
// The file version compiled into this build ("1.0.0.0").
#include <string>

namespace Platform {

std::string CompiledFileVersion();

}  // namespace Platform

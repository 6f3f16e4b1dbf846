#include <cstring>

#include "Platform/Console/Error.hpp"

namespace Platform {

// The C runtime's texts are English on every Windows system.
std::string ErrorText(int errorNumber) {
  const char* text = std::strerror(errorNumber);
  return text != nullptr ? text : "error " + std::to_string(errorNumber);
}

}  // namespace Platform

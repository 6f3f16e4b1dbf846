#include "Platform/Console/Error.hpp"

#include <cstring>

namespace Platform {

std::string ErrorText(int errorNumber) {
  const char* text = ::strerrordesc_np(errorNumber);
  return text != nullptr ? text : "error " + std::to_string(errorNumber);
}

}  // namespace Platform

#include "Platform/Console/CommandLine.hpp"

namespace Platform {

std::vector<std::string> ProgramParameters(int argc, const char* const* argv) {
  std::vector<std::string> params;
  for (int i = 1; i < argc; ++i) {
    if (argv[i] != nullptr && argv[i][0] != '\0')
      params.emplace_back(argv[i]);
  }
  return params;
}

}  // namespace Platform

#pragma once
// Whether this test process runs in a network namespace of its own
// (tests/support/private-network.sh), where the Data API's ports are the
// tests' alone.
#include <string>

#include "Platform/Files/Files.hpp"

namespace TestSupport {

// Empty inside a private network; otherwise why not, for a test to skip with.
inline std::string WhyNoPrivateNetwork() {
  const std::string state = Platform::GetEnv("QUILLPOST_PRIVATE_NETWORK");
  if (state == "1")
    return {};
  if (!state.empty())
    return state;
  return "the Data API's ports are scanned only in a private network: run through "
         "tests/support/private-network.sh";
}

}  // namespace TestSupport

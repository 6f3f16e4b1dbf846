#pragma once
// The run with every switch together, as the end-to-end suites of both
// builds make it: what the server must have received, byte for byte, so that
// the Linux and the Windows build are held to the same requests.
#include "support/TestHttpServer.hpp"

namespace TestSupport {

// `leading` (the settings and "/S" with the body path), then notebook, title
// with placeholders, two attachments, two tags and both dates.
std::vector<std::string> EverySwitchArguments(std::vector<std::string> leading);
// The two uploads (chart.png with its time, data.csv) and the note JSON.
void ExpectEverySwitchRequests(const TestHttpServer& server);

}  // namespace TestSupport

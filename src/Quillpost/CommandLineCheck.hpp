#pragma once
// Every word of the command line must mean something: a switch Quillpost
// knows, or a value that a switch takes. Anything else ends the run before
// anything is read or sent, with a line that names the word and, where one
// is close, the switch that was probably meant.
#include <string>

#include "Kestrel/CommonLib/SwitchScanner.hpp"
#include "Platform/Console/Error.hpp"

namespace Quillpost {

class ECommandLineError : public Platform::Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "ECommandLineError"; }
};

// Throws ECommandLineError for the first unknown switch or stray word.
void CheckCommandLine(const Kestrel::CommonLib::TParamList& params);

// The known switch closest to `word`, written as the user would write it
// ("/N" for "/Nn", "--check" for "/check"); empty when none is close.
std::string NearestKnownSwitch(const std::string& word);

}  // namespace Quillpost

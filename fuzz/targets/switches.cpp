// The command line: switches, values, "Name=value" parameters. Each NUL byte
// of the input ends one argument.
#include "Quillpost/Switches.hpp"
#include "Kestrel/CommonLib/SwitchScanner.hpp"
#include "Platform/Console/CommandLine.hpp"
#include "Quillpost/CommandLineCheck.hpp"
#include "support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args = {"quillpost"};
  std::string current;
  for (const char c : Fuzz::AsText(data, size)) {
    if (c == '\0') {
      args.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  args.push_back(current);
  std::vector<const char*> argv;
  for (const auto& arg : args)
    argv.push_back(arg.c_str());
  using namespace Kestrel::CommonLib;
  const TParamList params = Platform::ProgramParameters(static_cast<int>(argv.size()), argv.data());
  TStringList values;
  GetSwitchValues(params, "A", values, false);
  GetSwitchValueList(params, "AA", values, false);
  std::string value;
  GetSwitchValue(params, "S", value);
  GetParamValue(params, "/IniFile", "");
  ParamExists(params, "--help");
  Quillpost::SwitchValuesThenList(params, "T", "TT");
  try {
    Quillpost::CheckCommandLine(params);
  } catch (const Quillpost::ECommandLineError&) {
    // A command line with a word that means nothing is refused: that is the answer.
  }
  return 0;
}

#include "Quillpost/Run.hpp"

#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/SwitchScanner.hpp"
#include "Platform/Console/Console.hpp"
#include "Quillpost/CommandLineCheck.hpp"
#include "Quillpost/Commands/AppendCommand.hpp"
#include "Quillpost/Commands/CheckCommand.hpp"
#include "Quillpost/Commands/ImportCommand.hpp"
#include "Quillpost/Commands/ListCommand.hpp"
#include "Quillpost/Commands/NoteCommand.hpp"
#include "Quillpost/ExitCodes.hpp"
#include "Quillpost/ResultReport.hpp"
#include "Quillpost/Settings/Settings.hpp"
#include "Quillpost/Switches.hpp"
#include "Quillpost/Usage.hpp"

namespace Quillpost {

using Kestrel::CommonLib::ParamExists;
using Kestrel::CommonLib::TParamList;

namespace {

// "/?" and "/h" show the usage text, "--help" the full help, "--version" the
// usage text's first two lines.
bool AnswerInformationRequest(const TParamList& params) {
  if (FindSwitch(params, "?") || FindSwitch(params, "h")) {
    PrintUsageText();
    return true;
  }
  if (ParamExists(params, "--help")) {
    PrintHelp();
    return true;
  }
  if (ParamExists(params, "--version")) {
    PrintVersion();
    return true;
  }
  return false;
}

void TellWhereTheTokenWasSought(const TSettings& settings) {
  for (const auto& place : settings.LookedAt)
    Kestrel::CommonLib::TellCause("looked at " + place);
  Kestrel::CommonLib::TellCause(
      "the Joplin desktop application shows its token under Tools > Options > Web Clipper "
      "(on macOS: Joplin > Preferences > Web Clipper)");
}

}  // namespace

int RunNoteCommand(const TArguments& args) {
  const TParamList& params = args.Text;
  if (AnswerInformationRequest(params))
    return kExitOk;
  ReportAsJson(ParamExists(params, "--json"));
  CheckCommandLine(params);
  for (const char* importOnly : {"--dry-run", "--prune", "--restore"}) {
    if (FindSwitch(params, importOnly) && !FindSwitch(params, "--import"))
      throw ECommandLineError(std::string(importOnly) + " goes only with --import");
  }

  TSettings settings = FindSettings(Kestrel::CommonLib::GetParamValue(args.Paths, "/IniFile", ""),
                                    Kestrel::CommonLib::GetParamValue(args.Paths, "/Profile", ""));
  if (ParamExists(params, "--check")) {
    SettleServerUrl(settings);
    return RunCheck(settings);
  }
  if (settings.Token.Value.empty()) {
    ReportFailure("Please enter the token in the ini file.", "ENoToken",
                  "no token found in the settings, the environment or a Joplin profile");
    TellWhereTheTokenWasSought(settings);
    return kExitNoToken;
  }
  SettleServerUrl(settings);
  if (ParamExists(params, "--list-notebooks"))
    return RunList(TListKind::Notebooks, settings.Url.Value, settings.Token.Value);
  if (ParamExists(params, "--list-tags"))
    return RunList(TListKind::Tags, settings.Url.Value, settings.Token.Value);
  if (FindSwitch(params, "--import"))
    return RunImport(args, settings);
  if (FindSwitch(params, "Append") || FindSwitch(params, "Prepend"))
    return RunAppend(args, settings);
  return RunNewNote(args, settings);
}

}  // namespace Quillpost

#include "Quillpost/EntryBlock.hpp"

#include <exception>
#include <string>

#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Platform/Console/CommandLine.hpp"
#include "Platform/Console/Console.hpp"
#include "Platform/Console/Error.hpp"
#include "Platform/Text/Charset.hpp"
#include "Quillpost/ExitCodes.hpp"
#include "Quillpost/ResultReport.hpp"
#include "Quillpost/Run.hpp"

namespace Quillpost {
namespace {

void ReportEscapedError(const std::string& kind, const char* message) noexcept {
  try {
    ReportFailure(kind + ": " + message, kind, message);
  } catch (...) {
    // Standard output itself failed; the exit code still tells the caller.
  }
}

TArguments ReadArguments(int argc, const char* const* argv) {
  Kestrel::CommonLib::TParamList bytes = Platform::ProgramParameters(argc, argv);
  Kestrel::CommonLib::TParamList text;
  text.reserve(bytes.size());
  for (const auto& param : bytes)
    text.push_back(Platform::DecodeFromLocale(param));
  return TArguments(std::move(text), std::move(bytes));
}

}  // namespace

int RunEntryBlock(int argc, const char* const* argv) {
  Platform::InitLocale();
  Platform::PrepareStandardStreams();
  try {
    return RunNoteCommand(ReadArguments(argc, argv));
  } catch (const Platform::Error& error) {
    ReportEscapedError(error.KindName(), error.what());
    if (!error.Cause().empty())
      Kestrel::CommonLib::TellCause(error.Cause());
  } catch (const std::exception& error) {
    ReportEscapedError("Exception", error.what());
  }
  return kExitNotCreated;
}

}  // namespace Quillpost

#include "Quillpost/EntryBlock.hpp"

#include <exception>
#include <string>

#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Platform/Charset.hpp"
#include "Platform/Console.hpp"
#include "Platform/Error.hpp"
#include "Quillpost/NoteCommand.hpp"

namespace Quillpost {
namespace {

void ReportEscapedError(const std::string& kind, const char* message) noexcept {
  try {
    Platform::WriteLine(kind + ": " + message);
  } catch (...) {
    // Standard output itself failed; the exit code still tells the caller.
  }
}

Kestrel::CommonLib::TParamList DecodedParams(int argc, const char* const* argv) {
  Kestrel::CommonLib::TParamList params = Kestrel::CommonLib::MakeParamList(argc, argv);
  // In a UTF-8 locale the bytes stay as they are, so that file names open as given.
  if (!Platform::LocaleIsUtf8()) {
    for (auto& param : params)
      param = Platform::DecodeFromLocale(param);
  }
  return params;
}

}  // namespace

int RunEntryBlock(int argc, const char* const* argv) {
  Platform::InitLocale();
  try {
    return RunNoteCommand(DecodedParams(argc, argv));
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

#include <windows.h>

#include <string>

#include "Platform/Console/Console.hpp"
#include "Platform/Console/Error.hpp"
#include "Platform/Text/Charset.hpp"
#include "Platform/Windows/Win32CodePages.hpp"
#include "Platform/Windows/Win32Error.hpp"

namespace Platform {
namespace {

// A console takes the text as UTF-16, whatever its code page; a file or a
// pipe takes it in the ANSI code page.
bool WriteText(DWORD stream, std::string_view utf8, DWORD& failure) {
  const HANDLE handle = ::GetStdHandle(stream);
  if (IsConsoleHandle(handle)) {
    const std::wstring wide = WideText(utf8);
    DWORD written = 0;
    if (::WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr))
      return true;
    failure = ::GetLastError();
    return false;
  }
  const std::string bytes = EncodeToLocale(utf8);
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!::WriteFile(handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                     nullptr) ||
        written == 0) {
      failure = ::GetLastError();
      return false;
    }
    done += written;
  }
  return true;
}

}  // namespace

void PrepareStandardStreams() {}

void WriteLine(std::string_view utf8Line) {
  DWORD failure = 0;
  if (!WriteText(STD_OUTPUT_HANDLE, VisibleText(utf8Line) + "\r\n", failure))
    throw EConsoleError("cannot write to standard output: " + Win32ErrorText(failure));
}

void WriteErrorLine(std::string_view utf8Line) {
  DWORD failure = 0;
  (void)WriteText(STD_ERROR_HANDLE, VisibleText(utf8Line) + "\r\n", failure);
}

void WriteRawToStandardError(std::string_view text) {
  DWORD failure = 0;
  (void)WriteText(STD_ERROR_HANDLE, text, failure);
}

bool StandardInputIsTerminal() {
  return IsConsoleHandle(::GetStdHandle(STD_INPUT_HANDLE));
}

bool StandardErrorIsTerminal() {
  return IsConsoleHandle(::GetStdHandle(STD_ERROR_HANDLE));
}

}  // namespace Platform

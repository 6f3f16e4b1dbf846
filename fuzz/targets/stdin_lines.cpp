// Standard input as lines: line ends, lone CRs, Ctrl+Z, undecodable bytes;
// the joined text read at once must be the lines' text.
#include <sys/mman.h>

#include "Kestrel/CommonLib/StringList.hpp"
#include "Platform/ByteReader.hpp"
#include "Quillpost/StdinLines.hpp"
#include "support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int fd = ::memfd_create("stdin", MFD_CLOEXEC);
  if (fd < 0)
    return 0;
  if (::write(fd, data, size) == static_cast<ssize_t>(size) && ::lseek(fd, 0, SEEK_SET) == 0) {
    Platform::ByteReader reader(fd);
    Kestrel::CommonLib::TStringList lines;
    Quillpost::ReadStdinLines(lines, false, reader);
    if (::lseek(fd, 0, SEEK_SET) == 0) {
      Platform::ByteReader again(fd);
      if (Quillpost::ReadStdinText(false, again) != lines.Text())
        __builtin_trap();
    }
  }
  ::close(fd);
  return 0;
}

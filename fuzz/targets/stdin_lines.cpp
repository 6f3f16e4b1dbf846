// Standard input as lines: line ends, lone CRs, Ctrl+Z, undecodable bytes.
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
    lines.Text();
  }
  ::close(fd);
  return 0;
}

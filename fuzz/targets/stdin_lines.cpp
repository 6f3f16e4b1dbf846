// Standard input as joined lines: line ends, lone CRs, Ctrl+Z, undecodable
// bytes; every line must end in CR LF and hold no other CR or LF.
#include <sys/mman.h>

#include "Platform/Files/ByteReader.hpp"
#include "Quillpost/Steps/StdinLines.hpp"
#include "support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int fd = ::memfd_create("stdin", MFD_CLOEXEC);
  if (fd < 0)
    return 0;
  if (::write(fd, data, size) == static_cast<ssize_t>(size) && ::lseek(fd, 0, SEEK_SET) == 0) {
    Platform::ByteReader reader(fd);
    const std::string text = Quillpost::ReadStdinText(false, reader);
    for (size_t pos = 0; pos < text.size();) {
      const size_t end = text.find("\r\n", pos);
      if (end == std::string::npos || text.find_first_of("\r\n", pos) != end)
        __builtin_trap();
      pos = end + 2;
    }
  }
  ::close(fd);
  return 0;
}

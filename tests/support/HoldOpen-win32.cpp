// hold_open.exe PATH shared|exclusive: opens the file as a program that is
// still writing it ("shared": others may read and write too) or as one that
// locks it ("exclusive"), says "held", and keeps it open until PATH.release
// exists (at most a minute).
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 3)
    return 2;
  const std::wstring path = argv[1];
  const DWORD share = std::wstring(argv[2]) == L"shared" ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return 1;
  std::puts("held");
  std::fflush(stdout);
  const std::wstring release = path + L".release";
  for (int waited = 0; waited < 60000; waited += 50) {
    if (::GetFileAttributesW(release.c_str()) != INVALID_FILE_ATTRIBUTES)
      break;
    ::Sleep(50);
  }
  ::CloseHandle(file);
  return 0;
}

#pragma once
// Move-only owner of a Windows kernel handle. For the Windows platform files only.
#include <windows.h>

#include <utility>

namespace Platform {

class Win32Handle {
 public:
  Win32Handle() = default;
  explicit Win32Handle(HANDLE handle) : FHandle(handle) {}
  ~Win32Handle() { Reset(); }
  Win32Handle(Win32Handle&& other) noexcept
      : FHandle(std::exchange(other.FHandle, INVALID_HANDLE_VALUE)) {}
  Win32Handle& operator=(Win32Handle&& other) noexcept {
    if (this != &other) {
      Reset();
      FHandle = std::exchange(other.FHandle, INVALID_HANDLE_VALUE);
    }
    return *this;
  }
  Win32Handle(const Win32Handle&) = delete;
  Win32Handle& operator=(const Win32Handle&) = delete;

  bool Valid() const { return FHandle != INVALID_HANDLE_VALUE && FHandle != nullptr; }
  HANDLE Get() const { return FHandle; }
  void Reset() {
    if (Valid())
      ::CloseHandle(FHandle);
    FHandle = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE FHandle = INVALID_HANDLE_VALUE;
};

}  // namespace Platform

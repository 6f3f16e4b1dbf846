#pragma once
// Move-only owners of Windows handles: kernel handles (files) here, and any
// other kind through its own traits. For the Windows platform files only.
#include <windows.h>

#include <utility>

namespace Platform {

// Traits: `Type`, `Invalid()` and `Close(handle)`; a null handle is never closed.
template <typename Traits>
class OwnedHandle {
 public:
  using Type = typename Traits::Type;
  OwnedHandle() = default;
  explicit OwnedHandle(Type handle) : FHandle(handle) {}
  ~OwnedHandle() { Reset(); }
  OwnedHandle(OwnedHandle&& other) noexcept
      : FHandle(std::exchange(other.FHandle, Traits::Invalid())) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      FHandle = std::exchange(other.FHandle, Traits::Invalid());
    }
    return *this;
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;

  bool Valid() const { return FHandle != Traits::Invalid() && FHandle != nullptr; }
  Type Get() const { return FHandle; }
  void Reset() {
    if (Valid())
      Traits::Close(FHandle);
    FHandle = Traits::Invalid();
  }
  // Gives the handle up without closing it: someone else closed it already.
  Type Release() { return std::exchange(FHandle, Traits::Invalid()); }

 private:
  Type FHandle = Traits::Invalid();
};

struct KernelHandleTraits {
  using Type = HANDLE;
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE handle) { ::CloseHandle(handle); }
};

using Win32Handle = OwnedHandle<KernelHandleTraits>;

}  // namespace Platform

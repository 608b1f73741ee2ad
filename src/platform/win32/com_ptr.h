#pragma once

#include <utility>

#include "platform/win32/win32_api.h"

#include <objbase.h>

namespace quorvel::win32 {

/// Owns one COM interface pointer from the call that hands it out.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ~ComPtr() { Reset(); }

  T* Get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  /// The address to pass to a function that hands out a new pointer; the old one is released.
  T** Put() {
    Reset();
    return &pointer_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  void Reset() {
    if (pointer_ != nullptr) {
      std::exchange(pointer_, nullptr)->Release();
    }
  }

 private:
  T* pointer_ = nullptr;
};

/// COM on the calling thread for the life of the object, in the apartment asked for (the
/// multithreaded one unless told). A thread already in another apartment keeps it: COM is usable
/// there all the same.
class ComSession {
 public:
  explicit ComSession(DWORD apartment = COINIT_MULTITHREADED)
      : result_(::CoInitializeEx(nullptr, apartment)) {}
  ComSession(const ComSession&) = delete;
  ComSession& operator=(const ComSession&) = delete;
  ~ComSession() {
    if (SUCCEEDED(result_)) {
      ::CoUninitialize();
    }
  }

 private:
  HRESULT result_;
};

}  // namespace quorvel::win32

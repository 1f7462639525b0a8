// SPDX-License-Identifier: MIT
// An owning reference to a COM object: AddRef on copy, Release on end.
#pragma once

#include <unknwn.h>

#include <utility>

namespace lunavant::windows {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes a new reference of its own.
  ComPtr(T* object) : object_(object) {  // NOLINT: as natural as a raw pointer
    if (object_ != nullptr) object_->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.object_) {}
  // From a reference to a derived object.
  template <typename U>
  ComPtr(const ComPtr<U>& other) : ComPtr(other.get()) {}  // NOLINT: as raw pointers convert
  ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~ComPtr() {
    if (object_ != nullptr) object_->Release();
  }
  // Adopts a reference the caller already owns (as QueryInterface and creation hand them out).
  static ComPtr Adopt(T* object) {
    ComPtr result;
    result.object_ = object;
    return result;
  }

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  T& operator*() const { return *object_; }
  explicit operator bool() const { return object_ != nullptr; }
  // The place a creating call writes its new reference to; releases the current one first.
  T** put() {
    *this = ComPtr();
    return &object_;
  }
  // Hands the reference to the caller, as an out parameter does.
  T* detach() { return std::exchange(object_, nullptr); }

 private:
  T* object_ = nullptr;
};

}  // namespace lunavant::windows

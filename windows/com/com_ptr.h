// SPDX-License-Identifier: MIT
// ComPtr<T>: owns one reference to a COM interface and releases it when it goes.
//   ComPtr<IDispatch> application;
//   hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
//   application.put_void());
#pragma once

#include <unknwn.h>

#include <concepts>
#include <utility>

namespace lunavant::com {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes a reference of its own; the caller keeps theirs.
  static ComPtr Share(T* pointer) {
    if (pointer != nullptr) pointer->AddRef();
    return ComPtr(pointer);
  }
  // Takes over the caller's reference.
  static ComPtr Adopt(T* pointer) { return ComPtr(pointer); }

  ComPtr(const ComPtr& other) : pointer_(other.pointer_) {
    if (pointer_ != nullptr) pointer_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  // From a reference to a derived object, as its raw pointer converts.
  template <class U>
  requires std::convertible_to<U*, T*> ComPtr(
      const ComPtr<U>& other)  // NOLINT(google-explicit-constructor)
      : pointer_(other.get()) {
    if (pointer_ != nullptr) pointer_->AddRef();
  }
  template <class U>
  requires std::convertible_to<U*, T*> ComPtr(ComPtr<U>&& other)
  noexcept  // NOLINT(google-explicit-constructor)
      : pointer_(other.detach()) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(pointer_, other.pointer_);
    return *this;
  }
  ~ComPtr() { reset(); }

  void reset() {
    if (T* old = std::exchange(pointer_, nullptr)) old->Release();
  }
  // Hands the reference to the caller, as an out-parameter of COM does.
  T* detach() { return std::exchange(pointer_, nullptr); }

  // For an out-parameter: what was held is released first.
  T** put() {
    reset();
    return &pointer_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }

  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  T& operator*() const { return *pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // The same object through another interface; empty when it has none.
  template <class U>
  ComPtr<U> query(REFIID iid) const {
    ComPtr<U> result;
    if (pointer_ != nullptr) pointer_->QueryInterface(iid, result.put_void());
    return result;
  }

 private:
  explicit ComPtr(T* pointer) : pointer_(pointer) {}
  T* pointer_ = nullptr;
};

}  // namespace lunavant::com

// SPDX-License-Identifier: MIT
#include "windows/automation/com/enum_variant.h"

#include <memory>
#include <new>
#include <utility>

#include "windows/com/object.h"

namespace lunavant::windows {
namespace {

// The items, shared by an enumerator and its clones.
struct Items {
  explicit Items(std::vector<VARIANT> taken) : values(std::move(taken)) {}
  Items(const Items&) = delete;
  Items& operator=(const Items&) = delete;
  ~Items() {
    for (VARIANT& value : values) VariantClear(&value);
  }
  std::vector<VARIANT> values;
};

class Enumerator final : public com::Object<IEnumVARIANT> {
 public:
  Enumerator(std::shared_ptr<Items> items, std::size_t next)
      : items_(std::move(items)), next_(next) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
    if (out == nullptr) return E_POINTER;
    ULONG given = 0;
    while (given < count && next_ < items_->values.size()) {
      VariantInit(&out[given]);
      const HRESULT hr = VariantCopy(&out[given], &items_->values[next_]);
      if (FAILED(hr)) {
        for (ULONG i = 0; i < given; ++i) VariantClear(&out[i]);
        if (fetched != nullptr) *fetched = 0;
        return hr;
      }
      ++given;
      ++next_;
    }
    if (fetched != nullptr) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    const std::size_t left = items_->values.size() - next_;
    next_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
    if (copy == nullptr) return E_POINTER;
    *copy = new (std::nothrow) Enumerator(items_, next_);
    return *copy != nullptr ? S_OK : E_OUTOFMEMORY;
  }

 private:
  bool Serves(REFIID iid) const override { return iid == IID_IEnumVARIANT; }

  std::shared_ptr<Items> items_;
  std::size_t next_;
};

}  // namespace

ComPtr<IEnumVARIANT> MakeEnumerator(std::vector<VARIANT> items) {
  return ComPtr<IEnumVARIANT>::Adopt(new Enumerator(std::make_shared<Items>(std::move(items)), 0));
}

}  // namespace lunavant::windows

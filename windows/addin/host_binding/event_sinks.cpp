// SPDX-License-Identifier: MIT
#include "host_binding/event_sinks.h"

#include <memory>
#include <utility>

#include "addin/host/error.h"
#include "late_binding.h"

namespace lunavant::winaddin {

VARIANT& EventArguments::Raw(std::size_t index) const {
  if (index >= params_.cArgs || params_.rgvarg == nullptr) {
    host::Raise(host::kSubscriptOutOfRange, "Subscript out of range");
  }
  return params_.rgvarg[params_.cArgs - 1 - index];
}

const VARIANT& EventArguments::At(std::size_t index) const {
  const VARIANT& raw = Raw(index);
  if (raw.vt == (VT_VARIANT | VT_BYREF) && raw.pvarVal != nullptr) return *raw.pvarVal;
  return raw;
}

ComPtr<IDispatch> EventArguments::Object(std::size_t index) const {
  return ObjectOf(Variant(At(index)));
}

std::int32_t EventArguments::Long(std::size_t index) const { return LongOf(Variant(At(index))); }

bool EventArguments::Bool(std::size_t index) const {
  const VARIANT& value = At(index);
  if (value.vt == (VT_BOOL | VT_BYREF)) return value.pboolVal != nullptr && *value.pboolVal != 0;
  return BoolOf(Variant(value));
}

void EventArguments::SetBool(std::size_t index, bool value) {
  VARIANT& raw = Raw(index);
  VARIANT& target =
      (raw.vt == (VT_VARIANT | VT_BYREF) && raw.pvarVal != nullptr) ? *raw.pvarVal : raw;
  const VARIANT_BOOL flag = value ? VARIANT_TRUE : VARIANT_FALSE;
  if (target.vt == (VT_BOOL | VT_BYREF) && target.pboolVal != nullptr) {
    *target.pboolVal = flag;
  } else if (&target != &raw && target.vt == VT_BOOL) {
    target.boolVal = flag;
  }
}

EventConnection::EventConnection(IDispatch* source, const IID& events, EventTable table,
                                 TransientObjects& objects) {
  auto handlers = std::make_shared<EventTable>(std::move(table));
  sink_ =
      com::EventSink::Make(events, [handlers, &objects](DISPID id, DISPPARAMS* params) -> HRESULT {
        const auto found = handlers->find(id);
        if (found == handlers->end() || params == nullptr) return S_OK;
        try {
          CallScope scope(objects);
          EventArguments arguments(*params);
          found->second(arguments);
        } catch (...) {
          // The handlers keep their own error styles; what still escapes stays in the add-in.
        }
        return S_OK;
      });
  try {
    advice_ = com::Advice(source, events, sink_.get());
  } catch (const com::ComError& error) {
    host::Raise(ErrorNumberOf(error.code()), error.what());
  }
}

EventConnection::~EventConnection() { advice_.disconnect(); }

}  // namespace lunavant::winaddin

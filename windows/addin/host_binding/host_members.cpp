// SPDX-License-Identifier: MIT
#include "host_binding/host_members.h"

#include <string>

#include "addin/host/error.h"
#include "text.h"

namespace lunavant::winaddin {
namespace {

[[noreturn]] void RaiseMisuse(const HostMember& entry, const char* what) {
  host::Raise(host::kInternalError,
              "The add-in calls " + com::Narrow(entry.name) + " " + what + " than its entry says.");
}

}  // namespace

Variant Call(const AutomationObject& object, const HostMember& entry,
             std::initializer_list<Variant> args) {
  if (entry.kind != CallKind::kMethod && entry.kind != CallKind::kGet) {
    RaiseMisuse(entry, "otherwise");
  }
  if (static_cast<int>(args.size()) != entry.arguments) RaiseMisuse(entry, "with other arguments");
  return object.Get(entry.name, args);
}

void Put(const AutomationObject& object, const HostMember& entry, const Variant& value) {
  switch (entry.kind) {
    case CallKind::kPut:
      return object.Put(entry.name, value);
    case CallKind::kPutRef:
      return object.PutRef(entry.name, ObjectOf(value).get());
    default:
      RaiseMisuse(entry, "otherwise");
  }
}

}  // namespace lunavant::winaddin

// SPDX-License-Identifier: MIT
// A late-binding automation client, as a script or an add-in without type information calls the
// host: every member by name through IDispatch::GetIDsOfNames and Invoke, arguments as VARIANTs.
//
//   Object app = Object::Create(L"Lunavant.ReferenceHost");
//   Object task = app.Get("ActiveProject").Get("Tasks").Call("Add", {Text("Dig")});
//   task.Put("Duration", Text("3"));
//   std::string start = task.Call("GetField", {Long(188743715)}).AsText();
//
// A failing call throws CallFailed with the HRESULT and, for DISP_E_EXCEPTION, the EXCEPINFO.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "windows/com/com_ptr.h"
#include "windows/com/dispatch.h"

namespace lunavant::windows::testing {

using com::ComPtr;

// An owning VARIANT.
class Variant {
 public:
  Variant() { VariantInit(&value_); }
  explicit Variant(const VARIANT& value);  // copies
  Variant(const Variant& other) : Variant(other.value_) {}
  Variant& operator=(const Variant& other);
  ~Variant() { VariantClear(&value_); }

  VARIANT& get() { return value_; }
  const VARIANT& get() const { return value_; }
  std::string AsText() const;
  std::int32_t AsLong() const;
  bool AsBool() const;
  double AsDate() const;
  IDispatch* AsObject() const;  // null for Nothing; no reference of its own

 private:
  VARIANT value_;
};

Variant Text(const std::string& utf8);
Variant Long(std::int32_t value);
Variant Bool(bool value);
Variant Date(double ole_date);
Variant ObjectValue(IDispatch* object);

struct CallFailed : std::runtime_error {
  CallFailed(HRESULT result, std::int32_t scode, std::string description);
  HRESULT result;
  std::int32_t scode;  // EXCEPINFO's, 0 unless DISP_E_EXCEPTION
  std::string description;
};

class Object {
 public:
  Object() = default;
  explicit Object(ComPtr<IDispatch> object) : object_(std::move(object)) {}
  // CoCreateInstance of the ProgID, asking for IDispatch.
  static Object Create(const wchar_t* progid);

  IDispatch* get() const { return object_.get(); }
  explicit operator bool() const { return static_cast<bool>(object_); }

  // The dispatch ID of a name; throws CallFailed with the HRESULT (DISP_E_UNKNOWNNAME).
  DISPID IdOf(const std::string& name) const;
  // Arguments in the member's order; they are passed in rgvarg last to first.
  Variant Call(const std::string& name, std::vector<Variant> args = {}) const;
  Object Get(const std::string& name, std::vector<Variant> args = {}) const;
  void Put(const std::string& name, const Variant& value) const;
  void PutRef(const std::string& name, const Variant& value) const;
  // The items For Each gives, through _NewEnum's IEnumVARIANT.
  std::vector<Variant> Items() const;

 private:
  Variant Invoke(const std::string& name, WORD flags, std::vector<Variant>& args, bool put) const;
  ComPtr<IDispatch> object_;
};

// An event sink for one event interface: records each call (dispatch ID and the arguments as
// rgvarg had them, last parameter first) and hands it to a handler, which may write through the
// by-reference arguments.
class Sink final : public com::Dispatch<IDispatch> {
 public:
  struct Event {
    DISPID member;
    std::vector<Variant> reversed_args;  // copies; a by-reference flag as its value on arrival
    std::vector<VARTYPE> types;          // the types as they arrived
  };
  using Handler = std::function<void(DISPID member, DISPPARAMS& params)>;

  static ComPtr<Sink> Make(const IID& events) { return ComPtr<Sink>::Adopt(new Sink(events)); }

  void SetHandler(Handler handler) { handler_ = std::move(handler); }
  const std::vector<Event>& Events() const { return events_; }
  void Clear() { events_.clear(); }

  // Advise on `source`'s connection point of the sink's interface; Unadvise with the cookie.
  void Advise(const testing::Object& source);
  void Unadvise();

  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argument_error) override;

 private:
  explicit Sink(const IID& events) : events_iid_(events) {}
  bool Serves(REFIID iid) const override { return iid == IID_IDispatch || iid == events_iid_; }

  IID events_iid_;
  std::vector<Event> events_;
  Handler handler_;
  ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

// The checks of one test program: each failure is printed, and the program's exit code counts them.
class Checks {
 public:
  void That(bool ok, const std::string& what);
  void Equal(const std::string& actual, const std::string& expected, const std::string& what);
  void Equal(std::int64_t actual, std::int64_t expected, const std::string& what);
  int ExitCode() const { return failures_ == 0 ? 0 : 1; }
  int failures() const { return failures_; }

 private:
  int failures_ = 0;
};

// Runs `body`, expecting it to fail with an error of the host: DISP_E_EXCEPTION whose EXCEPINFO
// carries `number` as Basic reads it. Returns the description.
std::string ExpectHostError(Checks& checks, std::int32_t number, const std::string& what,
                            const std::function<void()>& body);

std::string Utf8(const wchar_t* text);

// Whether two references are to one object (COM identity: the same IUnknown).
bool SameObject(IDispatch* a, IDispatch* b);
inline bool SameObject(const Object& a, const Object& b) { return SameObject(a.get(), b.get()); }

// The cases of automation_client_test, each returning its exit code.
int EventCases(Checks& checks);
int CommandBarCases(Checks& checks);
int ScenarioCase(Checks& checks, const std::string& name);

}  // namespace lunavant::windows::testing

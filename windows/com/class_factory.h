// SPDX-License-Identifier: MIT
// The class objects of an in-process server. A DLL lists the classes it serves with a function
// that makes each, and DllGetClassObject hands the table to GetClassObject:
//   constexpr ServedClass kClasses[] = {{&CLSID_Connect, &CreateConnect}};
//   return GetClassObject(kClasses, clsid, iid, result);
#pragma once

#include <unknwn.h>

#include <span>

namespace lunavant::com {

// Makes a new object and returns its interface `iid`; E_NOINTERFACE if it has none.
using ObjectMaker = HRESULT (*)(REFIID iid, void** result);

struct ServedClass {
  const CLSID* clsid;
  ObjectMaker make;
};

// A class factory for the entry of `classes` whose CLSID is `clsid`; CLASS_E_CLASSNOTAVAILABLE
// for any other.
HRESULT GetClassObject(std::span<const ServedClass> classes, REFCLSID clsid, REFIID iid,
                       void** result);

}  // namespace lunavant::com

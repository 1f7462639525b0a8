// SPDX-License-Identifier: MIT
// The state an in-process COM server keeps for itself: its module handle, its type library, and
// the counts that tell DllCanUnloadNow whether anything it made is still in use.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <string>

namespace lunavant::com {

// DllMain records the module at DLL_PROCESS_ATTACH.
void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();
// The full path of the DLL, as its registration names it.
std::wstring ModulePath();

// The description of interface `iid` in the type library embedded in the module. The library is
// loaded once and kept for the life of the process: type information is asked for on every call
// by name, and the module stays loaded while any object lives.
HRESULT ModuleTypeInfo(const IID& iid, ITypeInfo** info);

// Every object the server hands out counts from its constructor to its destructor.
void ObjectCreated();
void ObjectDestroyed();
// IClassFactory::LockServer.
void LockModule(bool lock);
// True when no object is alive and no client holds a lock.
bool ModuleCanUnload();

}  // namespace lunavant::com

// SPDX-License-Identifier: MIT
// The test add-in's Connect object: IDTExtensibility2 through its vtable and by name (the
// dispatch half is served from the DLL's type library). It logs every call with its arguments
// and, while connected, keeps a toolbar in the host.
#pragma once

#include <unknwn.h>

namespace lunavant::test_addin {

// The class factory's maker for Connect.
HRESULT MakeConnect(REFIID iid, void** result);

}  // namespace lunavant::test_addin

// SPDX-License-Identifier: MIT
// The COM class Connect: the add-in's entry object (addin/shell/connect.h) as the host creates
// it, implementing IDTExtensibility2 both through its vtable and by name (IDispatch over the
// type library inside the DLL). A connection binds the host's Application over automation
// (host_binding/) and hands it to the add-in; a disconnection lets go of every host object and
// event sink. Every entry returns S_OK to the host, whatever happened inside.
#pragma once

#include <unknwn.h>

namespace lunavant::winaddin {

// The class factory's maker for Connect.
HRESULT MakeConnect(REFIID iid, void** result);

}  // namespace lunavant::winaddin

// SPDX-License-Identifier: MIT
// What a collection's _NewEnum hands out for For Each: an IEnumVARIANT over the items as they were
// when it was asked for.
#pragma once

#include <oaidl.h>

#include <vector>

#include "windows/com/com_ptr.h"

namespace lunavant::windows {

using com::ComPtr;

// Takes the items; each VARIANT is owned by the enumerator from then on.
ComPtr<IEnumVARIANT> MakeEnumerator(std::vector<VARIANT> items);

}  // namespace lunavant::windows

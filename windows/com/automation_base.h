// SPDX-License-Identifier: MIT
// Stands for automation_base.idl in headers that widl generates: the real declarations of the
// OLE Automation base types come from the Windows headers.
#pragma once

#include <oaidl.h>
#include <ole2.h>

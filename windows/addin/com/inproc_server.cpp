// SPDX-License-Identifier: MIT
// What Lunavant.dll serves through the shared exports (inproc_server.h): its class, and its
// registration (com/registration.h).
#include "inproc_server.h"

#include "com/connect_object.h"
#include "com/registration.h"
#include "lunavant_addin.h"

namespace lunavant {
namespace {

constexpr com::ServedClass kClasses[] = {{&CLSID_Connect, &winaddin::MakeConnect}};

}  // namespace

const com::InprocServer com::kThisServer = {kClasses, &winaddin::RegisterServer,
                                            &winaddin::UnregisterServer};

}  // namespace lunavant

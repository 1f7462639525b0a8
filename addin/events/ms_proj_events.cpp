// SPDX-License-Identifier: MIT
#include "addin/events/ms_proj_events.h"

#include "addin/pairing/catalogues.h"
#include "addin/pairing/pair_registry.h"

namespace lunavant::events {

MSProjEvents::MSProjEvents() {
  pairing::SetForceRefresh(false);
  pairing::InitCatalogues();
}

}  // namespace lunavant::events

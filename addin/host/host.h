// SPDX-License-Identifier: MIT
// The whole host contract in one include.
#pragma once

#include "addin/host/command_bars.h"
#include "addin/host/dialogs.h"
#include "addin/host/error.h"
#include "addin/host/events.h"
#include "addin/host/extensibility.h"
#include "addin/host/global.h"
#include "addin/host/list_control.h"
#include "addin/host/object_model.h"
#include "addin/host/registry.h"
#include "addin/host/services.h"
#include "addin/host/value.h"

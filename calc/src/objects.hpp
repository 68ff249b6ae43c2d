// SPDX-License-Identifier: GPL-3.0-or-later
// Objects of the eleven classes: one function table per interface layout,
// reference counted, no other state.
#pragma once

#include "VexaCalculate00/types.h"
#include "classes.hpp"

namespace vexacalc::detail {

// Creates an object of cls and puts its interface iid in *object (null on failure).
VexaStatus createObject(const ClassInfo& cls, const VexaGuid& iid, void** object);

} // namespace vexacalc::detail

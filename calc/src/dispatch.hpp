// SPDX-License-Identifier: GPL-3.0-or-later
// Late binding: method names to dispatch identifiers, and calls by identifier
// with tagged-value arguments.
#pragma once

#include "VexaCalculate00/types.h"
#include "classes.hpp"

#include <cstdint>

namespace vexacalc::detail {

VexaStatus dispatchIdsOfNames(const ClassInfo& cls, const char16_t* const* names,
                              std::uint32_t nameCount, std::int32_t* dispIds);

VexaStatus dispatchInvoke(const ClassInfo& cls, std::int32_t dispId, const VexaVariant* args,
                          std::uint32_t argCount, VexaVariant* result, std::uint32_t* argError);

} // namespace vexacalc::detail

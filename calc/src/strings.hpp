// SPDX-License-Identifier: GPL-3.0-or-later
// String results handed to clients, who free them with VexaCalculate00_FreeString.
#pragma once

#include <string_view>

namespace vexacalc::detail {

// A NUL-terminated copy owned by the caller, or null when memory runs out.
char16_t* allocateString(std::u16string_view text) noexcept;
void freeString(char16_t* text) noexcept;

} // namespace vexacalc::detail

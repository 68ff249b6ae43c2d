// SPDX-License-Identifier: GPL-3.0-or-later
#include "strings.hpp"

#include <cstdlib>
#include <cstring>

namespace vexacalc::detail {

// malloc/free rather than new/delete: the buffer crosses a C boundary and may be
// released from a scripting language through the exported function.
char16_t* allocateString(std::u16string_view text) noexcept {
    auto* copy = static_cast<char16_t*>(std::malloc((text.size() + 1) * sizeof(char16_t)));
    if (!copy)
        return nullptr;
    if (!text.empty())
        std::memcpy(copy, text.data(), text.size() * sizeof(char16_t));
    copy[text.size()] = u'\0';
    return copy;
}

void freeString(char16_t* text) noexcept {
    std::free(text);
}

} // namespace vexacalc::detail

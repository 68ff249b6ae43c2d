// SPDX-License-Identifier: GPL-3.0-or-later
// Converts register byte 201 to degrees C through the installed library's C entry point, and
// names the class it used in the registration record's form.
#include <VexaCalculate00/VexaCalculate00.h>
#include <cstdio>

int main() {
    float celsius = 0;
    if (VEXA_FAILED(Code0_Misc2(0, 0, 201, 0, 0, 0, 0, 0, 0, 0, VEXA_TRUE, &celsius))) {
        return 1;
    }
    std::printf("%g %s\n", double(celsius),
                vexacalc::registration::formatGuid(VEXA_CLSID_Code0).c_str());
    return 0;
}

/* SPDX-License-Identifier: GPL-3.0-or-later */
/* Converts register byte 201 to degrees C through the installed library's C entry point. */
#include <VexaCalculate00/VexaCalculate00.h>
#include <stdio.h>

int main(void) {
    float celsius = 0;
    if (VEXA_FAILED(Code0_Misc2(0, 0, 201, 0, 0, 0, 0, 0, 0, 0, VEXA_TRUE, &celsius))) {
        return 1;
    }
    printf("%g\n", (double)celsius);
    return 0;
}

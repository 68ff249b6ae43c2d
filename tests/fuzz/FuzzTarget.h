// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Each fuzz target defines the libFuzzer entry point. The same source is linked into the fuzzer
// (clang, -fsanitize=fuzzer) and into a replay program that feeds it every file of the target's
// corpus in the normal build, so that each input once found keeps being checked.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// A property the target checks that does not hold: a finding, whatever the build.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

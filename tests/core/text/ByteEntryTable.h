// SPDX-License-Identifier: GPL-3.0-or-later
// One table of typed bytes for every place that takes one: the core's parser, the register
// list's two entry fields and qmf4150ctl's VALUE. Each must accept and refuse the same.
#pragma once

namespace qmf::test {

struct ByteEntryCase {
    const char* text; // UTF-8
    int hex;          // what the hexadecimal reading gives; -1: refused
    int decimal;      // what the decimal reading gives; -1: refused
};

// clang-format off
inline constexpr ByteEntryCase ByteEntryCases[] = {
    {"0", 0x00, 0},      {"00", 0x00, 0},     {"5", 0x05, 5},       {" 7\t", 0x07, 7},
    {"FF", 0xFF, -1},    {"ff", 0xFF, -1},    {"A5", 0xA5, -1},     {"&HA5", 0xA5, -1},
    {"&ha5", 0xA5, -1},  {"0xA5", 0xA5, -1},  {"0XA5", 0xA5, -1},   {"A5h", 0xA5, -1},
    {"a5H", 0xA5, -1},   {"&HF", 0x0F, -1},   {"0FF", 0xFF, -1},    {"10", 0x10, 10},
    {"99", 0x99, 99},    {"100", -1, 100},    {"255", -1, 255},     {"0255", -1, 255},
    {"256", -1, -1},     {"300", -1, -1},     {"1000", -1, -1},     {"G1", -1, -1},
    {"1G", -1, -1},      {"", -1, -1},        {"  ", -1, -1},       {"2.5", -1, -1},
    {"3.5", -1, -1},     {"-5", -1, -1},      {"+5", -1, -1},       {"1e2", -1, -1},
    {"F F", -1, -1},     {"0x", -1, -1},      {"&H", -1, -1},       {"h", -1, -1},
    {"0x5Eh", -1, -1},   {"&H5Eh", -1, -1},   {"5E h", -1, -1},     {"0x-1", -1, -1},
    {"\xd9\xa3", -1, -1}, // an Arabic-Indic three: a digit, but not one of ours
    {"99999999999999999999", -1, -1},
};
// clang-format on

} // namespace qmf::test

// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user registration record, readable without loading the library: a
// program resolves a class identifier to the library's path here, then loads
// that library. Header-only on purpose.
//
// Location: $XDG_CONFIG_HOME/VexaCalculate00/registration.ini, where an unset,
// empty or relative XDG_CONFIG_HOME means $HOME/.config.
// Format: UTF-8 text lines. '#' or ';' starts a comment line. "[{CLSID}]" opens
// the section of one class; the lines after it are "Key=Value" (Class, ProgID,
// Interface, Library, TypeLibrary, TypeLibraryVersion, TypeLibraryLocale,
// ThreadingModel). Identifiers are written in upper case and compared without
// regard to case.
#pragma once

#include "VexaCalculate00/types.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexacalc::registration {

inline constexpr std::string_view kFolderName = "VexaCalculate00";
inline constexpr std::string_view kFileName = "registration.ini";

// The user's configuration directory, or nothing when neither variable helps.
inline std::optional<std::filesystem::path> configDirectory() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg && std::filesystem::path(xdg).is_absolute())
        return std::filesystem::path(xdg);
    const char* home = std::getenv("HOME");
    if (home && *home)
        return std::filesystem::path(home) / ".config";
    return std::nullopt;
}

inline std::optional<std::filesystem::path> recordPath() {
    const auto dir = configDirectory();
    if (!dir)
        return std::nullopt;
    return *dir / kFolderName / kFileName;
}

// "{09D5599F-13D0-11D5-AB6C-00C04F7E5BFB}"
inline std::string formatGuid(const VexaGuid& id) {
    char text[39];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(id.data1), static_cast<unsigned>(id.data2),
                  static_cast<unsigned>(id.data3), id.data4[0], id.data4[1], id.data4[2],
                  id.data4[3], id.data4[4], id.data4[5], id.data4[6], id.data4[7]);
    return text;
}

inline std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

inline bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

struct Section {
    std::string name; // the text between the brackets
    std::vector<std::string> lines;
};

struct Record {
    std::vector<std::string> preamble; // lines before the first section
    std::vector<Section> sections;
};

inline Record parseRecord(std::istream& in) {
    Record record;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string text = trimmed(line);
        if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
            record.sections.push_back(
                {trimmed(std::string_view(text).substr(1, text.size() - 2)), {}});
        } else if (record.sections.empty()) {
            record.preamble.push_back(line);
        } else {
            record.sections.back().lines.push_back(line);
        }
    }
    return record;
}

inline std::optional<std::string> sectionValue(const Section& section, std::string_view key) {
    for (const std::string& line : section.lines) {
        const std::string text = trimmed(line);
        if (text.empty() || text.front() == '#' || text.front() == ';')
            continue;
        const auto equals = text.find('=');
        if (equals != std::string::npos &&
            equalsIgnoringCase(trimmed(std::string_view(text).substr(0, equals)), key))
            return trimmed(std::string_view(text).substr(equals + 1));
    }
    return std::nullopt;
}

} // namespace vexacalc::registration

namespace vexacalc {

// The library path registered for a class identifier, or nothing when the class
// is not registered (no record, no section, or a section without a Library line).
inline std::optional<std::string> LookupClassLibrary(const VexaGuid& clsid) {
    using namespace registration;
    const auto path = recordPath();
    if (!path)
        return std::nullopt;
    std::ifstream in(*path);
    if (!in)
        return std::nullopt;
    const Record record = parseRecord(in);
    const std::string wanted = formatGuid(clsid);
    for (const Section& section : record.sections) {
        if (!equalsIgnoringCase(section.name, wanted))
            continue;
        const auto library = sectionValue(section, "Library");
        if (library && !library->empty())
            return library;
    }
    return std::nullopt;
}

} // namespace vexacalc

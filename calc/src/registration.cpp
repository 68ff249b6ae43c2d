// SPDX-License-Identifier: GPL-3.0-or-later
// Self-registration: the per-user record that maps each class identifier to
// this library's file, and the lookup of that record.
#include "VexaCalculate00/registration.hpp"

#include "VexaCalculate00/entrypoints.h"
#include "VexaCalculate00/identifiers.h"
#include "classes.hpp"
#include "record_file.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string>

namespace vexacalc::detail {

namespace {

// Objects hold no shared state and count references atomically, so any thread
// may create and call them.
constexpr const char* kThreadingModel = "Both";
constexpr const char* kTypeLibraryName = "VexaCalculateDLL";

const char kAnchor = 0; // an address inside this library, for dladdr

// The real path of the loaded library file, symbolic links resolved.
std::optional<std::string> thisLibraryPath() {
    Dl_info info{};
    if (!::dladdr(&kAnchor, &info) || !info.dli_fname || !*info.dli_fname)
        return std::nullopt;
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(info.dli_fname, nullptr),
                                                           &std::free);
    if (!real)
        return std::nullopt;
    return std::string(real.get());
}

bool isOwnSection(const registration::Section& section) {
    return std::any_of(allClasses().begin(), allClasses().end(), [&](const ClassInfo& cls) {
        return registration::equalsIgnoringCase(section.name, registration::formatGuid(cls.clsid));
    });
}

void dropOwnSections(registration::Record& record) {
    std::erase_if(record.sections, isOwnSection);
}

bool onlyComments(const std::vector<std::string>& lines) {
    return std::all_of(lines.begin(), lines.end(), [](const std::string& line) {
        const std::string text = registration::trimmed(line);
        return text.empty() || text.front() == '#' || text.front() == ';';
    });
}

registration::Section sectionFor(const ClassInfo& cls, const std::string& library) {
    char locale[8];
    std::snprintf(locale, sizeof locale, "0x%04X", VEXA_TYPELIB_LOCALE);
    return {registration::formatGuid(cls.clsid),
            {std::string("Class=") + cls.name,
             std::string("ProgID=") + kTypeLibraryName + '.' + cls.name,
             "Interface=" + registration::formatGuid(cls.iid), "Library=" + library,
             "TypeLibrary=" + registration::formatGuid(VEXA_LIBID_VexaCalculateDLL),
             "TypeLibraryVersion=" + std::to_string(VEXA_TYPELIB_VERSION_MAJOR) + '.' +
                 std::to_string(VEXA_TYPELIB_VERSION_MINOR),
             std::string("TypeLibraryLocale=") + locale,
             std::string("ThreadingModel=") + kThreadingModel, ""}};
}

VexaStatus registerServer() {
    const auto file = registration::recordPath();
    const auto library = thisLibraryPath();
    // A line break in the path could not be written as one record line.
    if (!file || !library || library->find_first_of("\r\n") != std::string::npos)
        return VEXA_SELFREG_E_CLASS;
    registration::Record record;
    if (const VexaStatus status = readRecord(*file, record); VEXA_FAILED(status))
        return status;
    dropOwnSections(record);
    if (onlyComments(record.preamble) && record.sections.empty())
        record.preamble = {"# VexaCalculate00 per-user component registration.",
                           "# One [{class identifier}] section per class, then Key=Value lines.",
                           ""};
    for (const ClassInfo& cls : allClasses())
        record.sections.push_back(sectionFor(cls, *library));
    return replaceFileAtomically(*file, renderRecord(record));
}

VexaStatus unregisterServer() {
    const auto file = registration::recordPath();
    if (!file)
        return VEXA_SELFREG_E_CLASS;
    std::error_code error;
    if (!std::filesystem::exists(*file, error))
        return error ? VEXA_SELFREG_E_CLASS : VEXA_S_OK; // nothing registered
    registration::Record record;
    if (const VexaStatus status = readRecord(*file, record); VEXA_FAILED(status))
        return status;
    dropOwnSections(record);
    // Other entries someone put in the file are kept; an emptied record goes away.
    if (record.sections.empty() && onlyComments(record.preamble))
        return std::filesystem::remove(*file, error) || !error ? VEXA_S_OK : VEXA_SELFREG_E_CLASS;
    return replaceFileAtomically(*file, renderRecord(record));
}

} // namespace

} // namespace vexacalc::detail

using namespace vexacalc::detail;

extern "C" VEXA_API VexaStatus DllRegisterServer(void) {
    try {
        return registerServer();
    } catch (const std::bad_alloc&) {
        return VEXA_E_OUTOFMEMORY;
    } catch (...) {
        return VEXA_SELFREG_E_CLASS;
    }
}

extern "C" VEXA_API VexaStatus DllUnregisterServer(void) {
    try {
        return unregisterServer();
    } catch (const std::bad_alloc&) {
        return VEXA_E_OUTOFMEMORY;
    } catch (...) {
        return VEXA_SELFREG_E_CLASS;
    }
}

extern "C" VEXA_API VexaStatus VexaCalculate00_LookupClass(const VexaGuid* clsid, char* path,
                                                           size_t capacity) {
    if (!clsid || (!path && capacity > 0))
        return VEXA_E_POINTER;
    try {
        const auto library = vexacalc::LookupClassLibrary(*clsid);
        if (!library)
            return VEXA_REGDB_E_CLASSNOTREG;
        if (library->size() + 1 > capacity)
            return VEXA_E_NOT_SUFFICIENT_BUFFER;
        std::memcpy(path, library->c_str(), library->size() + 1);
        return VEXA_S_OK;
    } catch (const std::bad_alloc&) {
        return VEXA_E_OUTOFMEMORY;
    } catch (...) {
        return VEXA_E_FAIL;
    }
}

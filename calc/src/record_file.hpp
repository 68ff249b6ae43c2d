// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and replacing the registration record file.
#pragma once

#include "VexaCalculate00/registration.hpp"
#include "VexaCalculate00/types.h"

#include <filesystem>
#include <string>

namespace vexacalc::detail {

// Reads the record; a missing file is an empty record, an unreadable one a failure.
VexaStatus readRecord(const std::filesystem::path& file, registration::Record& record);

std::string renderRecord(const registration::Record& record);

// Writes content to a temporary file beside file, flushes it to disk and renames
// it over file, so that readers see either the old record or the whole new one.
VexaStatus replaceFileAtomically(const std::filesystem::path& file, const std::string& content);

} // namespace vexacalc::detail

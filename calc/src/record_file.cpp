// SPDX-License-Identifier: GPL-3.0-or-later
#include "record_file.hpp"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace vexacalc::detail {

namespace {

bool writeAll(int fd, const std::string& content) {
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

// Makes the rename itself durable; the record is already complete without it.
void syncDirectory(const std::filesystem::path& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

VexaStatus readRecord(const std::filesystem::path& file, registration::Record& record) {
    record = {};
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return VEXA_S_OK;
    if (error || status.type() != std::filesystem::file_type::regular)
        return VEXA_SELFREG_E_CLASS;
    std::ifstream in(file);
    if (!in)
        return VEXA_SELFREG_E_CLASS;
    record = registration::parseRecord(in);
    if (in.bad())
        return VEXA_SELFREG_E_CLASS;
    return VEXA_S_OK;
}

std::string renderRecord(const registration::Record& record) {
    std::string text;
    for (const std::string& line : record.preamble)
        text += line + '\n';
    for (const registration::Section& section : record.sections) {
        text += '[' + section.name + "]\n";
        for (const std::string& line : section.lines)
            text += line + '\n';
    }
    return text;
}

VexaStatus replaceFileAtomically(const std::filesystem::path& file, const std::string& content) {
    const std::filesystem::path dir = file.parent_path();
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error)
        return VEXA_SELFREG_E_CLASS;

    std::string name = file.string() + ".XXXXXX";
    std::vector<char> temporary(name.begin(), name.end());
    temporary.push_back('\0');
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return VEXA_SELFREG_E_CLASS;
    bool ok = writeAll(fd, content) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = std::rename(temporary.data(), file.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.data());
        return VEXA_SELFREG_E_CLASS;
    }
    syncDirectory(dir);
    return VEXA_S_OK;
}

} // namespace vexacalc::detail

// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user registration record, written into a temporary configuration directory.
#include "calc_test_support.h"

#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;
using calctest::ScopedEnv;
using calctest::TempDir;

std::string readFile(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string builtLibrary() {
    char real[PATH_MAX];
    return ::realpath(VEXA_LIBRARY_PATH, real) ? real : "";
}

// Caps the size of files this process writes, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

class Registration : public ::testing::Test {
protected:
    fs::path record() const { return config_.path() / "VexaCalculate00" / "registration.ini"; }

    TempDir config_;
    ScopedEnv xdg_{"XDG_CONFIG_HOME", config_.path().string()};
};

TEST_F(Registration, RecordsEveryClassWithThisLibrary) {
    ASSERT_EQ(DllRegisterServer(), VEXA_S_OK);
    ASSERT_TRUE(fs::is_regular_file(record()));
    const std::string library = builtLibrary();
    ASSERT_FALSE(library.empty());

    const VexaGuid* classes[] = {&VEXA_CLSID_GenericCalculations, &VEXA_CLSID_Code0,
                                 &VEXA_CLSID_Code1, &VEXA_CLSID_Code5, &VEXA_CLSID_Code9};
    for (const VexaGuid* clsid : classes)
        EXPECT_EQ(vexacalc::LookupClassLibrary(*clsid).value_or("<none>"), library);

    const std::string text = readFile(record());
    EXPECT_NE(text.find("[{09D5599F-13D0-11D5-AB6C-00C04F7E5BFB}]\n"
                        "Class=Code0\n"
                        "ProgID=VexaCalculateDLL.Code0\n"
                        "Interface={09D5599E-13D0-11D5-AB6C-00C04F7E5BFB}\n"
                        "Library=" +
                        library +
                        "\n"
                        "TypeLibrary={09D5599B-13D0-11D5-AB6C-00C04F7E5BFB}\n"
                        "TypeLibraryVersion=1.0\n"
                        "TypeLibraryLocale=0x0409\n"
                        "ThreadingModel=Both\n"),
              std::string::npos)
        << text;

    char path[PATH_MAX];
    ASSERT_EQ(VexaCalculate00_LookupClass(&VEXA_CLSID_Code0, path, sizeof path), VEXA_S_OK);
    EXPECT_EQ(path, library);
    EXPECT_EQ(VexaCalculate00_LookupClass(&VEXA_CLSID_Code0, path, library.size()),
              VEXA_E_NOT_SUFFICIENT_BUFFER);
    EXPECT_EQ(VexaCalculate00_LookupClass(&VEXA_IID_Code0, path, sizeof path),
              VEXA_REGDB_E_CLASSNOTREG);
}

TEST_F(Registration, RegisteringAgainReplacesAndOtherEntriesSurvive) {
    fs::create_directories(record().parent_path());
    std::ofstream(record()) << "; kept\n[{11111111-2222-3333-4444-555555555555}]\nLibrary=/x.so\n"
                            << "[{09d5599f-13d0-11d5-ab6c-00c04f7e5bfb}]\nLibrary=/stale.so\n";
    ASSERT_EQ(DllRegisterServer(), VEXA_S_OK);
    ASSERT_EQ(DllRegisterServer(), VEXA_S_OK);
    const std::string text = readFile(record());
    EXPECT_EQ(text.find("/stale.so"), std::string::npos);
    size_t sections = 0;
    for (size_t at = text.find("\n["); at != std::string::npos; at = text.find("\n[", at + 1))
        ++sections;
    EXPECT_EQ(sections, 12u) << text;
    EXPECT_EQ(vexacalc::LookupClassLibrary(VEXA_CLSID_Code0), builtLibrary());

    ASSERT_EQ(DllUnregisterServer(), VEXA_S_OK);
    EXPECT_EQ(readFile(record()),
              "; kept\n[{11111111-2222-3333-4444-555555555555}]\nLibrary=/x.so\n");
    EXPECT_FALSE(vexacalc::LookupClassLibrary(VEXA_CLSID_Code0).has_value());
}

TEST_F(Registration, UnregisteringRemovesTheRecord) {
    EXPECT_EQ(DllUnregisterServer(), VEXA_S_OK) << "nothing registered is not an error";
    ASSERT_EQ(DllRegisterServer(), VEXA_S_OK);
    ASSERT_EQ(DllUnregisterServer(), VEXA_S_OK);
    EXPECT_FALSE(fs::exists(record()));
    char path[PATH_MAX];
    EXPECT_EQ(VexaCalculate00_LookupClass(&VEXA_CLSID_Code0, path, sizeof path),
              VEXA_REGDB_E_CLASSNOTREG);
}

TEST_F(Registration, FailuresLeaveNothingHalfWritten) {
    // The folder cannot be created: a file is in the way.
    std::ofstream(config_.path() / "VexaCalculate00") << "not a folder";
    EXPECT_EQ(DllRegisterServer(), VEXA_SELFREG_E_CLASS);
    EXPECT_EQ(DllUnregisterServer(), VEXA_S_OK) << "nothing can be registered there";
    EXPECT_EQ(readFile(config_.path() / "VexaCalculate00"), "not a folder");
    fs::remove(config_.path() / "VexaCalculate00");

    // The record cannot be read: a folder is in its place.
    fs::create_directories(record() / "inside");
    EXPECT_EQ(DllRegisterServer(), VEXA_SELFREG_E_CLASS);
    EXPECT_TRUE(fs::is_directory(record() / "inside"));
    fs::remove_all(record());

    // The disk fills up while the new record is written: the old one stays whole.
    std::ofstream(record()) << "; old\n[{11111111-2222-3333-4444-555555555555}]\nLibrary=/x.so\n";
    const std::string before = readFile(record());
    {
        FileSizeLimit limit(64);
        EXPECT_EQ(DllRegisterServer(), VEXA_SELFREG_E_CLASS);
    }
    EXPECT_EQ(readFile(record()), before);
    for (const auto& entry : fs::directory_iterator(record().parent_path()))
        EXPECT_EQ(entry.path(), record()) << "temporary file left behind";
}

TEST(RegistrationLocation, FollowsTheConfigurationDirectoryRules) {
    TempDir home;
    ScopedEnv homeVar("HOME", home.path().string());
    TempDir work; // a wrongly used relative path lands here, not in the source tree
    const fs::path previous = fs::current_path();
    fs::current_path(work.path());
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "relative/dir"); // not absolute: ignored
        EXPECT_EQ(DllRegisterServer(), VEXA_S_OK);
        EXPECT_TRUE(fs::exists(home.path() / ".config/VexaCalculate00/registration.ini"));
        EXPECT_FALSE(fs::exists(work.path() / "relative"));
    }
    fs::current_path(previous);
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);
        EXPECT_EQ(vexacalc::LookupClassLibrary(VEXA_CLSID_Code0), builtLibrary());
        ScopedEnv noHome("HOME", std::nullopt);
        EXPECT_EQ(DllRegisterServer(), VEXA_SELFREG_E_CLASS);
        EXPECT_FALSE(vexacalc::LookupClassLibrary(VEXA_CLSID_Code0).has_value());
    }
}

} // namespace

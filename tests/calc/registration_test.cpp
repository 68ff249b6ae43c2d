// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user registration record, written into a temporary configuration
// directory, and binding through it the way the evaluation program does.
#include "calc_test_support.h"

#include <algorithm>
#include <climits>
#include <csignal>
#include <dlfcn.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;
using calctest::ScopedEnv;

std::string readFile(const fs::path& file) {
    std::stringstream text;
    text << std::ifstream(file).rdbuf();
    return text.str();
}

std::string builtLibrary() {
    char real[PATH_MAX];
    return ::realpath(VEXA_LIBRARY_PATH, real) ? real : "";
}

class Registration : public ::testing::Test {
protected:
    ~Registration() override { fs::remove_all(config_); }
    fs::path record() const { return config_ / "VexaCalculate00" / "registration.ini"; }

    const fs::path config_ = [] { // a fresh configuration directory for each test
        std::string dir = (fs::temp_directory_path() / "calc-XXXXXX").string();
        return fs::path(::mkdtemp(dir.data()));
    }();
    ScopedEnv xdg_{"XDG_CONFIG_HOME", config_.string()};
};

// The program resolves Code0 through the record, loads that file and calls Misc2.
TEST_F(Registration, RecordsEveryClassAndTheProgramLoadsCode0ThroughIt) {
    ASSERT_EQ(DllRegisterServer(), VEXA_S_OK);
    const std::string library = builtLibrary();
    ASSERT_FALSE(library.empty());
    for (const VexaGuid* clsid :
         {&VEXA_CLSID_GenericCalculations, &VEXA_CLSID_Code1, &VEXA_CLSID_Code5, &VEXA_CLSID_Code9})
        EXPECT_EQ(vexacalc::LookupClassLibrary(*clsid).value_or("<none>"), library);
    const std::string text = readFile(record());
    EXPECT_NE(text.find("[{09D5599F-13D0-11D5-AB6C-00C04F7E5BFB}]\nClass=Code0\n"
                        "ProgID=VexaCalculateDLL.Code0\n"
                        "Interface={09D5599E-13D0-11D5-AB6C-00C04F7E5BFB}\nLibrary=" +
                        library +
                        "\nTypeLibrary={09D5599B-13D0-11D5-AB6C-00C04F7E5BFB}\n"
                        "TypeLibraryVersion=1.0\nTypeLibraryLocale=0x0409\nThreadingModel=Both\n"),
              std::string::npos)
        << text;
    char path[PATH_MAX];
    EXPECT_EQ(VexaCalculate00_LookupClass(&VEXA_CLSID_Code0, path, library.size()),
              VEXA_E_NOT_SUFFICIENT_BUFFER);
    EXPECT_EQ(VexaCalculate00_LookupClass(&VEXA_IID_Code0, path, sizeof path),
              VEXA_REGDB_E_CLASSNOTREG);
    ASSERT_EQ(VexaCalculate00_LookupClass(&VEXA_CLSID_Code0, path, sizeof path), VEXA_S_OK);
    EXPECT_EQ(path, library);

    const std::unique_ptr<void, int (*)(void*)> loaded(::dlopen(path, RTLD_NOW), ::dlclose);
    ASSERT_NE(loaded, nullptr) << ::dlerror();
    auto getClassObject =
        reinterpret_cast<VexaDllGetClassObjectFn>(::dlsym(loaded.get(), "DllGetClassObject"));
    ASSERT_NE(getClassObject, nullptr);
    auto* code0 = calctest::create<VexaCode>(VEXA_CLSID_Code0, VEXA_IID_Code0, getClassObject);
    ASSERT_NE(code0, nullptr);
    float result = 0; // the reading as the only pointer value, PointerType 0
    ASSERT_EQ(code0->vtbl->Misc2(code0, 0, 0, 201, 0, 0, 0, 0, 0, 0, 0, VEXA_TRUE, &result),
              VEXA_S_OK);
    EXPECT_EQ(result, -55.0f);
    EXPECT_EQ(code0->vtbl->Release(code0), 0u);
}

TEST_F(Registration, RegisteringAgainReplacesAndOtherEntriesSurvive) {
    EXPECT_EQ(DllUnregisterServer(), VEXA_S_OK) << "nothing registered is not an error";
    ASSERT_EQ(DllRegisterServer(), VEXA_S_OK);
    ASSERT_EQ(DllUnregisterServer(), VEXA_S_OK);
    EXPECT_FALSE(fs::exists(record())) << "an emptied record goes away";

    const std::string foreign = "; kept\n[{11111111-2222-3333-4444-555555555555}]\nLibrary=/x.so\n";
    std::ofstream(record()) << foreign << "[{09d5599f-13d0-11d5-ab6c-00c04f7e5bfb}]\n"
                            << "Library=/stale.so\n";
    ASSERT_EQ(DllRegisterServer(), VEXA_S_OK);
    ASSERT_EQ(DllRegisterServer(), VEXA_S_OK);
    const std::string text = readFile(record());
    EXPECT_EQ(text.find("/stale.so"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '['), 12) << "one section per class, one other";
    EXPECT_EQ(vexacalc::LookupClassLibrary(VEXA_CLSID_Code0), builtLibrary());

    ASSERT_EQ(DllUnregisterServer(), VEXA_S_OK);
    EXPECT_EQ(readFile(record()), foreign);
    char path[PATH_MAX];
    EXPECT_EQ(VexaCalculate00_LookupClass(&VEXA_CLSID_Code0, path, sizeof path),
              VEXA_REGDB_E_CLASSNOTREG);
}

TEST_F(Registration, FailuresLeaveNothingHalfWritten) {
    // The folder cannot be created: a file is in the way.
    std::ofstream(config_ / "VexaCalculate00") << "not a folder";
    EXPECT_EQ(DllRegisterServer(), VEXA_SELFREG_E_CLASS);
    EXPECT_EQ(DllUnregisterServer(), VEXA_S_OK) << "nothing can be registered there";
    EXPECT_EQ(readFile(config_ / "VexaCalculate00"), "not a folder");
    fs::remove(config_ / "VexaCalculate00");

    // The record cannot be read: a folder is in its place.
    fs::create_directories(record() / "inside");
    EXPECT_EQ(DllRegisterServer(), VEXA_SELFREG_E_CLASS);
    EXPECT_TRUE(fs::is_directory(record() / "inside"));
    fs::remove_all(record());

    // The disk fills up while the new record is written: the old one stays whole.
    std::ofstream(record()) << "; old\n[{11111111-2222-3333-4444-555555555555}]\nLibrary=/x.so\n";
    const std::string before = readFile(record());
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 64; // files this process writes are capped, as a full disk would
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_EQ(DllRegisterServer(), VEXA_SELFREG_E_CLASS);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(readFile(record()), before);
    for (const auto& entry : fs::directory_iterator(record().parent_path()))
        EXPECT_EQ(entry.path(), record()) << "temporary file left behind";
}

// A relative XDG_CONFIG_HOME is ignored for $HOME/.config; without either nothing is registered.
TEST_F(Registration, FollowsTheConfigurationDirectoryRules) {
    ScopedEnv home("HOME", config_.string());
    const fs::path previous = fs::current_path();
    fs::current_path(config_); // where a wrongly used relative path would land
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "relative");
        EXPECT_EQ(DllRegisterServer(), VEXA_S_OK);
    }
    fs::current_path(previous);
    EXPECT_TRUE(fs::exists(config_ / ".config/VexaCalculate00/registration.ini"));
    EXPECT_FALSE(fs::exists(config_ / "relative"));
    ScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(vexacalc::LookupClassLibrary(VEXA_CLSID_Code0), builtLibrary());
    ScopedEnv noHome("HOME", std::nullopt);
    EXPECT_EQ(DllRegisterServer(), VEXA_SELFREG_E_CLASS);
    EXPECT_FALSE(vexacalc::LookupClassLibrary(VEXA_CLSID_Code0).has_value());
}

} // namespace

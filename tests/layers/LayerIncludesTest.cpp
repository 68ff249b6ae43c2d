// SPDX-License-Identifier: GPL-3.0-or-later
// Reads every #include of calc/ and src/ and checks it against the layer rule:
//   gui/shell -> gui/<windows> -> gui/services and gui/widgets -> boards -> core,
//   cli -> boards -> core, calc alone.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

// The folder a file of the tree belongs to, as the rule knows it: "calc", "core", "boards/sim",
// "boards/linux", "cli", "gui/<folder>".
std::string layerOf(const std::string& path) {
    if (startsWith(path, "calc/")) {
        return "calc";
    }
    static const std::regex pattern(R"(^src/((?:gui|boards)/[^/]+|core|cli)/)");
    std::smatch match;
    if (std::regex_search(path, match, pattern)) {
        return match[1];
    }
    return {};
}

const std::vector<std::string> windowFolders = {"link",  "reglist", "board",   "wizards",
                                                "views", "map",     "journal", "events"};

bool isWindowFolder(const std::string& layer) {
    for (const std::string& folder : windowFolders) {
        if (layer == "gui/" + folder) {
            return true;
        }
    }
    return false;
}

// Why `include` (a quoted include) may not appear in a file of `file`'s folder; empty when it may.
std::string violation(const std::string& file, const std::string& include, bool angled) {
    const std::string layer = layerOf(file);
    const bool ours = startsWith(include, "core/") || startsWith(include, "boards/") ||
                      startsWith(include, "gui/") || startsWith(include, "cli/");
    if (layer == "calc") {
        if (ours) {
            return "the calculation library includes nothing of the program";
        }
        if (angled && (startsWith(include, "Q") || startsWith(include, "qcustomplot"))) {
            return "the calculation library does not use Qt";
        }
        return {};
    }
    if (angled) {
        if (layer == "core" && startsWith(include, "QtWidgets")) {
            return "core is Qt Core only";
        }
        return {};
    }
    if (!ours) {
        return {};
    }
    auto allowed = [&](std::initializer_list<const char*> prefixes) {
        for (const char* prefix : prefixes) {
            if (startsWith(include, prefix)) {
                return true;
            }
        }
        return false;
    };
    if (layer == "core") {
        return allowed({"core/"}) ? "" : "core includes only core";
    }
    if (layer == "boards/linux") {
        return allowed({"core/", "boards/linux/"}) ? "" : "boards/linux includes only core";
    }
    if (layer == "boards/sim") {
        return allowed({"core/", "boards/"}) ? "" : "boards include no gui and no cli";
    }
    if (layer == "cli") {
        return allowed({"core/", "boards/", "cli/"}) ? "" : "cli includes no gui";
    }
    if (layer == "gui/widgets") {
        return allowed({"gui/widgets/"}) ? "" : "widgets include no chip code and no window";
    }
    if (layer == "gui/services") {
        return allowed({"core/", "gui/services/"}) ? "" : "services include no window and no shell";
    }
    if (layer == "gui/shell") {
        return {};
    }
    if (isWindowFolder(layer)) {
        const std::string own = layer + "/";
        return allowed({"core/", "gui/services/", "gui/widgets/", own.c_str()})
                   ? ""
                   : "a window includes no board, no shell and no other window folder";
    }
    return "the folder " + layer + " has no layer rule";
}

struct Include {
    std::string file;
    int line;
    std::string target;
    bool angled;
};

std::vector<Include> includesOf(const fs::path& root) {
    static const std::regex pattern(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> found;
    for (const char* top : {"calc", "src"}) {
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            const std::string extension = entry.path().extension().string();
            if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h" &&
                                             extension != ".hpp" && extension != ".c")) {
                continue;
            }
            std::ifstream in(entry.path());
            std::string text;
            int number = 0;
            while (std::getline(in, text)) {
                ++number;
                std::smatch match;
                if (std::regex_search(text, match, pattern)) {
                    found.push_back({fs::relative(entry.path(), root).generic_string(), number,
                                     match[2], match[1] == "<"});
                }
            }
        }
    }
    return found;
}

TEST(LayerIncludes, EveryIncludeOfTheTreeFollowsTheRule) {
    const std::vector<Include> includes = includesOf(QMF_SOURCE_DIR);
    ASSERT_GT(includes.size(), 500u) << "the tree was not found at " << QMF_SOURCE_DIR;
    for (const Include& include : includes) {
        const std::string why = violation(include.file, include.target, include.angled);
        EXPECT_TRUE(why.empty()) << include.file << ":" << include.line << ": includes "
                                 << include.target << ": " << why;
    }
}

struct RuleCase {
    const char* file;
    const char* include;
    bool angled;
    bool allowed;
};

void PrintTo(const RuleCase& c, std::ostream* out) {
    *out << c.file << " <- " << c.include;
}

class LayerRule : public testing::TestWithParam<RuleCase> {};

TEST_P(LayerRule, Verdict) {
    const RuleCase& c = GetParam();
    EXPECT_EQ(violation(c.file, c.include, c.angled).empty(), c.allowed)
        << c.file << " including " << c.include;
}

INSTANTIATE_TEST_SUITE_P(
    Planted, LayerRule,
    testing::Values(RuleCase{"src/core/chip/A.cpp", "core/text/NumberText.h", false, true},
                    RuleCase{"src/core/chip/A.cpp", "boards/sim/SimulatedBoard.h", false, false},
                    RuleCase{"src/core/chip/A.cpp", "gui/services/AppContext.h", false, false},
                    RuleCase{"src/core/chip/A.cpp", "QtWidgets/QWidget", true, false},
                    RuleCase{"src/boards/linux/A.cpp", "boards/sim/SimulatedBoard.h", false, false},
                    RuleCase{"src/boards/sim/A.cpp", "boards/linux/BusTiming.h", false, true},
                    RuleCase{"src/boards/sim/A.cpp", "gui/widgets/RoundGauge.h", false, false},
                    RuleCase{"src/cli/A.cpp", "gui/services/AppContext.h", false, false},
                    RuleCase{"src/gui/services/A.cpp", "gui/views/GraphFRM.h", false, false},
                    RuleCase{"src/gui/services/A.cpp", "gui/shell/frmMain.h", false, false},
                    RuleCase{"src/gui/link/A.cpp", "gui/shell/frmMain.h", false, false},
                    RuleCase{"src/gui/link/A.cpp", "gui/views/GraphFRM.h", false, false},
                    RuleCase{"src/gui/link/A.cpp", "boards/sim/SimulatedBoard.h", false, false},
                    RuleCase{"src/gui/link/A.cpp", "gui/link/WizardPicture.h", false, true},
                    RuleCase{"src/gui/views/A.cpp", "gui/widgets/StripChart.h", false, true},
                    RuleCase{"src/gui/widgets/A.cpp", "core/chip/SharedState.h", false, false},
                    RuleCase{"src/gui/shell/A.cpp", "gui/views/GraphFRM.h", false, true},
                    RuleCase{"src/gui/shell/A.cpp", "boards/sim/SimulatedBoard.h", false, true},
                    RuleCase{"calc/src/A.cpp", "core/text/Rounding.h", false, false},
                    RuleCase{"calc/src/A.cpp", "QString", true, false},
                    RuleCase{"calc/src/A.cpp", "VexaCalculate00/types.h", false, true},
                    RuleCase{"src/gui/newfolder/A.cpp", "core/chip/SharedState.h", false, false}));

} // namespace

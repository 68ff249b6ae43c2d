// SPDX-License-Identifier: GPL-3.0-or-later
// The documents that describe the programs stay in step with them: the man pages list the options
// and commands that --help lists, the shell completion offers them, and the desktop entry and
// metainfo pass the freedesktop validators.
#include "PackagingSupport.h"

#include <QDir>
#include <QTemporaryDir>

namespace qmf::packaging {
namespace {

const QString Bin = QStringLiteral(QMF_BUILD_BIN);
const QString ManDir = QStringLiteral(QMF_MAN_DIR);
const QString Packaging = QStringLiteral(QMF_PACKAGING_DIR);

QString help(const QString& program, const QStringList& arguments = {"--help"}) {
    const Outcome r = run(Bin + u'/' + program, arguments);
    EXPECT_EQ(r.exitCode, 0) << r.both().toStdString();
    return r.out;
}

QString setText(const std::set<QString>& items) {
    return QStringList(items.begin(), items.end()).join(u' ');
}

const QStringList CtlCommands = {"detect",  "get",     "set",   "dump",  "load", "autoset",
                                 "monitor", "heaters", "sleep", "batch", "scan", "trace-check"};

TEST(ManPages, ListTheOptionsAndCommandsThatHelpLists) {
    const QString evalPage = readText(ManDir + QStringLiteral("/qmf4150eval.1"));
    const QString evalHelp = help(QStringLiteral("qmf4150eval"));
    EXPECT_TRUE(evalHelp.startsWith(QStringLiteral("Usage: qmf4150eval [options]\n")))
        << "the program's name, not the path it was started by";
    EXPECT_EQ(setText(manOptions(evalPage)["OPTIONS"]), setText(helpOptions(evalHelp)));

    const QString ctlPage = readText(ManDir + QStringLiteral("/qmf4150ctl.1"));
    const QString ctlHelp = help(QStringLiteral("qmf4150ctl"));
    const auto options = manOptions(ctlPage);
    EXPECT_EQ(setText(options.at("OPTIONS")), setText(helpOptions(ctlHelp, "Arguments")));
    const std::set<QString> commands = helpCommands(ctlHelp);
    EXPECT_EQ(setText(manCommands(ctlPage)), setText(commands));
    EXPECT_GE(commands.size(), 10u) << ctlHelp.toStdString();
    // Each command's own options; every command takes --help, which the page says once.
    for (const QString& command : commands) {
        SCOPED_TRACE(command.toStdString());
        std::set<QString> own =
            helpOptions(help(QStringLiteral("qmf4150ctl"), {command, "--help"}));
        EXPECT_EQ(own.erase(QStringLiteral("--help")), 1u);
        const auto page = options.find(QStringLiteral("COMMANDS/") + command);
        EXPECT_EQ(page == options.end() ? QString() : setText(page->second), setText(own));
    }
}

TEST(ManPages, RenderWithoutWarnings) {
    for (const char* page : {"qmf4150eval.1", "qmf4150ctl.1"}) {
        SCOPED_TRACE(page);
        const Outcome r =
            run(QStringLiteral("man"),
                {"--warnings", "-E", "UTF-8", "-l", ManDir + u'/' + QLatin1String(page)},
                {"MANWIDTH=80", "MANPAGER=cat", "PAGER=cat", "LC_ALL=C.UTF-8"});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.err, QString()) << "groff's warnings";
        EXPECT_TRUE(r.out.contains(QStringLiteral("SYNOPSIS"))) << r.out.toStdString();
        EXPECT_FALSE(r.out.contains(u'@')) << "every placeholder was filled in";
    }
}

// What the completion offers for the words typed so far ("" is the word being completed).
class Completion : public ::testing::Test {
protected:
    Completion() {
        QDir(dir.path()).mkpath(QStringLiteral("sub"));
        for (const QString& file :
             {dir.filePath("a.dat"), dir.filePath("b.xls"), dir.filePath("c.txt"),
              dir.filePath("e.csv"), dir.filePath("sub/d.dat"), dev.filePath("i2c-0"),
              dev.filePath("i2c-7"), dev.filePath("ttyS0")}) {
            QFile f(file);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << file.toStdString();
        }
    }
    QString complete(const QString& typed) const {
        const Outcome r = bash(QStringLiteral(R"(source "$QMF_COMPLETION"; _qmf4150ctl_dev=$QMF_DEV
read -ra COMP_WORDS <<< "$QMF_TYPED"
COMP_WORDS=(qmf4150ctl "${COMP_WORDS[@]}")
[[ -z $QMF_TYPED || $QMF_TYPED == *' ' ]] && COMP_WORDS+=("")
COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
_qmf4150ctl
printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')"),
                               {"QMF_COMPLETION=" + Packaging + "/qmf4150ctl.bash",
                                "QMF_TYPED=" + typed, "QMF_DEV=" + dev.path()},
                               dir.path());
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return r.out.trimmed().replace(dev.path(), QStringLiteral("/dev"));
    }
    QTemporaryDir dir, dev;
};

TEST_F(Completion, OffersCommandsOptionsFilesAndAdapters) {
    const struct {
        const char* typed; // the last word is the one completed; a trailing blank starts a new one
        const char* offered;
    } cases[] = {
        {"",
         "adapters autoset batch detect diff dump get heaters journal load monitor scan serve set "
         "sleep trace-check"},
        {"--si", "--sim-fail-transfer --sim-smbus-address --sim-state --simulate"},
        {"--sim-fail-transfer 3 ",
         "adapters autoset batch detect diff dump get heaters journal load monitor scan serve set "
         "sleep trace-check"},
        {"--sim-smbus-address 5E ",
         "adapters autoset batch detect diff dump get heaters journal load monitor scan serve set "
         "sleep trace-check"},
        {"--simulate d", "detect diff dump"},
        {"--simulate --pin-level --trace ", "sub"},
        {"--trace t.vcd --st", "--stats"},
        {"trace-check ", "sub"},
        {"trace-check --", "--help --scl --sda"},
        {"--smbus ", "/dev/i2c-0 /dev/i2c-7"},
        {"--smbus /dev/i2c-7 get ", ""},
        {"--simulate dump ", "a.dat sub"},
        {"load sub/", "sub/d.dat"},
        {"diff ", "a.dat sub"},
        {"diff --", "--all --help"},
        {"monitor --log ", "b.xls e.csv sub"},
        {"monitor --", "--count --events --help --interval --log"},
        {"serve --", "--board-name --help --interval --listen"},
        {"serve --listen ", ""},
        {"set 1 FF --", "--help --mask"},
        {"--port 0 heaters ", "off on"},
        {"heaters on ", "1 2"},
        {"batch ", "a.dat b.xls c.txt e.csv sub"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(complete(QLatin1String(c.typed)), QLatin1String(c.offered)) << c.typed;
    }
}

// The completion's lists are the tool's own: every command, every option of --help.
TEST_F(Completion, KnowsEveryCommandAndOptionOfTheTool) {
    const QString ctlHelp = help(QStringLiteral("qmf4150ctl"));
    EXPECT_EQ(complete(QString()), setText(helpCommands(ctlHelp)));
    EXPECT_EQ(complete(QStringLiteral("-")), setText(helpOptions(ctlHelp, "Arguments")));
    for (const QString& command : helpCommands(ctlHelp)) {
        EXPECT_EQ(complete(command + QStringLiteral(" -")),
                  setText(helpOptions(help(QStringLiteral("qmf4150ctl"), {command, "--help"}))))
            << command.toStdString();
    }
}

TEST(DesktopFiles, PassTheFreedesktopValidators) {
    const struct {
        const char* tool;
        QStringList arguments;
    } checks[] = {
        {"desktop-file-validate", {Packaging + "/org.qmf4150.eval.desktop"}},
        {"appstreamcli", {"validate", "--no-net", Packaging + "/org.qmf4150.eval.metainfo.xml"}},
    };
    for (const auto& check : checks) {
        const Outcome r = run(QLatin1String(check.tool), check.arguments);
        EXPECT_EQ(r.exitCode, 0) << check.tool << ": " << r.both().toStdString();
        EXPECT_FALSE(r.both().contains(QStringLiteral("warning"), Qt::CaseInsensitive))
            << r.both().toStdString();
    }
    const QString entry = readText(Packaging + "/org.qmf4150.eval.desktop");
    for (const char* line :
         {"Categories=Development;Electronics;", "Icon=org.qmf4150.eval", "Exec=qmf4150eval\n"}) {
        EXPECT_TRUE(entry.contains(QLatin1String(line))) << line;
    }
    const QString metainfo = readText(Packaging + "/org.qmf4150.eval.metainfo.xml");
    for (const char* element : {"<screenshot type=\"default\">", "<description>",
                                "<launchable type=\"desktop-id\">org.qmf4150.eval.desktop<"}) {
        EXPECT_TRUE(metainfo.contains(QLatin1String(element))) << element;
    }
}

} // namespace
} // namespace qmf::packaging

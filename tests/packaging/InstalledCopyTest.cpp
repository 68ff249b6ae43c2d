// SPDX-License-Identifier: GPL-3.0-or-later
// The installed program as a packager and a user get it, twice: from `cmake --install` into a
// scratch root and from the Debian package unpacked into another. Each must give a program whose
// Start Graphs draws temperatures with no registration record, a tool that finds the simulated
// chips, and a library that C and C++ clients build against with pkg-config or find_package.
#include "PackagingSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <VexaCalculate00/VexaCalculate00.h>
#include <dlfcn.h>

namespace qmf::packaging {
namespace {

const QString Prefix = QStringLiteral(QMF_INSTALL_PREFIX);
const QString LibDir = QStringLiteral(QMF_INSTALL_FULL_LIBDIR);
const QString DocDir = QStringLiteral(QMF_INSTALL_FULL_DOCDIR);
const QString SystemRecord =
    QStringLiteral(QMF_INSTALL_FULL_SYSCONFDIR) + "/xdg/VexaCalculate00/registration.ini";

struct Copy {
    const char* name;
    const char* root;
};
void PrintTo(const Copy& copy, std::ostream* out) {
    *out << copy.name;
}

class Installed : public ::testing::TestWithParam<Copy> {
protected:
    QString root() const { return QLatin1String(GetParam().root); }
    QString at(const QString& path) const { return root() + path; }
    Outcome program(const char* name, const QStringList& arguments,
                    const QStringList& environment = {}) const {
        return run(at(Prefix + "/bin/" + QLatin1String(name)), arguments,
                   environment + QStringList{"QT_QPA_PLATFORM=offscreen"}, scratch.path());
    }
    // Neither a per-user nor a system-wide registration record of the machine counts.
    QStringList noRecords() const {
        return {"XDG_CONFIG_HOME=" + scratch.filePath("config"),
                "XDG_CONFIG_DIRS=" + scratch.filePath("xdg")};
    }
    QTemporaryDir scratch;
};

TEST_P(Installed, EveryFileIsInItsPlace) {
    const QString lib = LibDir + "/libVexaCalculate00.so";
    const QString share = Prefix + "/share";
    for (const QString& file :
         {Prefix + "/bin/qmf4150eval",
          Prefix + "/bin/qmf4150ctl",
          lib + ".1.0.0",
          lib + ".1",
          lib,
          Prefix + "/include/VexaCalculate00/VexaCalculate00.h",
          Prefix + "/include/VexaCalculate00/registration.hpp",
          LibDir + "/pkgconfig/VexaCalculate00.pc",
          LibDir + "/cmake/VexaCalculate00/VexaCalculate00Config.cmake",
          LibDir + "/cmake/VexaCalculate00/VexaCalculate00ConfigVersion.cmake",
          SystemRecord,
          DocDir + "/README.md",
          DocDir + "/hardware.md",
          DocDir + "/register-map-and-journal.md",
          DocDir + "/images/journal.png",
          DocDir + "/LICENSE",
          DocDir + "/copyright",
          share + "/applications/org.qmf4150.eval.desktop",
          share + "/icons/hicolor/scalable/apps/org.qmf4150.eval.svg",
          share + "/metainfo/org.qmf4150.eval.metainfo.xml",
          share + "/man/man1/qmf4150eval.1.gz",
          share + "/man/man1/qmf4150ctl.1.gz",
          share + "/bash-completion/completions/qmf4150ctl",
          Prefix + "/lib/udev/rules.d/60-qmf4150.rules",
          Prefix + "/lib/modules-load.d/qmf4150.conf"}) {
        EXPECT_TRUE(QFileInfo(at(file)).isFile()) << file.toStdString();
    }
    // The SONAME and development names are links to the one library file.
    for (const QString& link : {lib + ".1", lib}) {
        EXPECT_TRUE(QFileInfo(at(link)).isSymLink()) << link.toStdString();
        EXPECT_EQ(QFileInfo(at(link)).canonicalFilePath(),
                  QFileInfo(at(lib + ".1.0.0")).canonicalFilePath());
    }
    const QString rule = readText(at(Prefix + "/lib/udev/rules.d/60-qmf4150.rules"));
    for (const char* line : {"SUBSYSTEM==\"i2c-dev\", KERNEL==\"i2c-[0-9]*\", GROUP=\"i2c\", "
                             "MODE=\"0660\"\n",
                             "SUBSYSTEM==\"ppdev\", KERNEL==\"parport[0-9]*\", GROUP=\"lp\", "
                             "MODE=\"0660\"\n"}) {
        EXPECT_TRUE(rule.contains(QLatin1String(line))) << line;
    }
    EXPECT_TRUE(readText(at(Prefix + "/lib/modules-load.d/qmf4150.conf"))
                    .endsWith(QStringLiteral("\ni2c-dev\nppdev\n")));
}

TEST_P(Installed, ToolDetectsTheSimulatedChipsAndProgramTellsItsVersion) {
    const Outcome detect = program("qmf4150ctl", {"--simulate", "detect"});
    EXPECT_EQ(detect.exitCode, 0) << detect.err.toStdString();
    EXPECT_EQ(detect.out, QStringLiteral("Found an QMF4150 at:5Eh, on printer port:378h\n"
                                         "An QMF4150 was found at:5Ch, on the SMBus\n"));
    const Outcome version = program("qmf4150eval", {"--version"});
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
    EXPECT_EQ(version.out, QStringLiteral("QMF4150 Evaluation Software " QMF_VERSION "\n"));
    EXPECT_TRUE(program("qmf4150eval", {"--help"}).out.startsWith("Usage: qmf4150eval [options]"));
}

// Start Graphs on the simulated board, with no registration record, then behind a stale per-user
// record and the package's own system-wide one (which names the library where a real
// installation has it, not in this scratch root).
TEST_P(Installed, StartGraphsDrawsTemperaturesWithTheInstalledLibrary) {
    QDir(scratch.path()).mkpath("stale/VexaCalculate00");
    QFile stale(scratch.filePath("stale/VexaCalculate00/registration.ini"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("[{09D5599F-13D0-11D5-AB6C-00C04F7E5BFB}]\nLibrary=/gone/libVexaCalculate00.so\n");
    stale.close();
    const QStringList withRecords = {"XDG_CONFIG_HOME=" + scratch.filePath("stale"),
                                     "XDG_CONFIG_DIRS=" +
                                         at(QFileInfo(SystemRecord).path() + "/..")};
    for (const QStringList& environment : {noRecords(), withRecords}) {
        SCOPED_TRACE(environment.join(u' ').toStdString());
        const Outcome r = program("qmf4150eval", {"--simulate", "--self-test"}, environment);
        ASSERT_EQ(r.exitCode, 0) << r.both().toStdString();
        for (const char* trace :
             {"Internal Temperature: ", "External Temperature 0: ", "External Temperature 1: "}) {
            const qsizetype at = r.out.indexOf(QLatin1String(trace));
            ASSERT_GE(at, 0) << trace << " in " << r.out.toStdString();
            bool number = false;
            const int celsius = r.out.mid(at).section(u'\n', 0, 0).section(u' ', -1).toInt(&number);
            EXPECT_TRUE(number && celsius > 0 && celsius < 100) << r.out.toStdString();
        }
        // The installed copy, whether the loader finds it through the program's run path or
        // the program beside itself, never one of the machine or of the build.
        EXPECT_TRUE(r.out.startsWith("Calculation library: " + at(LibDir) +
                                     "/libVexaCalculate00.so.1.0.0 ("))
            << r.out.toStdString();
        EXPECT_TRUE(r.out.contains(
            "Icon: " + at(Prefix + "/share/icons/hicolor/scalable/apps/org.qmf4150.eval.svg\n")))
            << r.out.toStdString();
    }
}

// The installed record says what the installed library registers, for the installed path.
TEST_P(Installed, SystemRecordIsTheLibrarysOwnRegistrationForTheInstalledPath) {
    void* library =
        ::dlopen(QFile::encodeName(at(LibDir + "/libVexaCalculate00.so.1")).constData(), RTLD_NOW);
    ASSERT_NE(library, nullptr) << ::dlerror();
    auto reg = reinterpret_cast<VexaStatus (*)()>(::dlsym(library, "DllRegisterServer"));
    ASSERT_NE(reg, nullptr);
    const QByteArray home = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.path()));
    EXPECT_EQ(reg(), VEXA_S_OK);
    qputenv("XDG_CONFIG_HOME", home);
    ::dlclose(library);
    auto sections = [](const QString& record, QString* library) {
        QStringList kept;
        for (const QString& line : record.split(u'\n')) {
            if (line.startsWith(QStringLiteral("Library="))) {
                *library = line.mid(8);
            } else if (!line.startsWith(u'#')) {
                kept << line;
            }
        }
        return kept.join(u'\n').trimmed();
    };
    QString registered, installed;
    const QString own =
        sections(readText(scratch.filePath("VexaCalculate00/registration.ini")), &registered);
    EXPECT_EQ(sections(readText(at(SystemRecord)), &installed), own);
    EXPECT_EQ(installed, LibDir + "/libVexaCalculate00.so.1");
    EXPECT_EQ(registered, QFileInfo(at(installed)).canonicalFilePath());
    EXPECT_EQ(own.count(QStringLiteral("\nLibrary=")), 0);
    EXPECT_EQ(own.count(QStringLiteral("[{")), 11);
}

TEST_P(Installed, ClientsBuildAgainstTheInstalledLibrary) {
    const QString pkgconfig = at(LibDir + "/pkgconfig");
    const QStringList sysroot = {"PKG_CONFIG_SYSROOT_DIR=" + root(),
                                 "PKG_CONFIG_LIBDIR=" + pkgconfig, "PKG_CONFIG_PATH="};
    const Outcome flags = run("pkg-config", {"--cflags", "--libs", "VexaCalculate00"}, sysroot);
    ASSERT_EQ(flags.exitCode, 0) << flags.err.toStdString();
    EXPECT_EQ(flags.out.trimmed(),
              "-I" + at(Prefix + "/include") + " -L" + at(LibDir) + " -lVexaCalculate00");
    QStringList cc = {"-std=c11", "-Wall",
                      "-Werror",  QStringLiteral(QMF_CLIENT_DIR "/client.c"),
                      "-o",       scratch.filePath("c-client")};
    cc << flags.out.trimmed().split(u' ')
       << QString(QMF_CLIENT_FLAGS).split(u' ', Qt::SkipEmptyParts);
    const Outcome build = run("cc", cc);
    ASSERT_EQ(build.exitCode, 0) << build.both().toStdString();
    const QStringList loader = {"LD_LIBRARY_PATH=" + at(LibDir)};
    const Outcome c = run(scratch.filePath("c-client"), {}, loader);
    EXPECT_EQ(c.exitCode, 0) << c.err.toStdString();
    EXPECT_EQ(c.out, QStringLiteral("-55\n"));

    const Outcome configure =
        run(QStringLiteral(QMF_CMAKE),
            {"-S", QStringLiteral(QMF_CLIENT_DIR), "-B", scratch.filePath("cmake-client"), "-G",
             "Ninja", "-DCMAKE_PREFIX_PATH=" + at(Prefix),
             "-DCMAKE_CXX_FLAGS=" + QString(QMF_CLIENT_FLAGS)});
    ASSERT_EQ(configure.exitCode, 0) << configure.both().toStdString();
    const Outcome make =
        run(QStringLiteral(QMF_CMAKE), {"--build", scratch.filePath("cmake-client")});
    ASSERT_EQ(make.exitCode, 0) << make.both().toStdString();
    const Outcome cpp = run(scratch.filePath("cmake-client/client"), {}, loader);
    EXPECT_EQ(cpp.out, QStringLiteral("-55 {09D5599F-13D0-11D5-AB6C-00C04F7E5BFB}\n"))
        << cpp.err.toStdString();
}

TEST_P(Installed, DesktopFilesValidateAndManPagesRender) {
    const QString share = at(Prefix + "/share");
    const Outcome desktop =
        run("desktop-file-validate", {share + "/applications/org.qmf4150.eval.desktop"});
    EXPECT_EQ(desktop.exitCode, 0) << desktop.both().toStdString();
    const Outcome metainfo =
        run("appstreamcli",
            {"validate", "--no-net", share + "/metainfo/org.qmf4150.eval.metainfo.xml"});
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.both().toStdString();
    for (const char* page : {"qmf4150eval.1.gz", "qmf4150ctl.1.gz"}) {
        const Outcome man =
            run("man", {"--warnings", "-l", share + "/man/man1/" + QLatin1String(page)},
                {"MANWIDTH=80", "MANPAGER=cat", "PAGER=cat", "LC_ALL=C.UTF-8"});
        EXPECT_EQ(man.exitCode, 0) << page;
        EXPECT_EQ(man.err, QString()) << page;
        EXPECT_TRUE(man.out.contains(DocDir)) << page << ": names the installed documentation";
    }
}

INSTANTIATE_TEST_SUITE_P(Packaging, Installed,
                         ::testing::Values(Copy{"cmake_install", QMF_INSTALL_ROOT},
                                           Copy{"deb", QMF_DEB_ROOT}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace qmf::packaging

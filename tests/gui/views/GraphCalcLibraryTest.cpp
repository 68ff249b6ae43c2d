// SPDX-License-Identifier: GPL-3.0-or-later
// Where the graph window's Code0 object comes from: the calculation library found by class
// identifier through the registration records, the dynamic loader and the folders beside the
// program, in that order, past every place that cannot serve it.
#include "gui/views/CalcComponent.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <optional>

namespace qmf::test {
namespace {

class CalcLibrary : public ::testing::Test {
protected:
    CalcLibrary() {
        for (const char* folder : {"user", "system", "empty", "lib", "impostor"}) {
            QDir(dir.path()).mkpath(QLatin1String(folder));
        }
        // The library built beside the tests, under another name in a folder of this test.
        EXPECT_TRUE(QFile::link(builtLibrary(), path("lib/libVexaCalculate00.so.1")));
        // Something that loads but is not the calculation library.
        Dl_info libc{};
        EXPECT_NE(::dladdr(reinterpret_cast<void*>(&::dlopen), &libc), 0);
        EXPECT_TRUE(QFile::link(QFile::decodeName(libc.dli_fname),
                                path("impostor/libVexaCalculate00.so.1")));
    }

    static QString builtLibrary() {
        return QDir(QCoreApplication::applicationDirPath())
            .filePath(QStringLiteral("../lib/libVexaCalculate00.so.1"));
    }
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    QString record(const char* folder) const {
        return dir.filePath(QLatin1String(folder) + QStringLiteral("/registration.ini"));
    }
    // A record with a section for Code0 naming `library`, or only another class's section.
    void writeRecord(const char* folder, const QString& library, bool forCode0 = true) const {
        QFile file(record(folder));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(forCode0 ? "# registered\n[{09d5599f-13d0-11d5-ab6c-00c04f7e5bfb}]\n"
                            : "[{09D5599D-13D0-11D5-AB6C-00C04F7E5BFB}]\n");
        file.write("Class=Code0\nLibrary=" + QFile::encodeName(library) + "\n");
    }
    CalcLibrarySearch search(QStringList folders, bool loader = false) const {
        return {{record("user")}, {record("system")}, loader, std::move(folders)};
    }

    QTemporaryDir dir;
};

TEST_F(CalcLibrary, EachPlaceIsTriedInTurnPastThoseThatCannotServe) {
    const QString built = QFileInfo(builtLibrary()).canonicalFilePath();
    ASSERT_FALSE(built.isEmpty()) << "the library is built beside the tests";
    const QString gone = path("gone/libVexaCalculate00.so.1");
    const QString impostor = path("impostor/libVexaCalculate00.so.1");
    const QString lib = path("lib");
    const struct {
        const char* what;
        QString user, system; // library named in each record; empty: no record
        QStringList folders;
        QString foundBy;
    } cases[] = {
        {"the per-user record first",
         lib + "/libVexaCalculate00.so.1",
         gone,
         {},
         "per-user record " + record("user")},
        {"a stale per-user record",
         gone,
         lib + "/libVexaCalculate00.so.1",
         {},
         "system record " + record("system")},
        {"a record naming another library", impostor, {}, {lib}, "folder " + lib},
        {"no record: the first folder holding it",
         {},
         {},
         {path("empty"), lib, impostor},
         "folder " + lib},
        {"an impostor in the first folder", {}, {}, {path("impostor"), lib}, "folder " + lib},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(record("user"));
        QFile::remove(record("system"));
        if (!c.user.isEmpty()) {
            writeRecord("user", c.user);
        }
        if (!c.system.isEmpty()) {
            writeRecord("system", c.system);
        }
        const auto code0 = Code0Object::create(search(c.folders));
        EXPECT_EQ(code0->foundBy(), c.foundBy);
        EXPECT_EQ(code0->libraryPath(), built) << "links resolved";
        EXPECT_EQ(code0->Misc2(201, true), -55.0f);
    }
}

// The loader's search by SONAME finds a library the loader knows: here the one this test has
// loaded itself, as an installed one is known through the loader's cache.
TEST_F(CalcLibrary, TheLoaderFindsTheLibraryByItsSonameBeforeTheFoldersBesideTheProgram) {
    void* loaded = ::dlopen(QFile::encodeName(builtLibrary()).constData(), RTLD_NOW);
    ASSERT_NE(loaded, nullptr) << ::dlerror();
    writeRecord("user", QString(), false); // a record without Code0
    {
        const auto code0 = Code0Object::create(search({path("lib")}, true));
        EXPECT_EQ(code0->foundBy(), QStringLiteral("dynamic loader's search"));
        EXPECT_EQ(code0->libraryPath(), QFileInfo(builtLibrary()).canonicalFilePath());
        EXPECT_EQ(code0->Misc2(-55, false), 201.0f);
    }
    ::dlclose(loaded);
}

TEST_F(CalcLibrary, NoPlaceServingIsOneErrorNamingEveryPlaceTried) {
    writeRecord("user", QString(), false);
    writeRecord("system", path("gone/libVexaCalculate00.so.1"));
    try {
        Code0Object::create(search({path("empty"), path("impostor")}));
        ADD_FAILURE() << "no place holds the library";
    } catch (const CalcComponentError& e) {
        const QString what = QString::fromUtf8(e.what());
        for (const QString& says :
             {QStringLiteral("{09D5599F-13D0-11D5-AB6C-00C04F7E5BFB}"),
              "per-user record " + record("user") + ": class not registered",
              "system record " + record("system") + ": The calculation library " +
                  path("gone/libVexaCalculate00.so.1") + " could not be loaded",
              "folder " + path("empty") + ": no libVexaCalculate00.so.1",
              "folder " + path("impostor") + ": " + path("impostor/libVexaCalculate00.so.1") +
                  " is not the calculation library"}) {
            EXPECT_TRUE(what.contains(says)) << says.toStdString() << "\n in: " << e.what();
        }
    }
    // Records that do not exist are places tried too.
    QFile::remove(record("user"));
    try {
        Code0Object::create(search({}));
        ADD_FAILURE() << "no place holds the library";
    } catch (const CalcComponentError& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(record("user") + ": no such file"))
            << e.what();
    }
}

// The program's search: the records under the XDG configuration folders, then the loader, then
// <program>/../<libdir>, <program>/../lib and the program's folder.
TEST_F(CalcLibrary, TheProgramsSearchFollowsTheConfigurationFoldersAndItsOwnFolder) {
    // The variables as they were come back at the end.
    struct Saved {
        const char* name;
        std::optional<QByteArray> value;
        explicit Saved(const char* variable) : name(variable) {
            if (qEnvironmentVariableIsSet(name)) {
                value = qgetenv(name);
            }
        }
        ~Saved() { value ? qputenv(name, *value) : qunsetenv(name); }
    } home("XDG_CONFIG_HOME"), dirs("XDG_CONFIG_DIRS");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(path("user")));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(path("system") + ":relative:/etc/xdg"));
    const CalcLibrarySearch program = CalcLibrarySearch::forProgram();
    EXPECT_EQ(program.userRecords, QStringList{path("user") + "/VexaCalculate00/registration.ini"});
    EXPECT_EQ(program.systemRecords,
              QStringList({path("system") + "/VexaCalculate00/registration.ini",
                           "/etc/xdg/VexaCalculate00/registration.ini"}));
    qunsetenv("XDG_CONFIG_DIRS");
    EXPECT_EQ(CalcLibrarySearch::forProgram().systemRecords,
              QStringList{"/etc/xdg/VexaCalculate00/registration.ini"});
    EXPECT_TRUE(program.loaderSearch);
    const QString bin = QCoreApplication::applicationDirPath();
    ASSERT_GE(program.folders.size(), 2);
    EXPECT_EQ(program.folders.last(), bin);
    EXPECT_TRUE(program.folders.contains(QDir::cleanPath(bin + "/../lib")));
}

} // namespace
} // namespace qmf::test

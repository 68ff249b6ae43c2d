// SPDX-License-Identifier: GPL-3.0-or-later
// Finding and loading the calculation library by class identifier, and what the graph window
// does when it cannot.
#include "GraphFixture.h"
#include "gui/views/CalcComponent.h"

#include <dlfcn.h>

namespace qmf::test {
namespace {

// A real shared library that is not the calculation library: the C library itself.
QString someOtherSharedLibrary() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&::dlopen), &info) == 0 || info.dli_fname == nullptr) {
        return {};
    }
    return QFile::decodeName(info.dli_fname);
}

class CalcLibraryLookup : public ::testing::Test {
protected:
    QString folderWithLibrary() {
        const QString folder = dir.filePath(QStringLiteral("lib"));
        QDir().mkpath(folder);
        QFile file(QDir(folder).filePath(QLatin1String(CalcLibraryFileName)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return folder;
    }
    ScopedConfigHome config;
    QTemporaryDir dir;
};

TEST_F(CalcLibraryLookup, UnregisteredClassIsFoundInTheFirstFolderThatHasTheLibrary) {
    const QString empty = dir.filePath(QStringLiteral("empty"));
    QDir().mkpath(empty);
    const QString withLibrary = folderWithLibrary();
    EXPECT_EQ(findCalcLibrary(VEXA_CLSID_Code0, {empty, withLibrary}),
              QDir(withLibrary).filePath(QLatin1String(CalcLibraryFileName)));
}

TEST_F(CalcLibraryLookup, RegisteredLibraryComesFirst) {
    const QString folder = folderWithLibrary();
    config.registerCode0(QStringLiteral("/opt/registered/libVexaCalculate00.so.1"));
    EXPECT_EQ(findCalcLibrary(VEXA_CLSID_Code0, {folder}),
              QStringLiteral("/opt/registered/libVexaCalculate00.so.1"));
}

TEST_F(CalcLibraryLookup, NeitherRegisteredNorBesideTheProgramIsAClearError) {
    const QString empty = dir.filePath(QStringLiteral("nothing-here"));
    try {
        findCalcLibrary(VEXA_CLSID_Code0, {empty});
        FAIL() << "no library was there to find";
    } catch (const CalcComponentError& e) {
        const QString what = QString::fromUtf8(e.what());
        EXPECT_TRUE(what.contains(QStringLiteral("{09D5599F-13D0-11D5-AB6C-00C04F7E5BFB}")))
            << e.what();
        EXPECT_TRUE(what.contains(empty)) << e.what();
    }
}

TEST_F(CalcLibraryLookup, TheBuiltLibraryIsFoundBesideTheProgramAndConverts) {
    // The tests run from <build>/bin; the library is built into <build>/lib.
    const auto code0 = Code0Object::create();
    EXPECT_TRUE(code0->libraryPath().endsWith(QStringLiteral("/lib/libVexaCalculate00.so.1")))
        << code0->libraryPath().toStdString();
    EXPECT_EQ(code0->Misc2(201, true), -55);
    EXPECT_EQ(code0->Misc2(-55, false), 201);
}

TEST_F(CalcLibraryLookup, LibrariesThatCannotServeCode0AreClearErrors) {
    const QString notAnElf = dir.filePath(QStringLiteral("libVexaCalculate00.so.1"));
    {
        QFile file(notAnElf);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("this is not a shared library\n");
    }
    const QString other = someOtherSharedLibrary();
    ASSERT_FALSE(other.isEmpty());
    const struct {
        QString path;
        const char* says;
    } cases[] = {{dir.filePath(QStringLiteral("missing.so")), "could not be loaded"},
                 {notAnElf, "could not be loaded"},
                 {other, "no DllGetClassObject"}};
    for (const auto& c : cases) {
        try {
            Code0Object::createFrom(c.path);
            ADD_FAILURE() << c.path.toStdString() << " gave a Code0 object";
        } catch (const CalcComponentError& e) {
            const QString what = QString::fromUtf8(e.what());
            EXPECT_TRUE(what.contains(c.path)) << e.what();
            EXPECT_TRUE(what.contains(QLatin1String(c.says))) << e.what();
        }
    }
}

using GraphCalc = GraphFixture;

TEST_F(GraphCalc, MissingCalculationLibraryIsReportedAndStopsGraphingWithoutACrash) {
    const QString missing = dir.filePath(QStringLiteral("gone/libVexaCalculate00.so.1"));
    config.registerCode0(missing);
    graphsBox()->click();
    tick();
    EXPECT_EQ(t.errors.failureCount(), 1);
    EXPECT_TRUE(t.errors.lastError().contains(missing)) << t.errors.lastError().toStdString();
    EXPECT_FALSE(timer()->isActive());
    EXPECT_FALSE(graphsBox()->isChecked());
    EXPECT_EQ(chart()->pointCount(2), 0);
}

TEST_F(GraphCalc, ObjectIsCreatedOnFirstUseAndKept) {
    tick(); // creates the object from the library beside the program
    ASSERT_EQ(t.errors.failureCount(), 0);
    // A broken registration made afterwards does not matter: the object is kept.
    config.registerCode0(dir.filePath(QStringLiteral("gone.so")));
    ticks(3);
    EXPECT_EQ(t.errors.failureCount(), 0);
    EXPECT_EQ(chart()->pointCount(2), 4);
}

} // namespace
} // namespace qmf::test

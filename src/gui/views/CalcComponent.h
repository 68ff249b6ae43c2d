// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <VexaCalculate00/VexaCalculate00.h>
#include <memory>
#include <optional>
#include <stdexcept>

namespace qmf {

// The calculation library is a component: the program finds it by class identifier, loads it at
// run time and calls it through its function tables; it is never linked.

// A library that cannot be found, loaded or asked for an object. what() says which file and why,
// or, when no place gave a library, every place tried.
class CalcComponentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// File name of the library as installed (its SONAME).
inline constexpr char CalcLibraryFileName[] = "libVexaCalculate00.so.1";

// Where the library is looked for, in this order: the registration records (per-user first,
// then the system-wide ones), each naming the file registered for the class; then the dynamic
// loader's own search by SONAME, which finds an installed copy; then the folders beside the
// program. A place that fails (a record naming a missing or broken file, say) is noted and the
// next one tried, so an installed library is found even behind a stale registration.
struct CalcLibrarySearch {
    QStringList userRecords;   // registration.ini files, per user
    QStringList systemRecords; // registration.ini files, system-wide
    bool loaderSearch = true;  // dlopen(CalcLibraryFileName) through the loader's search path
    QStringList folders;       // folders that may hold CalcLibraryFileName

    // The program's search: $XDG_CONFIG_HOME (or ~/.config), then each of $XDG_CONFIG_DIRS (or
    // /etc/xdg), then the loader, then <program>/../<libdir>, <program>/../lib, <program>.
    static CalcLibrarySearch forProgram();
};

// The search Code0Object::create() uses: the program's, unless set here. For tests that need a
// search without the built library beside them; nothing in the program sets it.
void setCalcLibrarySearch(std::optional<CalcLibrarySearch> search);
CalcLibrarySearch currentCalcLibrarySearch();

// The library file a registration record names for clsid; nothing when the record is missing or
// has no Library line for the class.
std::optional<QString> registeredLibrary(const QString& recordFile, const VexaGuid& clsid);

// One Code0 object of the calculation library, created through the library's class factory by
// the class identifier and held until destruction, which releases it and unloads the library
// when the library allows.
class Code0Object {
public:
    // Tries the places of currentCalcLibrarySearch() in order and creates one from the first
    // library that serves Code0. Throws CalcComponentError naming every place tried.
    static std::unique_ptr<Code0Object> create();
    static std::unique_ptr<Code0Object> create(const CalcLibrarySearch& search);
    // Loads the library at libraryPath (a path, or a bare SONAME for the loader's search) and
    // creates one. Throws CalcComponentError.
    static std::unique_ptr<Code0Object> createFrom(const QString& libraryPath);

    ~Code0Object();
    Code0Object(const Code0Object&) = delete;
    Code0Object& operator=(const Code0Object&) = delete;

    // Misc2 with the value as the only pointer value (PointerType 0) and every other argument 0:
    // toTemperature true converts a register byte to degrees C, false the other way. Throws
    // CalcComponentError when the call reports a failure.
    float Misc2(float value, bool toTemperature);

    // The file the library was loaded from (symbolic links resolved), and the place of the
    // search that gave it ("per-user record ...", "dynamic loader", "folder ...").
    const QString& libraryPath() const { return libraryPath_; }
    const QString& foundBy() const { return foundBy_; }

private:
    Code0Object(void* library, VexaCode* object, QString libraryPath);

    void* library_;
    VexaCode* object_;
    QString libraryPath_;
    QString foundBy_;
};

} // namespace qmf

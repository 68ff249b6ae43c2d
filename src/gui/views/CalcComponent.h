// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <VexaCalculate00/VexaCalculate00.h>
#include <memory>
#include <stdexcept>

namespace qmf {

// The calculation library is a component: the program finds it by class identifier, loads it at
// run time and calls it through its function tables; it is never linked.

// A library that cannot be found, loaded or asked for an object. what() says which file and why.
class CalcComponentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// File name of the library as installed beside a program (its SONAME).
inline constexpr char CalcLibraryFileName[] = "libVexaCalculate00.so.1";

// The folders searched when the class is not registered: <program>/../lib (the build and
// install layout), then the program's own folder.
QStringList calcLibraryFoldersBesideProgram();

// The library that serves clsid: the path in the per-user registration record when the class is
// registered there (that record is authoritative, so a stale entry is reported rather than
// silently bypassed); otherwise the first folder of `folders` holding CalcLibraryFileName.
// Throws CalcComponentError when neither gives a file.
QString findCalcLibrary(const VexaGuid& clsid, const QStringList& folders);

// One Code0 object of the calculation library, created through the library's class factory by
// the class identifier and held until destruction, which releases it and unloads the library
// when the library allows.
class Code0Object {
public:
    // Finds the library (findCalcLibrary over the folders beside the program) and creates one.
    static std::unique_ptr<Code0Object> create();
    // Loads the library at libraryPath and creates one. Throws CalcComponentError.
    static std::unique_ptr<Code0Object> createFrom(const QString& libraryPath);

    ~Code0Object();
    Code0Object(const Code0Object&) = delete;
    Code0Object& operator=(const Code0Object&) = delete;

    // Misc2 with the value as the only pointer value (PointerType 0) and every other argument 0:
    // toTemperature true converts a register byte to degrees C, false the other way. Throws
    // CalcComponentError when the call reports a failure.
    float Misc2(float value, bool toTemperature);

    const QString& libraryPath() const { return libraryPath_; }

private:
    Code0Object(void* library, VexaCode* object, QString libraryPath);

    void* library_;
    VexaCode* object_;
    QString libraryPath_;
};

} // namespace qmf

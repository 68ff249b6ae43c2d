// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/CalcComponent.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <dlfcn.h>

namespace qmf {

namespace {

QString statusText(VexaStatus status) {
    return QString::asprintf("0x%08X", unsigned(status));
}

[[noreturn]] void fail(const QString& text) {
    throw CalcComponentError(text.toStdString());
}

QString code0Class() {
    return QString::fromStdString(vexacalc::registration::formatGuid(VEXA_CLSID_Code0));
}

} // namespace

QStringList calcLibraryFoldersBesideProgram() {
    const QDir program(QCoreApplication::applicationDirPath());
    return {QDir::cleanPath(program.filePath(QStringLiteral("../lib"))), program.absolutePath()};
}

QString findCalcLibrary(const VexaGuid& clsid, const QStringList& folders) {
    if (const auto registered = vexacalc::LookupClassLibrary(clsid)) {
        return QString::fromStdString(*registered);
    }
    for (const QString& folder : folders) {
        const QFileInfo candidate(QDir(folder).filePath(QLatin1String(CalcLibraryFileName)));
        if (candidate.isFile()) {
            return candidate.absoluteFilePath();
        }
    }
    fail(QStringLiteral("The calculation library is not registered for class %1 and %2 was not "
                        "found in %3.")
             .arg(QString::fromStdString(vexacalc::registration::formatGuid(clsid)),
                  QLatin1String(CalcLibraryFileName), folders.join(QStringLiteral(", "))));
}

std::unique_ptr<Code0Object> Code0Object::create() {
    return createFrom(findCalcLibrary(VEXA_CLSID_Code0, calcLibraryFoldersBesideProgram()));
}

std::unique_ptr<Code0Object> Code0Object::createFrom(const QString& libraryPath) {
    const QByteArray path = QFile::encodeName(libraryPath);
    void* library = ::dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        fail(QStringLiteral("The calculation library %1 could not be loaded: %2")
                 .arg(libraryPath, QString::fromLocal8Bit(::dlerror())));
    }
    // From here on every failure unloads the library again.
    struct Unloader {
        void* handle;
        ~Unloader() {
            if (handle != nullptr) {
                ::dlclose(handle);
            }
        }
    } unloader{library};

    auto getClassObject =
        reinterpret_cast<VexaDllGetClassObjectFn>(::dlsym(library, "DllGetClassObject"));
    if (getClassObject == nullptr) {
        fail(QStringLiteral("%1 is not the calculation library: it has no DllGetClassObject.")
                 .arg(libraryPath));
    }
    void* out = nullptr;
    VexaStatus status = getClassObject(&VEXA_CLSID_Code0, &VEXA_IID_IClassFactory, &out);
    if (VEXA_FAILED(status) || out == nullptr) {
        fail(QStringLiteral("The calculation library %1 offers no class factory for Code0 %2 "
                            "(status %3).")
                 .arg(libraryPath, code0Class(), statusText(status)));
    }
    auto* factory = static_cast<VexaClassFactory*>(out);
    out = nullptr;
    status = factory->vtbl->CreateInstance(factory, nullptr, &VEXA_IID_Code0, &out);
    factory->vtbl->Release(factory);
    if (VEXA_FAILED(status) || out == nullptr) {
        fail(QStringLiteral("The calculation library %1 could not create a Code0 object "
                            "(status %2).")
                 .arg(libraryPath, statusText(status)));
    }
    unloader.handle = nullptr;
    return std::unique_ptr<Code0Object>(
        new Code0Object(library, static_cast<VexaCode*>(out), libraryPath));
}

Code0Object::Code0Object(void* library, VexaCode* object, QString libraryPath)
    : library_(library), object_(object), libraryPath_(std::move(libraryPath)) {}

Code0Object::~Code0Object() {
    object_->vtbl->Release(object_);
    // Drops this handle only: the loader keeps the library while another handle holds it.
    ::dlclose(library_);
}

float Code0Object::Misc2(float value, bool toTemperature) {
    float result = 0.0f;
    const VexaStatus status =
        object_->vtbl->Misc2(object_, 0.0f, 0.0f, value, 0.0f, 0.0f, 0.0, 0.0, 0.0, 0.0, 0,
                             toTemperature ? VEXA_TRUE : VEXA_FALSE, &result);
    if (VEXA_FAILED(status)) {
        fail(QStringLiteral("Code0.Misc2 of the calculation library failed (status %1).")
                 .arg(statusText(status)));
    }
    return result;
}

} // namespace qmf

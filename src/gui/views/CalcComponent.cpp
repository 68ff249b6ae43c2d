// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/views/CalcComponent.h"

#include "core/install/InstallPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <dlfcn.h>
#include <fstream>
#include <link.h>

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

// The file behind a handle, symbolic links resolved: the loader's search gives only a name.
QString loadedFile(void* library, const QString& requested) {
    link_map* map = nullptr;
    if (::dlinfo(library, RTLD_DI_LINKMAP, &map) == 0 && map != nullptr && map->l_name != nullptr &&
        *map->l_name != '\0') {
        const QString real = QFileInfo(QFile::decodeName(map->l_name)).canonicalFilePath();
        if (!real.isEmpty()) {
            return real;
        }
    }
    return requested;
}

} // namespace

CalcLibrarySearch CalcLibrarySearch::forProgram() {
    CalcLibrarySearch search;
    if (const auto user = vexacalc::registration::recordPath()) {
        search.userRecords << QFile::decodeName(user->c_str());
    }
    const QString record = QLatin1String(vexacalc::registration::kFolderName.data(),
                                         qsizetype(vexacalc::registration::kFolderName.size())) +
                           QLatin1Char('/') +
                           QLatin1String(vexacalc::registration::kFileName.data(),
                                         qsizetype(vexacalc::registration::kFileName.size()));
    // The XDG base directory rules: relative entries are ignored, an unset or empty list is
    // /etc/xdg.
    QStringList systemDirs;
    for (const QString& dir : qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':')) {
        if (QDir::isAbsolutePath(dir)) {
            systemDirs << dir;
        }
    }
    if (systemDirs.isEmpty()) {
        systemDirs << QStringLiteral("/etc/xdg");
    }
    for (const QString& dir : std::as_const(systemDirs)) {
        search.systemRecords << QDir(dir).filePath(record);
    }
    // Installed, the library lies in <prefix>/<libdir> with the program in <prefix>/bin; the
    // build tree has <build>/lib beside <build>/bin.
    const QString program = QCoreApplication::applicationDirPath();
    for (const QString& dir : {install::relativeLibDir(), QStringLiteral("lib")}) {
        const QString folder = install::besideProgram(program, dir);
        if (!search.folders.contains(folder)) {
            search.folders << folder;
        }
    }
    search.folders << QDir(program).absolutePath();
    return search;
}

namespace {
std::optional<CalcLibrarySearch>& searchOverride() {
    static std::optional<CalcLibrarySearch> search;
    return search;
}
} // namespace

void setCalcLibrarySearch(std::optional<CalcLibrarySearch> search) {
    searchOverride() = std::move(search);
}

CalcLibrarySearch currentCalcLibrarySearch() {
    return searchOverride().value_or(CalcLibrarySearch::forProgram());
}

std::optional<QString> registeredLibrary(const QString& recordFile, const VexaGuid& clsid) {
    std::ifstream in(QFile::encodeName(recordFile).toStdString());
    if (!in) {
        return std::nullopt;
    }
    const auto record = vexacalc::registration::parseRecord(in);
    const std::string wanted = vexacalc::registration::formatGuid(clsid);
    for (const auto& section : record.sections) {
        if (vexacalc::registration::equalsIgnoringCase(section.name, wanted)) {
            const auto library = vexacalc::registration::sectionValue(section, "Library");
            if (library && !library->empty()) {
                return QString::fromStdString(*library);
            }
        }
    }
    return std::nullopt;
}

std::unique_ptr<Code0Object> Code0Object::create() {
    return create(currentCalcLibrarySearch());
}

std::unique_ptr<Code0Object> Code0Object::create(const CalcLibrarySearch& search) {
    QStringList tried;
    auto attempt = [&tried](const QString& library, const QString& place) {
        try {
            auto object = createFrom(library);
            object->foundBy_ = place;
            return object;
        } catch (const CalcComponentError& e) {
            tried << place + QStringLiteral(": ") + QString::fromUtf8(e.what());
            return std::unique_ptr<Code0Object>();
        }
    };
    auto records = [&](const QStringList& files, const QString& kind) {
        for (const QString& file : files) {
            const QString place = kind + QLatin1Char(' ') + file;
            if (!QFileInfo(file).isFile()) {
                tried << place + QStringLiteral(": no such file");
            } else if (const auto library = registeredLibrary(file, VEXA_CLSID_Code0)) {
                if (auto object = attempt(*library, place)) {
                    return object;
                }
            } else {
                tried << place + QStringLiteral(": class not registered");
            }
        }
        return std::unique_ptr<Code0Object>();
    };
    if (auto object = records(search.userRecords, QStringLiteral("per-user record"))) {
        return object;
    }
    if (auto object = records(search.systemRecords, QStringLiteral("system record"))) {
        return object;
    }
    if (search.loaderSearch) {
        if (auto object = attempt(QLatin1String(CalcLibraryFileName),
                                  QStringLiteral("dynamic loader's search"))) {
            return object;
        }
    }
    for (const QString& folder : search.folders) {
        const QString file = QDir(folder).filePath(QLatin1String(CalcLibraryFileName));
        if (!QFileInfo(file).isFile()) {
            tried << QStringLiteral("folder %1: no %2")
                         .arg(folder, QLatin1String(CalcLibraryFileName));
        } else if (auto object = attempt(file, QStringLiteral("folder ") + folder)) {
            return object;
        }
    }
    fail(QStringLiteral("The calculation library for class %1 was not found or could not be "
                        "loaded. Places tried: %2.")
             .arg(code0Class(), tried.join(QStringLiteral("; "))));
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
        new Code0Object(library, static_cast<VexaCode*>(out), loadedFile(library, libraryPath)));
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

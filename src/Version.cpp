#include "Version.h"

#ifndef ORFE_VERSION_NUMBER
#error "ORFE_VERSION_NUMBER must be defined by the build"
#endif
#ifndef ORFE_BRANCH
#define ORFE_BRANCH ""
#endif
#ifndef ORFE_INSTALL_PREFIX
#define ORFE_INSTALL_PREFIX "/usr/local"
#endif

namespace orfe {

namespace {
const char* const RELEASE_BRANCH = "master";
}

const QString& Version()
{
    static const QString version = [] {
        QString v = QStringLiteral(ORFE_VERSION_NUMBER);
        const QString branch = QStringLiteral(ORFE_BRANCH);
        if (!branch.isEmpty() && branch != QLatin1String(RELEASE_BRANCH)) v += QLatin1Char('-') + branch;
        return v;
    }();
    return version;
}

QString InstallPrefix()
{
    return QStringLiteral(ORFE_INSTALL_PREFIX);
}

QString CompilerDescription()
{
#if defined(__clang__)
    return QStringLiteral("Clang %1.%2.%3")
        .arg(__clang_major__)
        .arg(__clang_minor__)
        .arg(__clang_patchlevel__);
#elif defined(__GNUC__)
    return QStringLiteral("GCC %1.%2.%3").arg(__GNUC__).arg(__GNUC_MINOR__).arg(__GNUC_PATCHLEVEL__);
#else
    return QStringLiteral("an unknown compiler");
#endif
}

} // namespace orfe

#include "Scales/InstalledScales.h"

#include <QDir>
#include <QFileInfo>

#include <iostream>
#include <memory>

#ifndef ORFE_INSTALL_PREFIX
#define ORFE_INSTALL_PREFIX "/usr/local"
#endif

namespace Scales {

QString InstalledScalesDirectory()
{
    return QStringLiteral(ORFE_INSTALL_PREFIX "/share/orfe/scales");
}

QStringList ScaleFilesIn(const QString& directory)
{
    QStringList files;
    const QFileInfoList entries = QDir(directory).entryInfoList(QDir::Files, QDir::Unsorted);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (name.endsWith(QLatin1String(".scl")) || name.endsWith(QLatin1String(".SCL")))
            files << entry.absoluteFilePath();
    }
    return files;
}

Scale* FindScale(const QList<Scale*>& scales, const QString& name)
{
    for (Scale* scale : scales)
        if (scale->name == name) return scale;
    return nullptr;
}

Scale* AddScaleFile(QList<Scale*>& scales, const QString& path, const QString& caller)
{
    std::unique_ptr<Scale> scale;
    try {
        scale = std::make_unique<Scale>(path, Scale::SCALA);
    } catch (const QString& message) {
        std::cout << (caller + QLatin1Char(' ') + message).toUtf8().constData() << std::endl;
        return nullptr;
    }
    if (FindScale(scales, scale->name)) return nullptr;
    scales.append(scale.get());
    return scale.release();
}

void LoadInstalledScales(QList<Scale*>& scales, const QString& directory)
{
    for (const QString& path : ScaleFilesIn(directory))
        AddScaleFile(scales, path, QStringLiteral("MicrotonalView::load_installed_scales"));
}

} // namespace Scales

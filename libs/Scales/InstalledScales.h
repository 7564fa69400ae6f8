#ifndef SCALES_INSTALLEDSCALES_H
#define SCALES_INSTALLEDSCALES_H

// The scales installed with the program, and the rule every list of scales
// keeps: names identify scales, so a list never holds two with the same name.

#include "Scales/Scale.h"

#include <QList>
#include <QStringList>

namespace Scales {

// The installation prefix fixed at build time, followed by "/share/orfe/scales".
QString InstalledScalesDirectory();

// The files of `directory` whose names end in ".scl" or ".SCL" (those two
// spellings only), as absolute paths in the directory's own listing order.
QStringList ScaleFilesIn(const QString& directory);

// The first scale of the list with that name, or null.
Scale* FindScale(const QList<Scale*>& scales, const QString& name);

// Reads the Scala file at `path` and appends it to `scales` unless a scale of
// that name is already there; such a scale is dropped silently. A file that
// cannot be read prints `caller`, a blank and the reader's message on standard
// output, and adds nothing. Returns the scale appended (owned by the list's
// owner), or null.
Scale* AddScaleFile(QList<Scale*>& scales, const QString& path, const QString& caller);

// Appends every scale file of the directory to `scales` by AddScaleFile, in
// listing order, reporting as "MicrotonalView::load_installed_scales".
void LoadInstalledScales(QList<Scale*>& scales, const QString& directory = InstalledScalesDirectory());

} // namespace Scales

#endif

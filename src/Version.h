#ifndef ORFE_VERSION_H
#define ORFE_VERSION_H

#include <QString>

namespace orfe {

// The program version as shown in the banner, the application and the about
// box: the release number, followed by "-" and the branch name for a build made
// from a branch other than the release branch. Computed on first use, then kept.
// Interface thread (or before the application exists).
const QString& Version();

// Where the program's own data lives: the installation prefix.
QString InstallPrefix();

// The compiler that built the program: name, a space, major.minor.patch.
QString CompilerDescription();

} // namespace orfe

#endif

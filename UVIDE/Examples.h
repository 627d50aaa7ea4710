// The example programs that come with Ulvan. Installed, they lie in
// <prefix>/share/ulvan/examples beside <prefix>/bin/ulvan (the path relative to the program is
// fixed at build time); a program run from its build tree uses the source tree's examples/.
#pragma once

#include <QString>
#include <QStringList>

// The examples folder for a program in `programFolder`; empty when there is none.
QString ExamplesFolder(const QString &programFolder);
// The same for the running program.
QString ExamplesFolder();
// The programs (*.pas) of a folder, sorted by name, as full paths.
QStringList ExampleFiles(const QString &folder);

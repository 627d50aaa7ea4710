#include "Examples.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString ExamplesFolder(const QString &programFolder) {
  const QDir program(programFolder);
  const QString installed = QDir::cleanPath(program.absoluteFilePath(QStringLiteral(ULVAN_EXAMPLES_FROM_BINDIR)));
  if (QFileInfo(installed).isDir()) return installed;
  // A program of the build tree (the window, its tests) takes the examples of its sources.
  const QString build = QDir::cleanPath(QStringLiteral(ULVAN_BUILD_DIR));
  const QString folder = QDir::cleanPath(program.absolutePath());
  if (folder == build || folder.startsWith(build + QLatin1Char('/'))) {
    const QString source = QStringLiteral(ULVAN_SOURCE_EXAMPLES);
    if (QFileInfo(source).isDir()) return source;
  }
  return {};
}

QString ExamplesFolder() { return ExamplesFolder(QCoreApplication::applicationDirPath()); }

QStringList ExampleFiles(const QString &folder) {
  if (folder.isEmpty()) return {};
  QStringList files;
  const QDir dir(folder);
  for (const QString &name : dir.entryList({QStringLiteral("*.pas")}, QDir::Files, QDir::Name))
    files << dir.absoluteFilePath(name);
  return files;
}

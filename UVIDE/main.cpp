// The application: the editor window on the file named by the first argument.
#include <clocale>

#include <QApplication>

#include "IParser.h"
#include "Random.h"
#include "frmUVIDEMain.h"

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Ulvan"));
  // QApplication took the locale from the environment; numbers are always written with ".".
  std::setlocale(LC_NUMERIC, "C");
  RandSeed = SeedFromClock();

  const QStringList arguments = QApplication::arguments();
  TUVIDEMain window([] { return NewParser(); }, arguments.size() > 1 ? arguments.at(1) : QString());
  window.show();
  return app.exec();
}

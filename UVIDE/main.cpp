// The application: the editor window on the file named by the first argument.
#include <clocale>
#include <cstdio>

#include <QApplication>
#include <QPixmap>

#include "AboutPicture.h"
#include "IParser.h"
#include "JpegImage.h"
#include "frmUVIDEMain.h"

int main(int argc, char *argv[]) {
  // Without a display Qt's platform plugin would abort the program with a page of advice.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    std::fputs("ulvan: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); "
               "ulvan-run FILE.pas runs a program in the terminal\n",
               stderr);
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Ulvan"));
  // The desktop entry ulvan.desktop: lets the desktop match the window to its entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("ulvan"));
  // QApplication took the locale from the environment; numbers are always written with ".".
  std::setlocale(LC_NUMERIC, "C");
  const QImage picture = DecodeJpeg(AboutPictureJpeg, AboutPictureJpegSize);
  if (!picture.isNull()) QApplication::setWindowIcon(QPixmap::fromImage(picture));

  const QStringList arguments = QApplication::arguments();
  TUVIDEMain window([] { return NewParser(); }, arguments.size() > 1 ? arguments.at(1) : QString());
  window.show();
  return app.exec();
}

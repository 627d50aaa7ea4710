// The console of a run started from the editor window: a window titled with the program name
// whose monospace text area shows the program's output and hands every key to the program.
//
// The end of a run (Release) and the closing of the window are separate: after the run the
// window stays with the output and a last line saying how the run ended, takes no more keys,
// and goes when the user closes it or presses Escape. The next run reuses it, cleared.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>

#include <QElapsedTimer>
#include <QWidget>

#include "Console.h"
#include "ConsoleScreen.h"
#include "RunOutcome.h"

class QEventLoop;
class QPlainTextEdit;

class TConsoleWindow final : public QWidget, public IConsole {
  Q_OBJECT
 public:
  explicit TConsoleWindow(QWidget *owner = nullptr);
  ~TConsoleWindow() override;

  // Called when the user closes the window during a run; it should stop the run.
  void SetStopHandler(std::function<void()> handler) { StopHandler = std::move(handler); }

  // IConsole. Open shows the window cleared (beside the owner the first time); Release ends the
  // run's input and leaves the window as it is.
  void Open(const std::string &title) override;
  void Release() override;
  void Write(std::string_view bytes) override;
  bool IsInteractive() const override { return true; }
  void DiscardInput() override { Keys.clear(); }
  int ReadChar() override;
  void ProcessMessages() override;
  void Poll() override;

  // After the run: the title says how it ended and `line`, set apart, ends the output.
  void ShowEnd(TRunEnd end, const QString &line);

  // Where a window of `size` (frame included) goes beside `owner` on `screen`: to its right,
  // else below, left of or above it; where none has room, where it covers the least of the
  // owner. None when it is larger than the screen.
  static std::optional<QPoint> PlaceBeside(const QRect &owner, const QSize &size,
                                           const QRect &screen);

  // Hands one key's characters to the program, as typing does.
  void TypeKey(std::string_view bytes);
  // A run's input is open (between Open and Release).
  bool IsOpen() const { return Opened; }
  // Number of runs that opened this console.
  int OpenCount() const { return Opens; }
  bool IsWaitingForKey() const { return WaitLoop != nullptr; }
  QString ScreenText() const;
  QPlainTextEdit *TextArea() const { return Screen; }
  // The text area's font size; the window keeps its size.
  static constexpr int DefaultFontPixelSize = 14;
  void SetFontPixelSize(int pixels);

 protected:
  void closeEvent(QCloseEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  void Repaint();
  void PlaceFirstTime();

  QPlainTextEdit *Screen = nullptr;
  TConsoleScreen Model;
  std::deque<unsigned char> Keys;
  std::function<void()> StopHandler;
  QEventLoop *WaitLoop = nullptr;
  QElapsedTimer SincePoll;
  QString ProgramName;
  bool Opened = false;
  bool Placed = false;
  int Opens = 0;
};

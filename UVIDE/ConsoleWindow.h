// The console of a run started from the editor window: a window titled with the program name
// whose monospace text area shows the program's output and hands every key to the program.
#pragma once

#include <deque>
#include <functional>
#include <string>

#include <QElapsedTimer>
#include <QWidget>

#include "Console.h"
#include "ConsoleScreen.h"

class QEventLoop;
class QPlainTextEdit;

class TConsoleWindow final : public QWidget, public IConsole {
  Q_OBJECT
 public:
  explicit TConsoleWindow(QWidget *owner = nullptr);
  ~TConsoleWindow() override;

  // Called when the user closes the window during a run; it should stop the run.
  void SetStopHandler(std::function<void()> handler) { StopHandler = std::move(handler); }

  // IConsole
  void Open(const std::string &title) override;
  void Release() override;
  void Write(std::string_view bytes) override;
  bool IsInteractive() const override { return true; }
  void DiscardInput() override { Keys.clear(); }
  int ReadChar() override;
  void ProcessMessages() override;
  void Poll() override;

  // Hands one key's characters to the program, as typing does.
  void TypeKey(std::string_view bytes);
  bool IsOpen() const { return Opened; }
  // Number of runs that opened this console.
  int OpenCount() const { return Opens; }
  bool IsWaitingForKey() const { return WaitLoop != nullptr; }
  QString ScreenText() const;
  QPlainTextEdit *TextArea() const { return Screen; }

 protected:
  void closeEvent(QCloseEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  void Repaint();

  QPlainTextEdit *Screen = nullptr;
  TConsoleScreen Model;
  std::deque<unsigned char> Keys;
  std::function<void()> StopHandler;
  QEventLoop *WaitLoop = nullptr;
  QElapsedTimer SincePoll;
  bool Opened = false;
  int Opens = 0;
};

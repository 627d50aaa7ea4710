// A shown editor window with scripted dialogs, a scripted compiler and a scratch folder.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "IParser.h"
#include "Program.h"
#include "UserDialogs.h"
#include "frmUVIDEMain.h"

// Failures show texts as text.
inline void PrintTo(const QString &text, std::ostream *out) {
  *out << '"' << text.toStdString() << '"';
}

// One question or message the window showed.
struct TDialogCall {
  QString Kind;  // "YesNoCancel", "OkCancel", "Warning", "Error", "Open", "Save", "GoToLine"
  QString Caption;
  QString Text;  // for "Open" the folder it starts in, for "Save" the path it proposes, for
                 // "GoToLine" the proposed and the last line as "12/40"
};

// Answers from queues filled by the test; every call is recorded.
class TScriptedDialogs final : public IUserDialogs {
 public:
  TAnswer ConfirmYesNoCancel(const QString &text) override;
  TAnswer ConfirmOkCancel(const QString &text) override;
  void Warning(const QString &caption, const QString &text) override;
  void Error(const QString &caption, const QString &text) override;
  QString OpenFileName(const QString &folder) override;
  QString SaveFileName(const QString &path) override;
  bool AskLineNumber(int current, int last, int &line) override;

  std::deque<TAnswer> Answers;
  std::deque<int> LineNumbers;  // an empty queue cancels the dialog
  std::deque<QString> FileNames;  // an empty name cancels the dialog
  std::vector<TDialogCall> Calls;
};

// A compiler that reports what the test set and hands out the test's program.
class TScriptedParser final : public IParser {
 public:
  bool Compile(const std::string &fileName) override {
    CompiledFiles.push_back(fileName);
    if (WhileCompiling) WhileCompiling();
    return Success;
  }
  IProgramRef GetProgram() override { return Program; }
  const std::vector<std::string> &GetErrors() const override { return Errors; }

  bool Success = true;
  std::vector<std::string> Errors;
  IProgramRef Program = NewProgram();
  std::vector<std::string> CompiledFiles;
  std::function<void()> WhileCompiling;
};

// Programs written instruction by instruction.
IProgramRef HelloProgram(const std::string &text);
// Reads a line into a string variable and writes "You typed: " and the line.
IProgramRef EchoLineProgram();
// Reads an integer into a variable.
IProgramRef ReadNumberProgram();
// Writes "Halted" and halts before writing more.
IProgramRef HaltProgram();
// Jumps to itself for ever.
IProgramRef EndlessLoopProgram();
// Divides 1 by 0.
IProgramRef DivideByZeroProgram();

QByteArray ReadBytes(const QString &path);
void WriteBytes(const QString &path, const QByteArray &bytes);

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Makes the window again, with a command-line file.
  void Recreate(const QString &commandLineFile);
  QString Path(const QString &name) const { return Dir.filePath(name); }
  // Types text into the editor as the user does.
  void Type(const QString &text);
  // The state-table triple.
  void ExpectState(const QString &fileName, bool modified, bool saveEnabled);
  // The dialog calls of one kind.
  std::vector<TDialogCall> CallsOf(const QString &kind) const;
  // Runs `action` once the console waits for a key (or fails after 30 s, a bound for a loaded machine).
  void WhenConsoleWaits(std::function<void()> action);

  QTemporaryDir Dir;
  std::unique_ptr<TUVIDEMain> Window;
  TScriptedDialogs *Dialogs = nullptr;
  std::shared_ptr<TScriptedParser> Parser;
  int ParsersMade = 0;
};

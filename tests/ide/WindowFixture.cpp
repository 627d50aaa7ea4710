// The window tests' helpers.
#include "WindowFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include "ConsoleWindow.h"
#include "Instruction.h"

namespace {

TAnswer Next(std::deque<TAnswer> &answers) {
  if (answers.empty()) {
    ADD_FAILURE() << "unexpected question";
    return TAnswer::anCancel;
  }
  const TAnswer answer = answers.front();
  answers.pop_front();
  return answer;
}

QString NextName(std::deque<QString> &names) {
  if (names.empty()) {
    ADD_FAILURE() << "unexpected file dialog";
    return {};
  }
  QString name = names.front();
  names.pop_front();
  return name;
}

void Emit(const IProgramRef &program, TOpcode opcode, std::int32_t value = 0) {
  TInstruction instruction{};
  instruction.Opcode = opcode;
  instruction.Line = 1;
  instruction.IntValue = value;
  program->AddInstruction(instruction);
}

void EmitStr(const IProgramRef &program, TOpcode opcode, const std::string &text) {
  TInstruction instruction{};
  instruction.Opcode = opcode;
  instruction.Line = 1;
  instruction.StrValue.Assign(text);
  program->AddInstruction(instruction);
}

}  // namespace

TAnswer TScriptedDialogs::ConfirmYesNoCancel(const QString &text) {
  Calls.push_back({QStringLiteral("YesNoCancel"), QStringLiteral("Confirm"), text});
  return Next(Answers);
}

TAnswer TScriptedDialogs::ConfirmOkCancel(const QString &text) {
  Calls.push_back({QStringLiteral("OkCancel"), QStringLiteral("Confirm"), text});
  return Next(Answers);
}

void TScriptedDialogs::Warning(const QString &caption, const QString &text) {
  Calls.push_back({QStringLiteral("Warning"), caption, text});
}

void TScriptedDialogs::Error(const QString &caption, const QString &text) {
  Calls.push_back({QStringLiteral("Error"), caption, text});
}

QString TScriptedDialogs::OpenFileName() {
  Calls.push_back({QStringLiteral("Open"), {}, {}});
  return NextName(FileNames);
}

QString TScriptedDialogs::SaveFileName() {
  Calls.push_back({QStringLiteral("Save"), {}, {}});
  return NextName(FileNames);
}

IProgramRef HelloProgram(const std::string &text) {
  IProgramRef program = NewProgram();
  program->SetProgramName("Hello");
  Emit(program, ocInit);
  EmitStr(program, ocPushStr, text);
  Emit(program, ocWriteLn);
  Emit(program, ocRet);
  return program;
}

IProgramRef EchoLineProgram() {
  IProgramRef program = NewProgram();
  program->SetProgramName("Echo");
  Emit(program, ocInit);
  Emit(program, ocIncSP, 256);  // the string variable at address 12
  Emit(program, ocPushInt, 12);
  Emit(program, ocReadLn);
  EmitStr(program, ocPushStr, "You typed: ");
  Emit(program, ocPushInt, 12);
  Emit(program, ocDeref, 256);
  Emit(program, ocAddStr);
  Emit(program, ocWriteLn);
  Emit(program, ocRet);
  return program;
}

IProgramRef EndlessLoopProgram() {
  IProgramRef program = NewProgram();
  Emit(program, ocInit);
  Emit(program, ocJump, 1);
  return program;
}

IProgramRef DivideByZeroProgram() {
  IProgramRef program = NewProgram();
  Emit(program, ocInit);
  Emit(program, ocPushInt, 1);
  Emit(program, ocPushInt, 0);
  Emit(program, ocDivInt);
  Emit(program, ocRet);
  return program;
}

QByteArray ReadBytes(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void WriteBytes(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

void WindowTest::SetUp() {
  ASSERT_TRUE(Dir.isValid());
  Recreate({});
}

void WindowTest::TearDown() {
  Window.reset();
  QApplication::processEvents();
}

void WindowTest::Recreate(const QString &commandLineFile) {
  Window.reset();
  Parser = std::make_shared<TScriptedParser>();
  ParsersMade = 0;
  Window = std::make_unique<TUVIDEMain>(
      [this]() -> IParserRef {
        ++ParsersMade;
        return Parser;
      },
      commandLineFile);
  auto dialogs = std::make_unique<TScriptedDialogs>();
  Dialogs = dialogs.get();
  Window->SetDialogs(std::move(dialogs));
  Window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
}

void WindowTest::Type(const QString &text) {
  Window->RichEdit1->setFocus();
  QTest::keyClicks(Window->RichEdit1, text);
}

void WindowTest::ExpectState(const QString &fileName, bool modified, bool saveEnabled) {
  EXPECT_EQ(Window->FileName(), fileName);
  EXPECT_EQ(Window->Modified(), modified);
  EXPECT_EQ(Window->FileSave->isEnabled(), saveEnabled);
  EXPECT_EQ(Window->windowTitle(), "Ulvan - " + TUVIDEMain::BareFileName(fileName));
}

std::vector<TDialogCall> WindowTest::CallsOf(const QString &kind) const {
  std::vector<TDialogCall> calls;
  for (const TDialogCall &call : Dialogs->Calls)
    if (call.Kind == kind) calls.push_back(call);
  return calls;
}

void WindowTest::WhenConsoleWaits(std::function<void()> action) {
  auto *timer = new QTimer(Window.get());
  auto *clock = new QElapsedTimer;
  clock->start();
  QObject::connect(timer, &QTimer::timeout, Window.get(), [this, timer, clock, action] {
    TConsoleWindow *console = Window->Console();
    const bool waiting = console != nullptr && console->IsWaitingForKey();
    if (!waiting && clock->elapsed() < 30000) return;
    timer->stop();
    timer->deleteLater();
    delete clock;
    if (!waiting) {
      ADD_FAILURE() << "the console never waited for a key";
      if (Window->IsRunning()) Window->close();
      return;
    }
    action();
  });
  timer->start(10);
}

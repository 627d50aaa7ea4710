// The window tests' helpers.
#include "WindowFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
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

// One instruction: an opcode with its integer or string operand.
struct TStep {
  TOpcode Opcode;
  std::int32_t Value = 0;
  std::string Text = {};
};

IProgramRef Build(const char *name, std::initializer_list<TStep> steps) {
  IProgramRef program = NewProgram();
  program->SetProgramName(name);
  for (const TStep &step : steps) {
    TInstruction instruction{};
    instruction.Opcode = step.Opcode;
    instruction.Line = 1;
    if (step.Opcode == ocPushStr) instruction.StrValue.Assign(step.Text);
    else instruction.IntValue = step.Value;
    program->AddInstruction(instruction);
  }
  return program;
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

QString TScriptedDialogs::OpenFileName(const QString &folder) {
  Calls.push_back({QStringLiteral("Open"), {}, folder});
  return NextName(FileNames);
}

QString TScriptedDialogs::SaveFileName(const QString &path) {
  Calls.push_back({QStringLiteral("Save"), {}, path});
  return NextName(FileNames);
}

bool TScriptedDialogs::AskLineNumber(int current, int last, int &line) {
  Calls.push_back({QStringLiteral("GoToLine"), {}, QStringLiteral("%1/%2").arg(current).arg(last)});
  if (LineNumbers.empty()) return false;
  line = LineNumbers.front();
  LineNumbers.pop_front();
  return true;
}

IProgramRef HelloProgram(const std::string &text) {
  return Build("Hello", {{ocInit}, {ocPushStr, 0, text}, {ocWriteLn}, {ocRet}});
}

IProgramRef EchoLineProgram() {
  // The string variable lies at address 12.
  return Build("Echo", {{ocInit}, {ocIncSP, 256}, {ocPushInt, 12}, {ocReadLn},
                        {ocPushStr, 0, "You typed: "}, {ocPushInt, 12}, {ocDeref, 256}, {ocAddStr},
                        {ocWriteLn}, {ocRet}});
}

IProgramRef ReadNumberProgram() {
  return Build("Number", {{ocInit}, {ocIncSP, 4}, {ocPushInt, 12}, {ocReadLnInt}, {ocRet}});
}

IProgramRef HaltProgram() {
  return Build("Halting", {{ocInit}, {ocPushStr, 0, "Halted"}, {ocWriteLn}, {ocHalt},
                           {ocPushStr, 0, "never"}, {ocWriteLn}, {ocRet}});
}

IProgramRef EndlessLoopProgram() { return Build("", {{ocInit}, {ocJump, 1}}); }

IProgramRef DivideByZeroProgram() {
  return Build("", {{ocInit}, {ocPushInt, 1}, {ocPushInt, 0}, {ocDivInt}, {ocRet}});
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
  // Each test starts without a remembered window placement (in the tests' own settings).
  QSettings(QStringLiteral("Ulvan"), QStringLiteral("Ulvan")).clear();
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
  EXPECT_EQ(Window->windowTitle(),
            "Ulvan - " + TUVIDEMain::BareFileName(fileName) + (modified ? "*" : ""));
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

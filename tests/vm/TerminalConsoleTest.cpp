// The terminal console through a pseudo-terminal: raw mode only during a read, echo and erase
// by the interpreter, type-ahead discarded, the terminal's mode restored every way.
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "Interpreter.h"
#include "TerminalConsole.h"

namespace {

// Forwards to a terminal console and types keys right after the read has discarded its
// type-ahead, as a person would.
class TTypist final : public IConsole {
 public:
  TTypist(TTerminalConsole &inner, std::function<void()> type) : Inner(inner), Type(std::move(type)) {}
  void Open(const std::string &title) override { Inner.Open(title); }
  void Release() override { Inner.Release(); }
  void Write(std::string_view bytes) override { Inner.Write(bytes); }
  bool IsInteractive() const override { return Inner.IsInteractive(); }
  void BeginLineRead() override { Inner.BeginLineRead(); }
  void EndLineRead() override { Inner.EndLineRead(); }
  void DiscardInput() override {
    Inner.DiscardInput();
    if (Type) Type();
  }
  int ReadChar() override { return Inner.ReadChar(); }
  void ProcessMessages() override {
    if (OnKey) OnKey();
  }
  std::function<void()> OnKey;

 private:
  TTerminalConsole &Inner;
  std::function<void()> Type;
};

class PtyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (openpty(&Master, &Slave, nullptr, nullptr, nullptr) != 0) GTEST_SKIP() << "no pseudo-terminals here";
    ASSERT_EQ(tcgetattr(Slave, &Original), 0);
  }
  void TearDown() override {
    if (Master >= 0) close(Master);
    if (Slave >= 0) close(Slave);
  }
  void Type(const std::string &keys) { ASSERT_EQ(write(Master, keys.data(), keys.size()), (ssize_t)keys.size()); }
  // Everything the terminal shows so far.
  std::string Screen() {
    std::string out;
    char buf[256];
    pollfd p{Master, POLLIN, 0};
    while (poll(&p, 1, 50) > 0) {
      const ssize_t n = read(Master, buf, sizeof buf);
      if (n <= 0) break;
      out.append(buf, static_cast<std::size_t>(n));
    }
    return out;
  }
  bool Canonical() {
    termios t;
    tcgetattr(Slave, &t);
    return (t.c_lflag & ICANON) && (t.c_lflag & ECHO) && (t.c_lflag & ISIG) && (t.c_iflag & ICRNL);
  }
  int Master = -1, Slave = -1;
  termios Original;
};

TEST_F(PtyTest, EchoEraseAndRestore) {
  TTerminalConsole terminal(Slave, Slave, false);
  EXPECT_TRUE(terminal.IsInteractive());
  const cc_t erase = Original.c_cc[VERASE];
  TTypist typist(terminal, [&] { Type(std::string("ab") + static_cast<char>(erase) + "c\r"); });
  bool rawWhileReading = false;
  typist.OnKey = [&] { rawWhileReading = !Canonical(); };
  TUVCInterpreter vm(&typist);
  EXPECT_EQ(vm.ReadConsoleLine(), "ac");
  EXPECT_TRUE(rawWhileReading);
  EXPECT_EQ(Screen(), "ab\b \bc\r\n");
  EXPECT_TRUE(Canonical());
}

TEST_F(PtyTest, TypeAheadDiscardedAndCtrlCIsACharacter) {
  TTerminalConsole terminal(Slave, Slave, false);
  Type("early\r");
  TTypist typist(terminal, [&] { Type("\x03x\r"); });
  TUVCInterpreter vm(&typist);
  EXPECT_EQ(vm.ReadConsoleLine(), "\x03x");
  EXPECT_TRUE(Canonical());
}

TEST_F(PtyTest, RestoredWhenTheReadEndsByAnError) {
  TTerminalConsole terminal(Slave, Slave, false);
  TTypist typist(terminal, [&] { Type("abc\r"); });
  typist.OnKey = [] { throw std::runtime_error("window gone"); };
  TUVCInterpreter vm(&typist);
  EXPECT_THROW(vm.ReadConsoleLine(), std::runtime_error);
  EXPECT_TRUE(Canonical());
}

TEST_F(PtyTest, TitleSetAndRestoredAroundARun) {
  TTerminalConsole terminal(Slave, Slave, true);
  terminal.Open("Demo");
  terminal.Release();
  terminal.Release();
  EXPECT_EQ(Screen(), "\033[22;0t\033]0;Demo\007\033[23;0t");
}

TEST_F(PtyTest, SignalDuringARawReadRestoresTheTerminal) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(ready[0]);
    TTerminalConsole terminal(Slave, Slave, false);
    terminal.Open("x");
    terminal.BeginLineRead();
    if (write(ready[1], "r", 1) != 1) _exit(2);
    terminal.ReadChar();  // blocks until the signal
    _exit(1);
  }
  close(ready[1]);
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  close(ready[0]);
  EXPECT_FALSE(Canonical());
  kill(child, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  // The process ends with the shell's status for the signal.
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGTERM);
  EXPECT_TRUE(Canonical());
}

TEST(PipeConsole, NoEchoAndLineFeedsOnly) {
  int in[2], out[2];
  ASSERT_EQ(pipe(in), 0);
  ASSERT_EQ(pipe(out), 0);
  {
    TTerminalConsole terminal(in[0], out[1], true);
    EXPECT_FALSE(terminal.IsInteractive());
    const std::string keys = "one\r\ntwo";
    ASSERT_EQ(write(in[1], keys.data(), keys.size()), (ssize_t)keys.size());
    close(in[1]);
    TUVCInterpreter vm(&terminal);
    terminal.Open("title not written to a pipe");
    EXPECT_EQ(vm.ReadConsoleLine(), "one");
    EXPECT_EQ(vm.ReadConsoleLine(), "two");
    EXPECT_EQ(vm.ReadConsoleLine(), "");
    vm.WriteConsoleText("a\r\nb\r\n\r");
    terminal.Release();
  }
  close(out[1]);
  char buf[64];
  const ssize_t n = read(out[0], buf, sizeof buf);
  EXPECT_EQ(std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0), "a\nb\n\r");
  close(in[0]);
  close(out[0]);
}

// Output to a pipe is held back until a read of input, the end of the run or a signal, and then
// arrives whole and in order.
TEST(PipeConsole, OutputCollectedAndWrittenBeforeReadsEndsAndSignals) {
  int in[2], out[2];
  ASSERT_EQ(pipe(in), 0);
  ASSERT_EQ(pipe(out), 0);
  const auto waiting = [&] {
    struct pollfd p = {out[0], POLLIN, 0};
    return poll(&p, 1, 0) == 1;
  };
  const auto readAll = [&](std::size_t atLeast) {
    std::string text;
    char buf[4096];
    while (text.size() < atLeast) {
      const ssize_t n = read(out[0], buf, sizeof buf);
      if (n <= 0) break;
      text.append(buf, static_cast<std::size_t>(n));
    }
    return text;
  };
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    TTerminalConsole terminal(in[0], out[1], false);
    terminal.Open("x");
    terminal.Write("Name? ");
    terminal.BeginLineRead();
    if (terminal.ReadChar() != 'A') _exit(3);
    terminal.EndLineRead();
    for (int i = 0; i < 20000; ++i) terminal.Write("line\r\n");  // more than one block
    terminal.Write("last");
    raise(SIGINT);
    _exit(1);
  }
  close(out[1]);
  EXPECT_EQ(readAll(6), "Name? ");  // written before the read waits
  EXPECT_FALSE(waiting());
  ASSERT_EQ(write(in[1], "A", 1), 1);
  std::string expected;
  for (int i = 0; i < 20000; ++i) expected += "line\n";
  expected += "last";
  EXPECT_EQ(readAll(expected.size() + 1), expected);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGINT);
  for (int fd : {in[0], in[1], out[0]}) close(fd);
}

TEST(PipeConsole, OutputHeldUntilReleased) {
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  struct pollfd p = {out[0], POLLIN, 0};
  TTerminalConsole terminal(0, out[1], false);
  terminal.Open("x");
  terminal.Write("held\n");
  EXPECT_EQ(poll(&p, 1, 0), 0);
  terminal.Release();
  char buf[16];
  EXPECT_EQ(read(out[0], buf, sizeof buf), 5);
  close(out[0]);
  close(out[1]);
}

}  // namespace

// Ctrl+C and signals at ulvan-run in a pseudo-terminal: the run ends with status 130 (128 + the
// signal) and the terminal is in its old mode afterwards, whether the program was computing or
// waiting in a raw line read.
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <termios.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "RobustHelper.h"

namespace robust {
namespace {

class Interrupt : public ScratchTest {
 protected:
  // Starts ulvan-run on the source in a new pseudo-terminal (its controlling terminal).
  void Start(const std::string &text) {
    const fs::path src = Write("p.pas", text);
    Child = forkpty(&Master, nullptr, nullptr, nullptr);
    ASSERT_GE(Child, 0);
    if (Child == 0) {
      execl(ULVAN_RUN, ULVAN_RUN, src.c_str(), static_cast<char *>(nullptr));
      _exit(127);
    }
  }
  void TearDown() override {
    if (Child > 0 && waitpid(Child, nullptr, WNOHANG) == 0) {
      kill(Child, SIGKILL);
      waitpid(Child, nullptr, 0);
    }
    if (Master >= 0) close(Master);
    ScratchTest::TearDown();
  }

  // Reads the terminal's output until it contains `text` (at most 10 s).
  bool WaitFor(const std::string &text, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (Screen.find(text) == std::string::npos) {
      if (std::chrono::steady_clock::now() > end) return false;
      struct pollfd p = {Master, POLLIN, 0};
      if (poll(&p, 1, 100) > 0) {
        char buffer[256];
        const ssize_t n = read(Master, buffer, sizeof buffer);
        if (n <= 0) return false;
        Screen.append(buffer, static_cast<std::size_t>(n));
      }
    }
    return true;
  }

  bool Canonical() {
    struct termios mode;
    return tcgetattr(Master, &mode) == 0 && (mode.c_lflag & ICANON) && (mode.c_lflag & ECHO) &&
           (mode.c_lflag & ISIG);
  }

  // Waits for the end of ulvan-run (at most 10 s); its exit status, or -1.
  int ExitStatus() {
    for (int k = 0; k < 1000; ++k) {
      int status = 0;
      const pid_t done = waitpid(Child, &status, WNOHANG);
      if (done == Child) {
        Child = -1;
        // What the program wrote last may still wait in the terminal's buffer.
        struct pollfd rest = {Master, POLLIN, 0};
        char buffer[256];
        ssize_t n = 0;
        while (poll(&rest, 1, 50) > 0 && (n = read(Master, buffer, sizeof buffer)) > 0)
          Screen.append(buffer, static_cast<std::size_t>(n));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      // Keep the terminal's buffer drained so the child never blocks on output.
      struct pollfd p = {Master, POLLIN, 0};
      if (poll(&p, 1, 10) > 0) {
        char buffer[256];
        const ssize_t n = read(Master, buffer, sizeof buffer);
        if (n > 0) Screen.append(buffer, static_cast<std::size_t>(n));
        else std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
    return -1;
  }

  pid_t Child = -1;
  int Master = -1;
  std::string Screen;
};

TEST_F(Interrupt, CtrlCStopsAnEndlessLoop) {
  Start("VAR i: Integer;\nBEGIN WriteLn('looping'); WHILE TRUE DO i := i + 1 END.");
  ASSERT_TRUE(WaitFor("looping")) << Screen;
  ASSERT_EQ(write(Master, "\003", 1), 1);
  EXPECT_EQ(ExitStatus(), 130);
  EXPECT_TRUE(Canonical());
}

TEST_F(Interrupt, SignalDuringALineReadRestoresTheTerminal) {
  Start("VAR s: String;\nBEGIN Write('name? '); ReadLn(s); WriteLn(s) END.");
  ASSERT_TRUE(WaitFor("name? ")) << Screen;
  // Wait until the read has put the terminal into raw mode.
  for (int k = 0; k < 2000 && Canonical(); ++k) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_FALSE(Canonical());
  kill(Child, SIGINT);
  EXPECT_EQ(ExitStatus(), 130);
  EXPECT_TRUE(Canonical());
}

// In raw mode Ctrl+C is a character of the line, not an interrupt.
TEST_F(Interrupt, CtrlCDuringALineReadIsACharacter) {
  Start("VAR s: String;\nBEGIN Write('name? '); ReadLn(s); IF s = 'a'#3 THEN WriteLn('got a and 3') END.");
  ASSERT_TRUE(WaitFor("name? ")) << Screen;
  for (int k = 0; k < 2000 && Canonical(); ++k) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  // A line read begins by discarding pending input, so a key typed in the moment between the
  // switch to raw mode and that discarding is lost: type "a" until its echo shows.
  bool echoed = false;
  for (int attempt = 0; attempt < 10 && !echoed; ++attempt) {
    ASSERT_EQ(write(Master, "a", 1), 1);
    echoed = WaitFor("name? a", std::chrono::seconds(2));
  }
  ASSERT_TRUE(echoed) << Screen;
  ASSERT_EQ(write(Master, "\003\r", 2), 2);
  EXPECT_EQ(ExitStatus(), 0);
  EXPECT_NE(Screen.find("got a and 3"), std::string::npos) << Screen;
  EXPECT_TRUE(Canonical());
}

}  // namespace
}  // namespace robust

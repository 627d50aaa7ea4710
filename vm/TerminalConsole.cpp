#include "TerminalConsole.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

// What the signal handlers need to put the terminal back: only one line read is in raw mode at
// a time in a process.
volatile std::sig_atomic_t RawActive = 0;
int RawFd = -1;
struct termios SavedMode;

// The output collected by the open console, for the handlers to write out: bytes *PendingFrom
// up to *PendingTo of PendingData.
const char *volatile PendingData = nullptr;
const volatile std::sig_atomic_t *volatile PendingFrom = nullptr;
const volatile std::sig_atomic_t *volatile PendingTo = nullptr;
int PendingFd = -1;

// write() until all is written or it fails; async-signal-safe.
void WriteFully(int fd, const char *data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // a failed write is not detected by the program
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

const int HandledSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction PreviousActions[3];
int HandlersInstalled = 0;

// Puts the terminal back and ends the process with the shell's status for a signal (130 for
// SIGINT). Only async-signal-safe calls here.
void RestoreAndExit(int sig) {
  if (PendingData != nullptr) {
    const std::sig_atomic_t from = *PendingFrom, to = *PendingTo;
    if (to > from) WriteFully(PendingFd, PendingData + from, static_cast<std::size_t>(to - from));
  }
  if (RawActive) {
    tcsetattr(RawFd, TCSANOW, &SavedMode);
    RawActive = 0;
  }
  _exit(128 + sig);
}

void InstallHandlers() {
  if (HandlersInstalled++ > 0) return;
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = RestoreAndExit;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < 3; ++i) sigaction(HandledSignals[i], &action, &PreviousActions[i]);
}

void RemoveHandlers() {
  if (HandlersInstalled == 0 || --HandlersInstalled > 0) return;
  for (int i = 0; i < 3; ++i) sigaction(HandledSignals[i], &PreviousActions[i], nullptr);
}

}  // namespace

TTerminalConsole::TTerminalConsole(int inFd, int outFd, bool setTitle)
    : InFd(inFd),
      OutFd(outFd),
      InIsTerminal(isatty(inFd) == 1),
      OutIsTerminal(isatty(outFd) == 1),
      SetTitle(setTitle) {}

TTerminalConsole::~TTerminalConsole() {
  EndLineRead();
  Release();
  Flush();
}

void TTerminalConsole::Open(const std::string &title) {
  if (IsOpen) return;
  IsOpen = true;
  if (!OutIsTerminal) {
    PendingFd = OutFd;
    PendingFrom = &Written;
    PendingTo = &Pending;
    PendingData = Buffer.data();
  }
  InstallHandlers();
  if (SetTitle && OutIsTerminal) {
    // Save the terminal's title, then set the program's.
    const std::string seq = "\033[22;0t\033]0;" + title + "\007";
    WriteAll(seq.data(), seq.size());
    TitlePushed = true;
  }
}

void TTerminalConsole::Release() {
  if (!IsOpen) return;
  EndLineRead();
  Flush();
  if (PendingData == Buffer.data()) PendingData = nullptr;
  if (TitlePushed) {
    static const char pop[] = "\033[23;0t";
    WriteAll(pop, sizeof pop - 1);
    TitlePushed = false;
  }
  RemoveHandlers();
  IsOpen = false;
}

void TTerminalConsole::WriteAll(const char *data, std::size_t size) { WriteFully(OutFd, data, size); }

void TTerminalConsole::Write(std::string_view bytes) {
  if (OutIsTerminal) {
    WriteAll(bytes.data(), bytes.size());
    return;
  }
  // CR LF goes out as LF.
  std::size_t from = 0;
  for (std::size_t cr = bytes.find("\r\n"); cr != std::string_view::npos;
       cr = bytes.find("\r\n", cr + 2)) {
    Append(bytes.data() + from, cr - from);
    from = cr + 1;
  }
  Append(bytes.data() + from, bytes.size() - from);
}

void TTerminalConsole::Append(const char *data, std::size_t size) {
  const auto pending = static_cast<std::size_t>(Pending);
  if (pending + size > BufferSize) {
    Flush();
    if (size > BufferSize / 2) {
      WriteAll(data, size);
      return;
    }
  }
  std::memcpy(Buffer.data() + Pending, data, size);
  // The bytes are in place before a signal handler can see the new size.
  std::atomic_signal_fence(std::memory_order_release);
  Pending = static_cast<std::sig_atomic_t>(static_cast<std::size_t>(Pending) + size);
}

void TTerminalConsole::Flush() {
  // Written moves on with every block the system takes, so a signal handler writes only the rest.
  while (Written < Pending) {
    const ssize_t n = write(OutFd, Buffer.data() + Written, static_cast<std::size_t>(Pending - Written));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // a failed write is not detected by the program
    Written = static_cast<std::sig_atomic_t>(Written + n);
  }
  Pending = 0;
  std::atomic_signal_fence(std::memory_order_release);
  Written = 0;
}

void TTerminalConsole::BeginLineRead() {
  Flush();
  if (!InIsTerminal || Raw) return;
  struct termios mode;
  if (tcgetattr(InFd, &mode) != 0) return;
  SavedMode = mode;
  RawFd = InFd;
  EraseChar = mode.c_cc[VERASE];
  mode.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ECHONL | ISIG | IEXTEN);
  mode.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR | IGNCR | IXON);
  mode.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  mode.c_cc[VMIN] = 1;
  mode.c_cc[VTIME] = 0;
  RawActive = 1;
  if (tcsetattr(InFd, TCSANOW, &mode) != 0) {
    RawActive = 0;
    return;
  }
  Raw = true;
}

void TTerminalConsole::EndLineRead() {
  if (!Raw) return;
  tcsetattr(InFd, TCSANOW, &SavedMode);
  RawActive = 0;
  Raw = false;
}

void TTerminalConsole::DiscardInput() {
  if (InIsTerminal) tcflush(InFd, TCIFLUSH);
}

int TTerminalConsole::ReadChar() {
  Flush();
  unsigned char c;
  for (;;) {
    const ssize_t n = read(InFd, &c, 1);
    // The terminal's erase key (usually DEL) is the console's backspace.
    if (n == 1) return Raw && EraseChar != _POSIX_VDISABLE && c == EraseChar ? 8 : c;
    if (n < 0 && errno == EINTR) continue;
    return NoChar;
  }
}

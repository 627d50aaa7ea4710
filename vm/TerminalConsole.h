// The terminal as a run's console (command line). Raw mode only while a line is read and only
// when the input is a terminal; the previous mode comes back after each read and on every way
// out, signals included: while the console is open, SIGINT, SIGTERM and SIGHUP restore it and
// end the process with the status 128 + the signal's number (130 for an interrupt). The
// terminal's erase key (Backspace, usually DEL) reads as 8.
//
// Output to a terminal is written at once. Output to a pipe or a file is collected and written
// in large blocks: before every read of input, when the console is released (the end of a run,
// also by an error, before its report), on Flush, and by the signal handlers above before the
// process ends, so nothing is lost or reordered against the input and stderr.
#pragma once

#include <array>
#include <csignal>
#include <termios.h>

#include "Console.h"

class TTerminalConsole final : public IConsole {
 public:
  // inFd/outFd: the descriptors to use (stdin/stdout by default). setTitle: on Open, set the
  // terminal's title to the program name when the output is a terminal (restored on Release).
  explicit TTerminalConsole(int inFd = 0, int outFd = 1, bool setTitle = true);
  ~TTerminalConsole() override;
  TTerminalConsole(const TTerminalConsole &) = delete;
  TTerminalConsole &operator=(const TTerminalConsole &) = delete;

  void Open(const std::string &title) override;
  void Release() override;
  void Write(std::string_view bytes) override;
  bool IsInteractive() const override { return InIsTerminal; }
  void BeginLineRead() override;
  void EndLineRead() override;
  void DiscardInput() override;
  int ReadChar() override;
  // Writes the collected output now.
  void Flush();

 private:
  static constexpr std::size_t BufferSize = 1 << 16;

  void WriteAll(const char *data, std::size_t size);
  void Append(const char *data, std::size_t size);

  int InFd;
  int OutFd;
  bool InIsTerminal;
  bool OutIsTerminal;
  bool SetTitle;
  bool IsOpen = false;
  bool TitlePushed = false;
  bool Raw = false;
  cc_t EraseChar = 0;
  // Output collected for a pipe or a file: bytes Written..Pending of it are still to be written.
  std::array<char, BufferSize> Buffer;
  volatile std::sig_atomic_t Pending = 0;
  volatile std::sig_atomic_t Written = 0;
};

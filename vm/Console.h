// The console of a running program: the small interface through which the interpreter writes
// text and reads keys. Implementations: TMemoryConsole (tests), TTerminalConsole (command line)
// and the editor's console window.
//
// A line read by the interpreter goes:
//   BeginLineRead(); if (IsInteractive()) DiscardInput();
//   repeat ReadChar(), echo with Write(), ProcessMessages() ... until the line ends;
//   EndLineRead()   (always, also when the read ends by an exception)
// Echo and backspace erasing are the interpreter's: a console never echoes by itself.
#pragma once

#include <string>
#include <string_view>

class IConsole {
 public:
  // ReadChar's answer when no character will come any more (end of input, hang-up, closed).
  static constexpr int NoChar = -1;

  virtual ~IConsole() = default;

  // Start of a run: make the console visible, titled with the program name (may be empty).
  virtual void Open(const std::string &title) = 0;
  // End of a run. Calling it again, or without Open, does nothing.
  virtual void Release() = 0;

  // Writes the bytes unchanged (a terminal whose output is not a terminal writes CR LF as LF).
  virtual void Write(std::string_view bytes) = 0;

  // True when a person types the input: the interpreter then echoes, discards type-ahead at the
  // start of a line and only CR (Enter) ends a line. False for piped input: no echo, no
  // discarding, and LF or CR LF ends a line.
  virtual bool IsInteractive() const = 0;

  // Bracket one line read (the terminal switches to raw mode in between).
  virtual void BeginLineRead() {}
  virtual void EndLineRead() {}
  // Drops the keys typed before the read began.
  virtual void DiscardInput() = 0;
  // Waits for one key and answers its character code 0..255, or NoChar.
  virtual int ReadChar() = 0;

  // Called after every key of a line read except the one that ends it: a window handles its
  // pending events here. It may call TUVCInterpreter::Stop, which ends the run.
  virtual void ProcessMessages() {}
  // Called now and then while the program computes (after many backward jumps), so a window
  // can stay responsive; it may call TUVCInterpreter::Stop as well. Terminals do nothing.
  virtual void Poll() {}
};

#include "MemoryConsole.h"

void TMemoryConsole::Open(const std::string &title) {
  Title = title;
  IsOpen = true;
  ++OpenCount;
}

void TMemoryConsole::Release() { IsOpen = false; }

void TMemoryConsole::DiscardInput() { TypeAhead.clear(); }

int TMemoryConsole::ReadChar() {
  if (!TypeAhead.empty()) {
    const auto c = static_cast<unsigned char>(TypeAhead.front());
    TypeAhead.erase(0, 1);
    return c;
  }
  if (InputPos >= Input.size()) {
    if (OnWait) OnWait();
    return NoChar;
  }
  return static_cast<unsigned char>(Input[InputPos++]);
}

void TMemoryConsole::ProcessMessages() {
  if (OnProcessMessages) OnProcessMessages();
}

void TMemoryConsole::Poll() {
  ++PollCount;
  if (OnPoll) OnPoll();
}

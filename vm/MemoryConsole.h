// A console in memory: scripted keys in, captured bytes out. For tests and for hosts that run a
// program without a person at the keyboard.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "Console.h"

class TMemoryConsole final : public IConsole {
 public:
  // input: the keys, byte by byte; interactive: see IConsole::IsInteractive.
  explicit TMemoryConsole(std::string input = {}, bool interactive = true)
      : Input(std::move(input)), Interactive(interactive) {}

  void Open(const std::string &title) override;
  void Release() override;
  void Write(std::string_view bytes) override { Output.append(bytes); }
  bool IsInteractive() const override { return Interactive; }
  void BeginLineRead() override { ++LineReads; }
  void DiscardInput() override;
  int ReadChar() override;
  void ProcessMessages() override;
  void Poll() override;

  // Keys "typed before the read began": DiscardInput drops them, a piped console reads them
  // first.
  void SetTypeAhead(std::string keys) { TypeAhead = std::move(keys); }
  // More keys after the ones already given.
  void AddInput(std::string_view keys) { Input.append(keys); }

  std::string Input;
  std::size_t InputPos = 0;
  std::string TypeAhead;
  std::string Output;
  std::string Title;
  bool Interactive;
  bool IsOpen = false;
  int OpenCount = 0;
  int LineReads = 0;
  int PollCount = 0;
  // Called by ProcessMessages and Poll when set.
  std::function<void()> OnProcessMessages;
  std::function<void()> OnPoll;
  // Called by ReadChar when no key is left, before it answers NoChar: what a person does while
  // the program waits for a key (e.g. stop the run).
  std::function<void()> OnWait;
};

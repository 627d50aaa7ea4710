// The debugger's own state, shared by its source files (session and run commands, values,
// machine view). Internal to the debugger.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "Debugger.h"

struct TUVDebugger::TImpl {
  IProgramRef Program;
  TStopInfo Last;
  bool Active = false;           // a session runs or stands at a stop it can go on from
  bool StopAsked = false;        // Stop was called during the running command
  bool BreaksChanged = false;    // breakpoints changed during the running command
  std::atomic<bool> PauseWanted{false};

  // The statement table, digested: the first instruction of every statement a step can stop
  // at (sorted) with its line, and which of them enter their line from another one.
  std::vector<std::int32_t> StepPCs;
  std::vector<std::int32_t> StepLines;
  std::vector<bool> LineEntry;
  std::vector<std::int32_t> BreakLines;  // bound lines, ascending
  std::vector<std::int32_t> BreakPCs;    // their line entries, ascending

  // For the changed flags: the store as it was at the previous stop whose values were read, and
  // at this one, copied when values are first read at a stop (stops nobody looks at cost no copy).
  std::vector<std::uint8_t> Before, Now;
  bool HaveBefore = false;
  std::int64_t Stops = 0;         // stops made in this session
  std::int64_t NowStop = -1;      // the stop Now was copied at
  // The store at the previous stop values were read at; nullptr when there is none.
  const std::vector<std::uint8_t> *Previous(const TUVCInterpreter &machine);

  void Digest();
  // The first line at or after `line` that has a statement; 0 when none.
  std::int32_t BindLine(std::int32_t line) const;
  // The instructions where execution enters a line (ascending).
  std::vector<std::int32_t> EntriesOf(std::int32_t line) const;
  void RebindBreakpoints();
  bool IsStepPC(std::int32_t pc) const;
  bool IsBreakPC(std::int32_t pc) const;
};

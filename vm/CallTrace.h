// Where a run stands in the source: the active calls, innermost first, each with its routine and
// the line of the statement it is executing. Used to show a run-time error at its line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TUVCInterpreter;

struct TCallFrame {
  std::string Routine;  // as declared; the main program by its PROGRAM name
  std::int32_t Line;    // 0: unknown
  bool operator==(const TCallFrame &) const = default;
};

// The active calls at the interpreter's state (after an error: the state of the failing
// instruction), innermost first, found along the frames' dynamic links. A frame the links do
// not lead to sensibly (a corrupted store) ends the list. Empty without a program.
std::vector<TCallFrame> ActiveCalls(const TUVCInterpreter &interpreter);

// A run-time error's message as the editor's error box shows it: a "." is appended when the
// message does not end in a character at or below "." itself.
std::string ErrorBoxText(std::string message);

// The report of a run-time error as ulvan-run writes it on stderr, one line each, ending in a
// line end:
//   [Run-time error] demo.pas(12): Division by zero.
//     in Average, demo.pas(12)
//     called from Demo, demo.pas(41)
// `message` is as the error box shows it; `fileName` the source file's bare name. A run of
// identical callers (deep recursion) is folded into "  ... N more calls of NAME".
std::string FormatRunError(const std::string &fileName, const std::string &message,
                           const std::vector<TCallFrame> &calls);

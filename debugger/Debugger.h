// The debugger's engine: runs a compiled program under TUVCInterpreter in pieces, stopping at
// breakpoints (by source line), after steps and on request, and shows the state at a stop by
// the names of the source, from the debug information the compiler keeps beside the program
// (DebugInfo.h). Qt-free; used by `ulvan-run --debug` and by the editor window.
//
// Threading: every member is called on the thread that runs the program, except Pause, which may
// be called from any thread. The run commands (Continue, StepInto, ...) block until the next stop;
// while they run, the console's Poll and ProcessMessages are called as in a plain run, and may call
// Pause, Stop, SetBreakpoint and ClearBreakpoint (the new breakpoints count at once); any other
// member called from there answers as between two stops, and run commands are refused (they answer
// the last stop again without running anything).
//
// A session: Load(program) -> Start() [reason Start, before the first statement]
//   -> run commands and inspection at each stop ... -> a stop of reason Ended, RunError or
//   Stopped ends the session; the state stays inspectable (post mortem) until the next Start or
//   Load.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DebugInfo.h"
#include "Interpreter.h"
#include "Program.h"

enum class TStopReason : std::uint8_t {
  Start,       // stopped before the first statement
  Breakpoint,  // at a breakpoint's statement
  Step,        // a step, run to line, or single instruction finished
  Pause,       // Pause was honoured
  RunError,    // a run-time error: PC, SP and MP as the failing instruction left them
  Ended,       // the program ran to its end (also HALT)
  Stopped,     // Stop ended the run
};

// Why and where a command stopped.
struct TStopInfo {
  TStopReason Reason = TStopReason::Stopped;
  std::string Message;       // RunError: the message as the error box shows it ("Division by zero.")
  std::int32_t PC = 0;       // the next instruction (RunError: the failing one)
  std::int32_t Line = 0;     // the source line of the statement at PC; 0: none
  std::string Routine;       // the routine whose code holds PC (the main program by its name)
};

// One active call, innermost first.
struct TStackFrame {
  std::string Routine;
  std::int32_t Line = 0;     // the statement being executed in it (outer frames: the call)
  std::int32_t MP = 0;       // its frame's address
  std::int32_t PC = 0;       // innermost: PC; outer frames: the instruction of the call (its Jump)
  std::int32_t RoutineIndex = -1;  // into TDebugInfo::Routines; -1 unknown
};

// A value shown by name. Children (record fields, array elements, a pointer's target) are fetched
// on demand with TUVDebugger::Children.
struct TValueNode {
  std::string Name;          // "x", "a[3]", "r.key", "p^"; a designator that reaches the value
  std::string TypeName;      // "Integer", "TNode", "ARRAY[1..10] OF Integer", "^TNode"
  std::string Value;         // one line: 42, 1.5, TRUE, 'it''s', NIL, ^1204, (key: 5; next: NIL),
                             // [3, 1, 4] (after 100 elements: ..., 900 more)
  bool Changed = false;      // its bytes differ from the previous stop at which values were
                             // read (false at the first one)
  bool HasChildren = false;
  std::int32_t ChildCount = 0;  // fields, elements, or 1 for a pointer that is not NIL
  bool VarParameter = false; // a VAR parameter, shown as the variable it refers to
  // Where the value lies and of which type: what Children needs. Address -1: not in the store.
  std::int32_t Address = -1;
  std::int32_t Type = -1;    // into TDebugInfo::Types
};

// The answer of Evaluate: a node, or a one-line message why there is none.
struct TEvaluation {
  bool Ok = false;
  TValueNode Node;
  std::string Error;         // e.g. "Unknown identifier: foo", "Index 11 out of 1..10"
};

// One labelled piece of the store between a frame and SP (the machine view).
struct TStackCell {
  std::int32_t Address = 0;
  std::int32_t Size = 0;     // bytes
  std::string Label;         // "i: Integer", "x (VAR parameter)", "static link", "saved MP",
                             // "return address", "Result", "" for the expression stack's bytes
};

struct TMachineState {
  std::int32_t PC = 0, SP = 0, MP = 0;
  std::string Instruction;   // the instruction at PC as the listing writes it
};

class TUVDebugger {
 public:
  // The interpreter (and its console) is not owned and must outlive the debugger.
  explicit TUVDebugger(TUVCInterpreter &interpreter);
  ~TUVDebugger();
  TUVDebugger(const TUVDebugger &) = delete;
  TUVDebugger &operator=(const TUVDebugger &) = delete;

  // ---- Session
  // Takes a compiled program with its debug information; ends any session (as Stop does).
  // Breakpoints are kept by line and bound again to the new program's statements.
  void Load(IProgramRef program);
  // Starts the program (console opened) and stops before its first statement (reason Start).
  // Without a program: reason Stopped.
  TStopInfo Start();
  // A session runs or is stopped at a stop from which it can go on.
  bool IsActive() const;
  // A run command is executing (the program runs; inspection waits for its stop).
  bool IsRunning() const { return Running.load(); }
  const TStopInfo &LastStop() const;
  const IProgramRef &GetProgram() const;
  const TDebugInfo *GetDebugInfo() const;  // nullptr without a program

  // ---- Breakpoints, by source line
  // A line without a statement binds to the next line that has one. Answers the line used, 0
  // when no line at or after it has a statement (nothing set).
  std::int32_t SetBreakpoint(std::int32_t line);
  // Clears the breakpoint bound to `line` (the answer of SetBreakpoint); false when none was.
  bool ClearBreakpoint(std::int32_t line);
  void ClearAllBreakpoints();
  std::vector<std::int32_t> Breakpoints() const;  // bound lines, ascending
  // The lines that have a statement where a step can stop, ascending.
  std::vector<std::int32_t> StatementLines() const;

  // ---- Run commands: each runs until the next stop and answers it. When no session is active
  // they answer the last stop again.
  TStopInfo Continue();         // to a breakpoint or the end
  TStopInfo StepInto();         // to the next statement start anywhere
  TStopInfo StepOver();         // to the next statement start at the same or a shallower call
                                // depth (a breakpoint in a deeper call still stops)
  TStopInfo StepOut();          // to the first statement start after the current routine returned
  TStopInfo RunToLine(std::int32_t line);  // to the line's statement (bound as breakpoints are),
                                           // or an earlier breakpoint
  TStopInfo StepInstruction();  // one machine instruction
  // Asks the running command to stop (reason Pause): from any thread or a console callback.
  // Honoured within a bounded number of instructions, then at the next statement start when the
  // program is in code that has one. Does nothing when nothing runs.
  void Pause();
  // Ends the run (reason Stopped). From a console callback it ends the running command.
  void Stop();

  // ---- Inspection at a stop (also post mortem). Frame 0 is the innermost.
  std::vector<TStackFrame> CallStack() const;
  // A frame's parameters (VAR ones shown as the variable they refer to) and locals, a
  // function's result first as "Result"; empty for the main program's frame and bad numbers.
  std::vector<TValueNode> Parameters(std::int32_t frame) const;
  std::vector<TValueNode> Locals(std::int32_t frame) const;
  std::vector<TValueNode> Globals() const;
  // The fields of a record, the elements first .. first+count-1 of an array (count < 0: all;
  // clipped to the array), the target of a pointer (one node, named "p^"); empty otherwise.
  std::vector<TValueNode> Children(const TValueNode &node, std::int32_t first = 0,
                                   std::int32_t count = -1) const;
  // A designator in the scope of a frame: a[i], a[2, 3], r.f, p^, p^.next^.key; an index is a
  // constant or a variable; variables of enclosing routines are reached through the static link.
  TEvaluation Evaluate(const std::string &designator, std::int32_t frame = 0) const;

  // ---- The machine view
  TMachineState Machine() const;
  std::int32_t InstructionCount() const;
  // The listing's text of an instruction ("PushInt\t5"); empty outside the program.
  std::string InstructionText(std::int32_t index) const;
  // The source line of the statement an instruction belongs to; 0: none.
  std::int32_t LineOfInstruction(std::int32_t index) const;
  // The first instruction of each statement on a line (for the source-to-listing direction).
  std::vector<std::int32_t> InstructionsOfLine(std::int32_t line) const;
  // The store from a frame (its function result, if any, first) up to SP, labelled.
  std::vector<TStackCell> StackCells(std::int32_t frame) const;
  const TUVCInterpreter &Interpreter() const { return Machine_; }

 private:
  struct TImpl;
  TStopInfo RunUntil(int mode, std::int32_t line);
  // The stop at the interpreter's state now; the store is kept for the changed flags.
  TStopInfo Stopped(TStopReason reason, std::string message);
  std::vector<TValueNode> FrameVariables(std::int32_t frame, bool parameters) const;
  TUVCInterpreter &Machine_;
  std::unique_ptr<TImpl> Impl;
  std::atomic<bool> Running{false};
};

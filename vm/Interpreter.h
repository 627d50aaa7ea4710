// The stack machine's interpreter: a 64001-byte store used as stack, frames and variables, the
// registers PC, MP and SP, and the console of a run.
//
// The machine, in the order a reader meets it:
//   Opcodes.h            the instruction set: one table of opcodes, mnemonics and operand kinds
//   Instruction.h        one instruction; Program.h the program store
//   Semantics.inc        what every instruction does, written once (helpers: ExecMacros.h,
//                        StoreAccess.h; the arithmetic rules shared with the compiler's constant
//                        folding: Arithmetic.h)
//   Interpreter.cpp      registers, store, Step (one instruction through Semantics.inc), Run
//   ConsoleIO.cpp        the console operations of a run
//   Errors.h             the run-time errors
//   fast/RunLoop.cpp     Run's loop: the program decoded once into slots, computed goto
//   fast/Superinstructions.def, .h, .cpp
//                        the superinstructions declared as data and the decoder's longest
//                        match; fast/gen/GenerateFused.cpp composes their bodies from
//                        Semantics.inc at build time
//   Listing.cpp          the readable listing (.uvc); CallTrace.cpp the active calls of an error
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Console.h"
#include "Program.h"

class TUVCInterpreter {
 public:
  static constexpr std::int32_t StoreLimit = 64000;           // highest address
  static constexpr std::int32_t StoreSize = StoreLimit + 1;   // 64001 bytes

  // The console is not owned and must outlive the runs; none: output is dropped and input is
  // at its end at once.
  explicit TUVCInterpreter(IConsole *console = nullptr);
  ~TUVCInterpreter();
  TUVCInterpreter(const TUVCInterpreter &) = delete;
  TUVCInterpreter &operator=(const TUVCInterpreter &) = delete;

  void SetConsole(IConsole *console);
  IConsole &GetConsole() const { return *Console; }

  // Refused (false) while running. Otherwise takes the program (may be none), sets PC, SP and MP
  // to 0 and answers true; the store keeps its bytes.
  bool LoadProgram(IProgramRef program);
  const IProgramRef &GetProgram() const { return Program; }

  // Opens the console, executes from instruction 0 until the outermost Ret, Halt or an error,
  // and releases the console in every case. Errors (ERunError) reach the caller with PC, SP and
  // MP as the failing instruction left them (a failing push or IncSP leaves SP where it was).
  // A Stop from the console's ProcessMessages or Poll ends the run without error. Run called
  // again while running (from a console callback) returns at once; the interpreter must not be
  // destroyed from inside a callback of its own run.
  void Run();
  // Executes one instruction (PC < 0: stops instead), with the same effect as Run has on it.
  // The console is used as it is (Step does not open it).
  void Step();
  // Ends the run and releases the console; harmless when idle.
  void Stop();
  bool IsRunning() const { return Running; }

  std::int32_t GetPC() const { return PC; }
  std::int32_t GetMP() const { return MP; }
  std::int32_t GetSP() const { return SP; }
  const std::uint8_t *GetStore() const { return Store.data(); }
  // For tests and debuggers. SP must lie in -1..StoreLimit.
  void SetRegisters(std::int32_t pc, std::int32_t mp, std::int32_t sp);
  std::uint8_t *StoreData() { return Store.data(); }

  // Checked pushes and pops (TStoreOverflow "Store overflow" / "Store underflow").
  void PushIntValue(std::int32_t value);
  void PushRealValue(double value);
  void PushBoolValue(bool value);
  void PushStrValue(std::string_view value);  // keeps the first 255 characters
  std::int32_t PopIntValue();
  double PopRealValue();
  bool PopBoolValue();
  std::string PopStrValue();
  // Copies n bytes from s to d, byte by byte upwards; "Store over/underflow" when either block
  // leaves 0..StoreLimit-1 or n < 0.
  void MoveBytes(std::int32_t s, std::int32_t d, std::int32_t n);

  // For tests: while set, every run of a superinstruction of kind k (Superinstructions.h)
  // adds one to (*runs)[k - fxFirst] (runs must hold one counter per kind). Null: no counting.
  void CountSuperinstructions(std::vector<std::uint64_t> *runs) { FusedRuns = runs; }

  // Console operations of a run.
  void WriteConsoleText(std::string_view text);
  // One line with the interpreter's own echo and backspace editing, without its line end.
  std::string ReadConsoleLine();

 private:
  struct TLine {
    std::string Text;
    bool AtEnd;  // the input ended before a line end
  };
  TLine ReadLine();
  std::int32_t ReadConsoleInt();
  double ReadConsoleReal();

  void RunLoop();

  IConsole *Console;
  IProgramRef Program;
  std::int32_t PC = 0;
  std::int32_t MP = 0;
  std::int32_t SP = 0;
  std::vector<std::uint64_t> *FusedRuns = nullptr;
  bool Running = false;
  bool InRead = false;         // a line read is waiting for keys
  bool StopRequested = false;  // Stop was called during a line read
  bool SkipLF = false;         // piped input: a line ended by CR swallows a following LF
  std::array<std::uint8_t, StoreSize> Store{};
};

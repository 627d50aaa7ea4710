// The stack machine's interpreter: a 64001-byte store used as stack, frames and variables, the
// registers PC, MP and SP, and the console of a run.
//
// The machine, in the order a reader meets it:
//   Opcodes.h            the instruction set: one table of opcodes, mnemonics and operand kinds
//   Instruction.h        one instruction; Program.h the program store
//   Semantics.inc        what every instruction does, written once (helpers: ExecMacros.h,
//                        StoreAccess.h; the arithmetic rules shared with the compiler's constant
//                        folding: Arithmetic.h)
//   Interpreter.cpp      registers, store, Step (one instruction through Semantics.inc), Run and
//                        the run in pieces of debuggers (BeginRun, Resume, stop PCs)
//   ConsoleIO.cpp        the console operations of a run
//   Errors.h             the run-time errors
//   fast/RunLoop.cpp     Run's loop: the program decoded once into slots (DecodedProgram.h),
//                        computed goto or a switch (-DULVAN_SWITCH_DISPATCH)
//   fast/Superinstructions.def, .h, .cpp
//                        the superinstructions declared as data and the decoder's longest
//                        match; fast/gen/GenerateFused.cpp makes their bodies at build
//                        time: register forms (fast/gen/RegisterForm.cpp) that keep the
//                        values in locals, or the instructions' code from Semantics.inc
//                        one after the other
//   native/NativeLoops.h loops translated at decode time into x86-64 code that runs them as
//                        their instructions would (native/LoopTranslator.cpp; the machine code
//                        emitter: native/X64Emitter.cpp), returning to the run loop before any
//                        instruction it cannot prove safe
//   Listing.cpp          the readable listing (.uvc); CallTrace.cpp the active calls of an error
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
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

  // ---- Running in pieces (debuggers)
  // BeginRun opens the console and starts a run at instruction 0 without executing anything;
  // Resume then runs it on from the current registers until one of the TRunExit reasons, and
  // can be called again after AtStopPC and Paused. Between two calls the registers and the store
  // may be read (and SetRegisters / Step used); the console stays open until the run ends.
  //
  //   SetStopPCs({5, 9});  BeginRun();
  //   while (Resume() == TRunExit::AtStopPC) Inspect(GetPC());
  enum class TRunExit : std::uint8_t {
    Ended,     // the outermost Ret or a Halt ended the program; the console is released
    Stopped,   // Stop was called (by the caller or a console callback), or nothing was running
    AtStopPC,  // PC is a stop PC and that instruction has not run
    Paused,    // RequestPause was seen; PC is the next instruction to run
  };
  // Refused (false) while running. Otherwise opens the console as Run does, sets PC to 0 and
  // answers true.
  bool BeginRun();
  // Runs from PC, SP and MP as they are. The instruction at PC always runs, even when it is a
  // stop PC (so that a resume after a stop goes on); every later instruction whose index is a
  // stop PC stops the run before it (AtStopPC). Run-time errors as in Run (the run ends, the
  // registers stay where the failing instruction left them). A Resume without a run started
  // answers Stopped at once.
  TRunExit Resume();
  // The instruction indexes before which Resume stops; indexes outside the program are ignored.
  // The decoded program is kept between resumes and built again only when the program, the stop
  // set or the run (BeginRun) changes; the two most recent stop sets stay decoded, so switching
  // back and forth between two sets costs nothing after the first time. Run ignores stop PCs.
  void SetStopPCs(std::vector<std::int32_t> pcs);
  const std::vector<std::int32_t> &GetStopPCs() const { return StopPCs; }
  // Asks the running Resume to return Paused; safe from any thread and from console callbacks.
  // It is checked where the console is polled, after at most PollInterval backward jumps; every
  // endless run of the machine (a loop, a recursion: a call or a return jumps backwards) keeps
  // jumping backwards, so the pause comes within a bounded number of instructions. A request made
  // between two resumes makes the next Resume answer Paused before running anything. Run
  // ignores it.
  void RequestPause() { PauseRequested.store(true, std::memory_order_relaxed); }
  // Backward jumps between two calls of the console's Poll.
  static constexpr std::uint32_t PollInterval = 1u << 16;

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
  // adds one to (*runs)[k - fxFirst], and every run that leaves its fast path for the
  // instructions' own code adds one to (*runs)[FusedCount + k - fxFirst] (runs must hold two
  // counters per kind). Null: no counting.
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

  struct TDecoded;
  // Runs the decoded program (decoding it first when it is empty) from the registers.
  TRunExit RunLoop(TDecoded &decoded);
  // The decoded program for the current stop set, from the cache or a fresh empty one.
  TDecoded &DecodedForStops();
  void ForgetDecoded();

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
  std::atomic<bool> PauseRequested{false};
  std::uint32_t PollLeft = PollInterval;  // backward jumps until the next Poll, across resumes
  std::vector<std::int32_t> StopPCs;      // sorted, without duplicates
  // The decoded programs of the two most recent stop sets, most recent first.
  std::array<std::unique_ptr<TDecoded>, 2> DecodedCache;
  alignas(64) std::array<std::uint8_t, StoreSize> Store{};  // a cache line apart from run to run
};

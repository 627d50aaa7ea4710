// Shared pieces of the fuzz targets: the run-time errors a run may end with, a bounded run of a
// loaded program, and a scratch source file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include <unistd.h>

#include "CallTrace.h"
#include "Errors.h"
#include "Interpreter.h"
#include "MemoryConsole.h"
#include "Random.h"

namespace fuzz {

// Stops the fuzzer with a message; libFuzzer reports the input as a crash.
[[noreturn]] inline void Fail(const std::string &what) {
  std::fprintf(stderr, "FUZZ CHECK FAILED: %s\n", what.c_str());
  std::abort();
}

// The messages a run of any program may end with.
inline bool IsRunTimeErrorMessage(std::string_view m) {
  static const char *const Known[] = {"No instruction",
                                      "No program or no program command present",
                                      "Store overflow",
                                      "Store underflow",
                                      "Store over/underflow",
                                      "Division by zero",
                                      "Floating point division by zero",
                                      "Invalid floating point operation",
                                      "Floating point overflow",
                                      "Unexpected end of input"};
  for (const char *k : Known)
    if (m == k) return true;
  return false;
}

struct TRunOutcome {
  bool Ended = false;   // ended normally or by an error (not by a bound)
  bool Failed = false;  // ended by a run-time error
  std::string Message;
};

inline void CheckError(const ERunError &e, TRunOutcome &outcome) {
  if (!IsRunTimeErrorMessage(e.what())) Fail(std::string("unknown run-time error: ") + e.what());
  outcome.Ended = outcome.Failed = true;
  outcome.Message = e.what();
}

inline void CheckSP(const TUVCInterpreter &vm) {
  if (vm.GetSP() < -1 || vm.GetSP() > TUVCInterpreter::StoreLimit) Fail("SP outside the store");
}

// Executes the loaded program with Step, at most `limit` instructions. The console is opened
// as Run would; the run has ended when Stop released it (the outermost Ret, Halt) or an error
// left Step. Any exception other than a run-time error with a known message is a fault.
inline TRunOutcome SteppedRun(TUVCInterpreter &vm, TMemoryConsole &console, int limit) {
  TRunOutcome outcome;
  console.Open(vm.GetProgram() ? vm.GetProgram()->GetProgramName() : std::string());
  for (int steps = 0; steps < limit && console.IsOpen; ++steps) {
    try {
      vm.Step();
    } catch (const ERunError &e) {
      CheckError(e, outcome);
      return outcome;
    }
    CheckSP(vm);
  }
  outcome.Ended = !console.IsOpen;
  return outcome;
}

// Runs the loaded program with Run, stopped at the console's first Poll (after 65536 backward
// jumps), so that every run ends.
inline TRunOutcome BoundedRun(TUVCInterpreter &vm, TMemoryConsole &console) {
  TRunOutcome outcome;
  console.OnPoll = [&] { vm.Stop(); };
  try {
    vm.Run();
    outcome.Ended = console.PollCount == 0;
  } catch (const ERunError &e) {
    CheckError(e, outcome);
    // The error's place is read from whatever the program left in the store.
    if (ActiveCalls(vm).empty()) Fail("no active call after a run-time error");
  }
  if (vm.IsRunning()) Fail("the interpreter is still running after Run");
  if (console.IsOpen) Fail("the console is still open after Run");
  CheckSP(vm);
  return outcome;
}

// The same program run both ways from the same state must end the same way: same error, same
// registers, same output, same store.
inline void CompareRuns(const TUVCInterpreter &stepped, const TMemoryConsole &stepConsole,
                        const TRunOutcome &stepOutcome, const TUVCInterpreter &run,
                        const TMemoryConsole &runConsole, const TRunOutcome &runOutcome) {
  if (!runOutcome.Ended) Fail("Run polled although Step ended within the bound");
  if (stepOutcome.Failed != runOutcome.Failed || stepOutcome.Message != runOutcome.Message)
    Fail("Step ended with '" + stepOutcome.Message + "' at PC " + std::to_string(stepped.GetPC()) +
         " after writing\n" + stepConsole.Output + "\nRun ended with '" + runOutcome.Message + "' at PC " +
         std::to_string(run.GetPC()) + " after writing\n" + runConsole.Output);
  if (stepped.GetPC() != run.GetPC() || stepped.GetSP() != run.GetSP() || stepped.GetMP() != run.GetMP())
    Fail("registers differ: Step PC/SP/MP " + std::to_string(stepped.GetPC()) + "/" +
         std::to_string(stepped.GetSP()) + "/" + std::to_string(stepped.GetMP()) + ", Run " +
         std::to_string(run.GetPC()) + "/" + std::to_string(run.GetSP()) + "/" + std::to_string(run.GetMP()));
  if (stepConsole.Output != runConsole.Output) Fail("output differs between Step and Run");
  if (std::memcmp(stepped.GetStore(), run.GetStore(), TUVCInterpreter::StoreSize) != 0)
    Fail("store differs between Step and Run");
}

// Runs the loaded program of `program` with Step (at most `limit` instructions) and, when that
// run ended within the bound, once more with Run, and compares the two.
inline TRunOutcome RunBothWays(const IProgramRef &program, const std::string &input, bool interactive,
                               int limit, std::uint32_t seed) {
  TMemoryConsole stepConsole(input, interactive);
  // On the heap, so that an access past the store's end meets the allocator's red zone.
  auto stepped = std::make_unique<TUVCInterpreter>(&stepConsole);
  stepped->LoadProgram(program);
  RandSeed = seed;
  const TRunOutcome stepOutcome = SteppedRun(*stepped, stepConsole, limit);
  if (!stepOutcome.Ended) return stepOutcome;

  TMemoryConsole runConsole(input, interactive);
  auto run = std::make_unique<TUVCInterpreter>(&runConsole);
  run->LoadProgram(program);
  RandSeed = seed;
  const TRunOutcome runOutcome = BoundedRun(*run, runConsole);
  CompareRuns(*stepped, stepConsole, stepOutcome, *run, runConsole, runOutcome);
  return stepOutcome;
}

// A scratch file of this process, rewritten for every input and removed at exit.
struct TScratchFile {
  explicit TScratchFile(const char *suffix)
      : Path(std::string("/tmp/ulvan-fuzz-") + std::to_string(::getpid()) + suffix) {}
  ~TScratchFile() { std::remove(Path.c_str()); }
  std::string Path;
};

inline void WriteFileOrDie(const std::string &path, const std::uint8_t *data, std::size_t size) {
  std::FILE *f = std::fopen(path.c_str(), "wb");
  if (!f) Fail("cannot write " + path);
  if (size > 0 && std::fwrite(data, 1, size, f) != size) Fail("cannot write " + path);
  std::fclose(f);
}

}  // namespace fuzz

// Helpers of the machine's tests: a small assembler and a runner that executes a program both
// with Run and step by step and checks that both end in the same state.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Errors.h"
#include "Interpreter.h"
#include "MemoryConsole.h"
#include "Program.h"
#include "native/NativeLoops.h"

namespace vmtest {

class TAsm {
 public:
  TAsm() : Prog(NewProgram()) { Prog->SetProgramName("test"); }

  TAsm &Op(TOpcode op, std::int32_t n = 0) {
    TInstruction i;
    i.Opcode = op;
    i.IntValue = n;
    Prog->AddInstruction(i);
    return *this;
  }
  TAsm &Real(double v) {
    TInstruction i;
    i.Opcode = ocPushReal;
    i.RealValue = v;
    Prog->AddInstruction(i);
    return *this;
  }
  TAsm &Bool(bool v) {
    TInstruction i;
    i.Opcode = ocPushBool;
    i.BoolValue = v ? 1 : 0;
    Prog->AddInstruction(i);
    return *this;
  }
  TAsm &Str(const std::string &s) {
    TInstruction i;
    i.Opcode = ocPushStr;
    i.StrValue.Assign(s);
    Prog->AddInstruction(i);
    return *this;
  }
  // Init, then IncSP so that SP ends at sp (>= 11).
  TAsm &StackAt(std::int32_t sp) { return Op(ocInit).Op(ocIncSP, sp - 11); }
  std::int32_t Count() const { return Prog->GetCount(); }

  IProgramRef Prog;
};

struct TOutcome {
  std::string Error;  // empty: no error
  std::int32_t PC = 0, SP = 0, MP = 0;
  std::string Output;
  std::vector<std::uint8_t> Store;
};

inline TOutcome Capture(const TUVCInterpreter &vm, const TMemoryConsole &console, std::string error) {
  TOutcome o;
  o.Error = std::move(error);
  o.PC = vm.GetPC();
  o.SP = vm.GetSP();
  o.MP = vm.GetMP();
  o.Output = console.Output;
  o.Store.assign(vm.GetStore(), vm.GetStore() + TUVCInterpreter::StoreSize);
  return o;
}

// fusedRuns (optional): counts the runs of each superinstruction kind, and those that left its
// fast path (TUVCInterpreter::CountSuperinstructions).
inline TOutcome RunFast(const IProgramRef &prog, const std::string &input = {}, bool interactive = true,
                        std::vector<std::uint64_t> *fusedRuns = nullptr) {
  TMemoryConsole console(input, interactive);
  TUVCInterpreter vm(&console);
  vm.LoadProgram(prog);
  vm.CountSuperinstructions(fusedRuns);
  std::string error;
  try {
    vm.Run();
  } catch (const ERunError &e) {
    error = e.what();
  }
  EXPECT_FALSE(vm.IsRunning());
  EXPECT_FALSE(console.IsOpen);
  return Capture(vm, console, error);
}

inline TOutcome RunSteps(const IProgramRef &prog, const std::string &input = {}, bool interactive = true) {
  TMemoryConsole console(input, interactive);
  TUVCInterpreter vm(&console);
  vm.LoadProgram(prog);
  std::string error;
  try {
    for (int guard = 0; guard < 10000000; ++guard) {
      TInstruction next;
      prog->GetInstruction(vm.GetPC(), next);
      const bool last = vm.GetPC() < 0 || (vm.GetPC() < prog->GetCount() && next.Opcode == ocHalt);
      vm.Step();
      if (last) break;
    }
  } catch (const ERunError &e) {
    error = e.what();
  }
  return Capture(vm, console, error);
}

inline void ExpectSameEnd(const TOutcome &a, const TOutcome &b) {
  EXPECT_EQ(a.Error, b.Error);
  EXPECT_EQ(a.PC, b.PC);
  EXPECT_EQ(a.SP, b.SP);
  EXPECT_EQ(a.MP, b.MP);
  EXPECT_EQ(a.Output, b.Output);
  EXPECT_TRUE(a.Store == b.Store) << "stores differ";
}

// Runs both ways, expects the same end, and answers it.
inline TOutcome RunBoth(const IProgramRef &prog, const std::string &input = {}, bool interactive = true,
                        std::vector<std::uint64_t> *fusedRuns = nullptr) {
  TOutcome fast = RunFast(prog, input, interactive, fusedRuns);
  ExpectSameEnd(fast, RunSteps(prog, input, interactive));
  return fast;
}

// How many loops of the program the native translation takes (0 where there is none).
inline std::size_t NativeLoopCount(const IProgramRef &prog) {
  const std::int32_t count = prog->GetCount();
  std::vector<std::uint8_t> ops;
  std::vector<std::int32_t> operands;
  std::vector<std::uint64_t> reals;
  TInstruction instr;
  for (std::int32_t i = 0; i < count; ++i) {
    prog->GetInstruction(i, instr);
    ops.push_back(instr.Opcode);
    operands.push_back(instr.IntValue);
    std::uint64_t bits;
    std::memcpy(&bits, &instr.RealValue, 8);
    reals.push_back(bits);
  }
  const auto loops = uvm::TNativeLoops::Compile(ops.data(), operands.data(), reals.data(), count, {});
  return loops ? loops->Loops().size() : 0;
}

inline std::int32_t IntAt(const TOutcome &o, std::int32_t addr) {
  std::int32_t v;
  std::memcpy(&v, &o.Store[static_cast<std::size_t>(addr)], 4);
  return v;
}
inline double RealAt(const TOutcome &o, std::int32_t addr) {
  double v;
  std::memcpy(&v, &o.Store[static_cast<std::size_t>(addr)], 8);
  return v;
}
inline std::string StrAt(const TOutcome &o, std::int32_t addr) {
  const auto *p = &o.Store[static_cast<std::size_t>(addr)];
  return std::string(reinterpret_cast<const char *>(p + 1), p[0]);
}
// Values on top of the stack of a finished run.
inline std::int32_t TopInt(const TOutcome &o) { return IntAt(o, o.SP - 3); }
inline double TopReal(const TOutcome &o) { return RealAt(o, o.SP - 7); }
inline bool TopBool(const TOutcome &o) { return o.Store[static_cast<std::size_t>(o.SP)] != 0; }
inline std::string TopStr(const TOutcome &o) { return StrAt(o, o.SP - 255); }

}  // namespace vmtest

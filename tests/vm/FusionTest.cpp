// The run loop's superinstructions against the instructions one by one (Step): every declared
// kind, with registers and addresses on and beyond the edges of the store, must end in the same
// registers, store bytes and error, and must have run as a superinstruction on its fast path.
#include <string>
#include <vector>

#include "Superinstructions.h"
#include "VmTestUtil.h"

namespace {

using namespace vmtest;

struct TOperands {
  std::int32_t k, j, c;
};

// A kind's declared sequence with operands: fixed ones as declared, jumps to `end` (the jump
// before a kind's target instructions to those, which follow it), the IncInt
// offsets k, j, c in turn, constants c, sizes after the sign of c.
void EmitPattern(TAsm &a, const uvm::TFusedPattern &p, const TOperands &o, std::int32_t end) {
  const std::int32_t offsets[3] = {o.k, o.j, o.c};
  const std::int32_t size = o.c > 2 ? 256 : o.c > 0 ? 4 : o.c < 0 ? 8 : 1;
  int nextOffset = 0;
  for (int i = 0; i < p.Length; ++i) {
    const auto op = static_cast<TOpcode>(p.Ops[i]);
    if (p.Fixed[i]) {
      a.Op(op, p.Values[i]);
      continue;
    }
    switch (op) {
      case ocJump:
      case ocJifF: a.Op(op, i + 1 == p.Split ? a.Count() + 1 : end); break;  // "->": to what follows
      case ocIncInt: a.Op(op, offsets[nextOffset++ % 3]); break;
      case ocDeref:
      case ocSto:
      case ocDup: a.Op(op, size); break;
      case ocIncSP: a.Op(op, o.c * 4); break;
      case ocPushBool: a.Bool(o.c != 0); break;
      case ocPushReal: a.Real(o.c > 2 ? 1e308 : 2.5); break;
      case ocPushStr: a.Str("ab"); break;
      default: a.Op(op, o.c); break;
    }
  }
}

// A program that fills the low store with varied bytes, puts SP and MP where asked, runs the
// pattern twice (once falling through, once as a jump target) and halts.
IProgramRef Build(const uvm::TFusedPattern &p, std::int32_t sp, std::int32_t mp, const TOperands &o) {
  TAsm a;
  a.Op(ocInit);
  for (std::int32_t v : {17, -3, 40, 1, 0x01020304, 63990, 255, 12})
    a.Op(ocPushInt, v);
  a.Real(2.5).Real(-1.0).Bool(true).Bool(false);
  a.Op(ocIncSP, sp - (11 + 8 * 4 + 16 + 2)).Op(ocSetMP, sp - mp);
  const std::int32_t first = a.Count();
  const std::int32_t end = first + 2 * p.Length + 1;
  EmitPattern(a, p, o, end);
  EmitPattern(a, p, o, end);
  a.Op(ocHalt).Op(ocHalt);
  EXPECT_EQ(a.Count(), end + 1);
  return a.Prog;
}

// Whether the program ends (halts or fails) within a few thousand steps: a loop pattern whose
// counter the store's edges or the scratch bytes overwrite may run on for ever.
bool EndsSoon(const IProgramRef &prog) {
  TMemoryConsole console("", true);
  TUVCInterpreter vm(&console);
  vm.LoadProgram(prog);
  try {
    for (int i = 0; i < 5000; ++i) {
      TInstruction next;
      prog->GetInstruction(vm.GetPC(), next);
      if (vm.GetPC() < 0 || (vm.GetPC() < prog->GetCount() && next.Opcode == ocHalt)) return true;
      vm.Step();
    }
  } catch (const ERunError &) {
    return true;
  }
  return false;
}

TEST(Fusion, EveryKindAgreesWithStepsAndRuns) {
  struct TGrid {
    std::vector<std::int32_t> sps, mps;
    std::vector<TOperands> operands;
  };
  const TGrid grids[] = {
      // Registers and addresses on and beyond the edges of the store.
      {{11, 12, 15, 20, 60, 300, 63975, 63980, 63984, 63987, 63988, 63989, 63990, 63991, 63992, 63993, 63994,
        63995, 63996, 63997, 63998, 63999, 64000},
       {0, 12, -8, 63996},
       {{12, 16, 1}, {0, 4, -1}, {20, 24, 0}, {63990, 63992, 3}, {-4, -12, 1}, {63996, 63997, -2}, {8, 36, 4}}},
      // Static links, pointer chains and real loads led to values Build puts low in the store (17 at
      // 12, 40 at 20, 2.5 at 44), so that kinds which load through pointers and compute with reals
      // can prove their fast paths.
      {{60, 300}, {0, 12, 44}, {{23, 32, 0}, {20, 20, 4}, {0, 8, 0}, {-24, -24, 0}}},
  };
  std::vector<std::uint64_t> runs(2 * uvm::FusedCount);
  int programs = 0;
  for (const auto &p : uvm::FusedPatterns)
    for (const TGrid &g : grids)
      for (std::int32_t sp : g.sps)
        for (std::int32_t mp : g.mps)
          for (const auto &o : g.operands) {
            SCOPED_TRACE(::testing::Message() << uvm::FusedDeclarations[p.Kind - uvm::fxFirst] << " sp " << sp
                                              << " mp " << mp << " k " << o.k << " j " << o.j << " c " << o.c);
            const IProgramRef prog = Build(p, sp, mp, o);
            if (!EndsSoon(prog)) continue;
            RunBoth(prog, {}, true, &runs);
            ++programs;
            if (::testing::Test::HasFailure()) return;
          }
  EXPECT_GT(programs, 1000);
  for (std::size_t k = 0; k < uvm::FusedCount; ++k)
    EXPECT_GT(runs[k], runs[uvm::FusedCount + k]) << "never run on its fast path: " << uvm::FusedDeclarations[k];
}

// The decoder takes the longest declaration that matches, keeps fixed operands, and stops a
// sequence before an instruction the barrier marks.
TEST(Fusion, DecoderTakesTheLongestMatch) {
  struct TCase {
    const char *what;
    std::vector<std::pair<TOpcode, std::int32_t>> code;
    std::vector<bool> barrier;
    const char *expected;  // a declaration, or "" for none
  };
  const TCase cases[] = {
      {"a local's value", {{ocPushMP, 0}, {ocIncInt, 12}, {ocDeref, 4}, {ocHalt, 0}}, {}, "PushMP IncInt Deref=4"},
      {"of another size", {{ocPushMP, 0}, {ocIncInt, 12}, {ocDeref, 2}, {ocHalt, 0}}, {}, "PushMP IncInt"},
      {"cut short by the end", {{ocPushMP, 0}, {ocIncInt, 12}}, {}, "PushMP IncInt"},
      {"cut short by a barrier", {{ocPushMP, 0}, {ocIncInt, 12}, {ocDeref, 4}}, {false, false, true},
       "PushMP IncInt"},
      {"a barrier on the first one", {{ocPushMP, 0}, {ocIncInt, 12}}, {true, false}, "PushMP IncInt"},
      {"nothing declared", {{ocHalt, 0}, {ocHalt, 0}}, {}, ""},
      {"a compare and jump",
       {{ocPushMP, 0}, {ocIncInt, 12}, {ocDeref, 4}, {ocPushInt, 3}, {ocGTInt, 0}, {ocJifF, 0}},
       {},
       "PushMP IncInt Deref=4 PushInt GTInt JifF"},
      {"a loop's step with the test at its jump's target",
       {{ocPushMP, 0}, {ocIncInt, 12}, {ocPushMP, 0}, {ocIncInt, 12}, {ocDeref, 4}, {ocIncInt, 1}, {ocSto, 4},
        {ocJump, 8}, {ocDup, 4}, {ocPushMP, 0}, {ocIncInt, 12}, {ocDeref, 4}, {ocGEInt, 0}, {ocJifF, 0}},
       {},
       "PushMP IncInt PushMP IncInt Deref=4 IncInt Sto=4 Jump -> Dup=4 PushMP IncInt Deref=4 GEInt JifF"},
      {"a barrier at the jump's target",
       {{ocPushMP, 0}, {ocIncInt, 12}, {ocPushMP, 0}, {ocIncInt, 12}, {ocDeref, 4}, {ocIncInt, 1}, {ocSto, 4},
        {ocJump, 8}, {ocDup, 4}, {ocPushMP, 0}, {ocIncInt, 12}, {ocDeref, 4}, {ocGEInt, 0}, {ocJifF, 0}},
       {false, false, false, false, false, false, false, false, true, false, false, false, false, false},
       "PushMP IncInt PushMP IncInt Deref=4 IncInt Sto=4 Jump"},
      {"a jump's target outside the program",
       {{ocPushMP, 0}, {ocIncInt, 12}, {ocPushMP, 0}, {ocIncInt, 12}, {ocDeref, 4}, {ocIncInt, 1}, {ocSto, 4},
        {ocJump, 9}},
       {},
       "PushMP IncInt PushMP IncInt Deref=4 IncInt Sto=4 Jump"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::uint8_t> ops;
    std::vector<std::int32_t> operands;
    for (const auto &[op, n] : c.code) {
      ops.push_back(op);
      operands.push_back(n);
    }
    const uvm::TFused kind =
        uvm::FindFused(ops.data(), operands.data(), 0, static_cast<std::int32_t>(ops.size()), c.barrier);
    EXPECT_EQ(kind == uvm::fxNone ? "" : uvm::FusedDeclarations[kind - uvm::fxFirst], std::string(c.expected));
  }
}

// The decoder's look-ahead stays shallow along long runs of similar sequences (here the address
// pushes of a call with very many VAR parameters): no recursion that a big program can exhaust.
TEST(Fusion, LongRunsOfAddressPushesDecode) {
  TAsm a;
  a.StackAt(20);
  for (int i = 0; i < 300000; ++i) a.Op(ocPushMP).Op(ocIncInt, 12);
  a.Op(ocHalt);
  const TOutcome o = RunFast(a.Prog);
  EXPECT_EQ(o.Error, "Store overflow");
}

// Jumps into the middle of a fused sequence run the remaining instructions on their own.
TEST(Fusion, JumpIntoTheMiddleOfASequence) {
  TAsm a;
  a.Op(ocInit).Op(ocPushInt, 5).Op(ocPushInt, 0);  // 0..2  the variable at 12 holds 5
  a.Op(ocPushInt, 12).Op(ocJump, 6);              // 3, 4  address pushed by hand
  a.Op(ocPushMP);                                 // 5     never executed
  a.Op(ocIncInt, 0).Op(ocDeref, 4);               // 6, 7  the tail of PushMP IncInt Deref
  a.Op(ocHalt);
  const TOutcome o = RunBoth(a.Prog);
  EXPECT_EQ(o.Error, "");
  EXPECT_EQ(TopInt(o), 5);
}

}  // namespace

#include "LoopTranslator.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstddef>

#include "Instruction.h"
#include "Interpreter.h"
#include "NativeLoops.h"

namespace uvm {

using namespace x64;

namespace {

constexpr int Unknown = INT_MIN;

// Bytes popped and pushed by an instruction the translation knows; false for any other.
bool StackEffect(std::uint8_t op, std::int32_t operand, int &pop, int &push) {
  pop = push = 0;
  switch (op) {
    case ocPushMP:
    case ocPushInt: push = 4; return true;
    case ocPushBool: push = 1; return true;
    case ocIncInt:
    case ocNegInt:
    case ocNotInt: pop = push = 4; return true;
    case ocOdd: pop = 4; push = 1; return true;
    case ocNegReal: pop = push = 8; return true;
    case ocRound: pop = 8; push = 4; return true;
    case ocNotBool: pop = push = 1; return true;
    case ocDeref:
      if (operand != 1 && operand != 4 && operand != 8) return false;
      pop = 4;
      push = operand;
      return true;
    case ocSto:
      if (operand != 1 && operand != 4 && operand != 8) return false;
      pop = operand + 4;
      return true;
    case ocDup:
      if (operand != 1 && operand != 4 && operand != 8) return false;
      push = operand;
      return true;
    case ocPushReal: push = 8; return true;
    case ocIntToReal: pop = 4; push = 8; return true;
    case ocSwapIntReal: pop = push = 12; return true;
    case ocAddReal:
    case ocSubReal:
    case ocMulReal:
    case ocDivReal: pop = 16; push = 8; return true;
    case ocLTReal:
    case ocLEReal:
    case ocGTReal:
    case ocGEReal:
    case ocEQReal:
    case ocNEReal: pop = 16; push = 1; return true;
    case ocAddInt:
    case ocSubInt:
    case ocMulInt:
    case ocAndInt:
    case ocOrInt:
    case ocXorInt:
    case ocShlInt:
    case ocShrInt:
    case ocDivInt:
    case ocModInt: pop = 8; push = 4; return true;
    case ocEQ:
    case ocNE:
      if (operand != 4) return false;
      pop = 8;
      push = 1;
      return true;
    case ocLTInt:
    case ocLEInt:
    case ocGTInt:
    case ocGEInt:
    case ocEQInt:
    case ocNEInt: pop = 8; push = 1; return true;
    case ocEQBool:
    case ocNEBool:
    case ocAndBool:
    case ocOrBool:
    case ocXorBool: pop = 2; push = 1; return true;
    case ocJump: return true;
    case ocJifF: pop = 1; return true;
    default: return false;
  }
}

}  // namespace

TLoopTranslator::TLoopTranslator(const std::uint8_t *ops, const std::int32_t *operands, const std::uint64_t *reals,
                                 std::int32_t count)
    : Ops(ops), Operands(operands), Reals(reals), Count(count) {}

// Stack depth at every instruction (relative to the loop's start), the jump targets inside the
// loop, and the stack's extent. False when an instruction is not translated, a jump leaves the
// program, the stack would sink below its height at the start, or two paths disagree on depth.
bool TLoopTranslator::Analyse(std::int32_t head, std::int32_t last) {
  const int n = last - head + 1;
  DepthAt.assign(static_cast<std::size_t>(n), Unknown);
  IsLabel.assign(static_cast<std::size_t>(n), false);
  DepthAt[0] = 0;
  IsLabel[0] = true;
  MaxDepth = 0;
  MinPos = 1;
  for (int i = 0; i < n; ++i) {
    const std::int32_t pc = head + i;
    const int d = DepthAt[static_cast<std::size_t>(i)];
    if (d == Unknown) return false;
    const std::uint8_t op = Ops[pc];
    const std::int32_t operand = Operands[pc];
    int next;
    if (op == ocIncSP) {
      const std::int64_t to = static_cast<std::int64_t>(d) + operand;
      if (to < 0 || to > TUVCInterpreter::StoreSize) return false;
      next = static_cast<int>(to);
    } else if (op == ocSwap) {  // exchanges the top two values through the bytes above SP
      if ((operand != 4 && operand != 8) || d < 2 * operand) return false;
      next = d;
      MaxDepth = std::max(MaxDepth, d + operand);
    } else {
      int pop, push;
      if (!StackEffect(op, operand, pop, push)) return false;
      if (d - pop < 0) return false;
      next = d - pop + push;
      if (op == ocDup) MinPos = std::min(MinPos, d - operand + 1);
    }
    MaxDepth = std::max(MaxDepth, next);
    if (op == ocJump || op == ocJifF) {
      if (operand < 0 || operand >= Count) return false;
      if (operand >= head && operand <= last) {
        const auto k = static_cast<std::size_t>(operand - head);
        if (DepthAt[k] == Unknown)
          DepthAt[k] = next;
        else if (DepthAt[k] != next)
          return false;
        IsLabel[k] = true;
      }
    }
    if (op != ocJump && i + 1 < n) {
      int &after = DepthAt[static_cast<std::size_t>(i + 1)];
      if (after == Unknown)
        after = next;
      else if (after != next)
        return false;
    }
  }
  return true;
}

// Twice: the first time finds the locals' accesses, from which the locals kept in registers
// are chosen; the second time emits the code with them.
std::vector<std::uint8_t> TLoopTranslator::Translate(std::int32_t head, std::int32_t last) {
  Head = head;
  Last = last;
  if (!Analyse(head, last)) return {};
  Promoted.clear();
  Uses.clear();
  if (!EmitBody()) return {};
  ChoosePromoted();
  if (!EmitBody()) return {};
  const std::vector<std::uint8_t> body = E.Finish();

  // The entry: registers from the frame, then the checks that hold for the whole loop: the stack
  // fits in the store, and the locals lie in it below the stack. Then the promoted locals.
  if (AnyLocal && (LocalLow < INT32_MIN || LocalHigh > INT32_MAX)) return {};
  TEmitter p;
  for (const TReg r : {RBX, RBP, R12, R13, R14, R15}) p.Push(r);
  p.Lea64(R14, {RDI, NoReg, 0});
  p.Load64(RBX, FrameAt(offsetof(TNativeFrame, S)));
  p.Load64(R12, FrameAt(offsetof(TNativeFrame, SP)));
  p.Load64(R13, FrameAt(offsetof(TNativeFrame, MP)));
  p.Load32(RBP, FrameAt(offsetof(TNativeFrame, Countdown)));
  p.Lea64(R15, {R12, NoReg, 1});
  const TLabel refuse = p.NewLabel(), start = p.NewLabel();
  if (MinPos < 1) {
    p.Cmp64Imm(R12, -MinPos);
    p.Jcc(ccL, refuse);
  }
  p.Cmp64Imm(R12, TUVCInterpreter::StoreLimit - 1 - MaxDepth);
  p.Jcc(ccG, refuse);
  if (AnyLocal) {
    p.Lea64(R11, {R13, NoReg, static_cast<std::int32_t>(LocalLow)});
    p.Cmp64Imm(R11, 0);
    p.Jcc(ccL, refuse);
    p.Lea64(R11, {R13, NoReg, static_cast<std::int32_t>(LocalHigh)});
    p.Cmp64(R11, R15);
    p.Jcc(ccG, refuse);
  }
  for (const TPromoted &local : Promoted) {
    if (local.Size == 4)
      p.Load32(static_cast<TReg>(local.Reg), LocalAt(local.Offset));
    else
      p.LoadSD(local.Reg, LocalAt(local.Offset));
  }
  p.Jmp(start);
  p.Bind(refuse);
  p.Store32Imm(FrameAt(offsetof(TNativeFrame, PC)), head);
  p.Store32Imm(FrameAt(offsetof(TNativeFrame, Plain)), 1);
  for (const TReg r : {R15, R14, R13, R12, RBP, RBX}) p.Pop(r);
  p.Ret();
  p.Bind(start);
  std::vector<std::uint8_t> code = p.Finish();
  code.insert(code.end(), body.begin(), body.end());
  return code;
}

// Locals kept in registers: those whose every access in the loop is a whole integer or a whole
// real and that no other access of a local overlaps, the most loaded first: three integers in
// R8..R10, four reals in XMM11..XMM14.
void TLoopTranslator::ChoosePromoted() {
  struct TCandidate {
    std::int32_t Offset;
    int Size;
    int Loads;
    bool Whole;
  };
  std::vector<TCandidate> candidates;
  for (const TUse &use : Uses) {
    bool found = false;
    for (TCandidate &c : candidates)
      if (c.Offset == use.Offset && c.Size == use.Size) {
        c.Loads += use.Load ? 1 : 0;
        found = true;
      }
    if (!found) candidates.push_back({use.Offset, use.Size, use.Load ? 1 : 0, use.Size == 4 || use.Size == 8});
  }
  for (TCandidate &c : candidates)
    for (const TCandidate &other : candidates)
      if (&other != &c && static_cast<std::int64_t>(other.Offset) < static_cast<std::int64_t>(c.Offset) + c.Size &&
          static_cast<std::int64_t>(c.Offset) < static_cast<std::int64_t>(other.Offset) + other.Size)
        c.Whole = false;
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const TCandidate &a, const TCandidate &b) { return a.Loads > b.Loads; });
  const TReg ints[] = {R8, R9, R10};
  int nInts = 0, nReals = 0;
  for (const TCandidate &c : candidates) {
    if (!c.Whole || c.Loads == 0 || c.Offset < -(1 << 30) || c.Offset > (1 << 30)) continue;
    if (c.Size == 4 && nInts < 3) Promoted.push_back({c.Offset, 4, ints[nInts++]});
    if (c.Size == 8 && nReals < 4) Promoted.push_back({c.Offset, 8, 11 + nReals++});
  }
}

bool TLoopTranslator::EmitBody() {
  E = TEmitter();
  Stack.clear();
  Pending.clear();
  Stubs.clear();
  std::fill(std::begin(Refs), std::end(Refs), 0);
  std::fill(std::begin(XRefs), std::end(XRefs), 0);
  std::fill(std::begin(Pinned), std::end(Pinned), false);
  for (const TPromoted &local : Promoted) (local.Size == 4 ? Refs : XRefs)[local.Reg] = 1;
  AnyLocal = false;
  LocalLow = LocalHigh = 0;
  const int n = Last - Head + 1;
  LabelAt.assign(static_cast<std::size_t>(n), 0);
  for (int i = 0; i < n; ++i)
    if (IsLabel[static_cast<std::size_t>(i)]) LabelAt[static_cast<std::size_t>(i)] = E.NewLabel();
  Epilogue = E.NewLabel();

  for (int i = 0; i < n; ++i) {
    const std::int32_t pc = Head + i;
    if (IsLabel[static_cast<std::size_t>(i)]) {
      ForgetStack();
      E.Bind(LabelAt[static_cast<std::size_t>(i)]);
      Depth = DepthAt[static_cast<std::size_t>(i)];
    }
    InstrPC = pc;
    InstrDepth = Depth;
    if (!TranslateInstruction(pc)) return false;
  }
  if (Ops[Last] != ocJump) {  // a final JifF falls through out of the loop
    FlushAll();
    EmitExit(Last + 1, Depth, false);
  }
  for (const TStub &stub : Stubs) {
    E.Bind(stub.Label);
    if (stub.Countdown) E.Alu32Imm(aluAdd, RBP, 1);
    for (const TItem &w : stub.Pending) EmitWrite(w);
    EmitExit(stub.PC, stub.Depth, true);
  }
  E.Bind(Epilogue);
  E.Store32(FrameAt(offsetof(TNativeFrame, Countdown)), RBP);
  for (const TReg r : {R15, R14, R13, R12, RBP, RBX}) E.Pop(r);
  E.Ret();
  return true;
}

}  // namespace uvm

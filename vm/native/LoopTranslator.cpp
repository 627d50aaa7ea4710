#include "LoopTranslator.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstddef>
#include <cstring>

#include "Arithmetic.h"
#include "Instruction.h"
#include "Interpreter.h"
#include "NativeLoops.h"

namespace uvm {

using namespace x64;

namespace {

constexpr int Unknown = INT_MIN;
// The registers values live in. Fixed ones: RBX the store, R12 the starting SP, R13 MP (sign-
// extended), R14 the frame, R15 the starting SP + 1 (no element access may reach it), EBP the
// countdown; R11 is scratch, and any Alloc may write pending stores through it.
constexpr TReg Pool[] = {RAX, RCX, RDX, RSI, RDI, R8, R9, R10};

constexpr TMem FrameAt(std::size_t offset) { return {R14, NoReg, static_cast<std::int32_t>(offset)}; }

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

TCond IntCondition(std::uint8_t op) {
  switch (op) {
    case ocLTInt: return ccL;
    case ocLEInt: return ccLE;
    case ocGTInt: return ccG;
    case ocGEInt: return ccGE;
    case ocNEInt:
    case ocNE: return ccNE;
    default: return ccE;
  }
}

// The condition with its operands swapped.
TCond Swapped(TCond c) {
  switch (c) {
    case ccL: return ccG;
    case ccG: return ccL;
    case ccLE: return ccGE;
    case ccGE: return ccLE;
    default: return c;
  }
}

bool Holds(TCond c, std::int32_t a, std::int32_t b) {
  switch (c) {
    case ccL: return a < b;
    case ccLE: return a <= b;
    case ccG: return a > b;
    case ccGE: return a >= b;
    case ccNE: return a != b;
    default: return a == b;
  }
}

std::int32_t AddWrap(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
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
      FlushAll();
      for (const TItem &item : Stack) Drop(item.V);
      Stack.clear();
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

bool TLoopTranslator::TranslateInstruction(std::int32_t pc) {
  const std::uint8_t op = Ops[pc];
  const std::int32_t operand = Operands[pc];
  switch (op) {
    case ocPushMP: Push({TVal::Local, 0}, 4); return true;
    case ocPushInt: Push({TVal::Const, operand}, 4); return true;
    case ocPushBool: Push({TVal::Const, (operand & 0xFF) != 0 ? 0xFF : 0}, 1); return true;

    case ocIncInt:
    case ocNegInt:
    case ocNotInt: {
      TItem e = Pop(4);
      const auto u = static_cast<std::uint32_t>(e.V.C);
      if (e.V.Kind == TVal::Const) {
        Push({TVal::Const, static_cast<std::int32_t>(op == ocIncInt ? u + static_cast<std::uint32_t>(operand)
                                                     : op == ocNegInt ? 0u - u
                                                                      : ~u)},
             4);
      } else if (e.V.Kind == TVal::Local && op == ocIncInt) {
        Push({TVal::Local, AddWrap(e.V.C, operand)}, 4);
      } else {
        Supersede(e.Pos, 4);
        const TReg r = Owned(e.V, 4);
        if (op == ocIncInt)
          E.Alu32Imm(aluAdd, r, operand);
        else if (op == ocNegInt)
          E.Neg32(r);
        else
          E.Not32(r);
        Push(e.V, 4);
      }
      return true;
    }

    case ocOdd: {
      TItem e = Pop(4);
      if (e.V.Kind == TVal::Const) {
        Push({TVal::Const, (e.V.C & 1) != 0 ? 0xFF : 0}, 1);
        return true;
      }
      const TReg r = Owned(e.V, 4);  // the integer's bytes past the first stay
      E.Alu32Imm(aluAnd, r, 1);
      E.Neg8(r);
      Push(e.V, 1);
      return true;
    }

    case ocShlInt:
    case ocShrInt: {
      const bool left = op == ocShlInt;
      Pinned[RCX] = true;
      Evict(RCX);
      TItem r = Pop(4);
      TItem l = Pop(4);
      if (l.V.Kind == TVal::Const && r.V.Kind == TVal::Const) {
        Pinned[RCX] = false;
        const auto a = static_cast<std::uint32_t>(l.V.C), b = static_cast<std::uint32_t>(r.V.C) & 31u;
        Push({TVal::Const, static_cast<std::int32_t>(left ? a << b : a >> b)}, 4);
        return true;
      }
      Supersede(l.Pos, 4);
      if (r.V.Kind != TVal::Const) {
        Materialize(r.V, 4);
        E.Mov32(RCX, r.V.R);
      }
      const TReg d = Owned(l.V, 4);
      if (r.V.Kind == TVal::Const)
        E.Shift32Imm(left, d, static_cast<std::uint8_t>(r.V.C & 31));
      else
        E.Shift32(left, d);  // the processor takes the count mod 32 too
      Pinned[RCX] = false;
      Drop(r.V);
      Push(l.V, 4);
      return true;
    }

    case ocNotBool: {
      TItem e = Pop(1);
      if (e.V.Kind == TVal::Const) {
        Push({TVal::Const, (e.V.C & 0xFF) != 0 ? 0 : 0xFF}, 1);
        return true;
      }
      Materialize(e.V, 1);
      const TReg d = NextIsJifF(pc) ? NoReg : Alloc();
      E.Test8(e.V.R, e.V.R);
      Drop(e.V);
      PushCondition(ccE, d);
      return true;
    }

    case ocDeref: {
      TItem a = Pop(4);
      const int size = operand;
      const TPromoted *local = PromotedAt(a.V, size);
      const TMem from = Access(a.V, size, true);
      Supersede(a.Pos, size);
      if (local != nullptr) {  // the register holds the local's value
        const TVal v{local->Size == 4 ? TVal::Reg : TVal::XReg, 0, static_cast<TReg>(local->Reg)};
        Hold(v);
        Drop(a.V);
        Push(v, size);
        return true;
      }
      if (size == 8) {
        const int x = AllocX();
        E.LoadSD(x, from);
        Drop(a.V);
        Push({TVal::XReg, 0, static_cast<TReg>(x)}, 8);
        return true;
      }
      const TReg r = Alloc();
      if (size == 4)
        E.Load32(r, from);
      else
        E.Load8(r, from);
      Drop(a.V);
      Push({TVal::Reg, 0, r}, size);
      return true;
    }

    case ocSto: {
      const int size = operand;
      TItem v = Pop(size);
      TItem a = Pop(4);
      const TPromoted *local = PromotedAt(a.V, size);
      const TMem to = Access(a.V, size, false);
      if (local != nullptr) SetPromoted(*local, v.V);
      if (v.V.Kind == TVal::Real) {
        E.MovAbs(R11, v.V.Q);
        E.Store64(to, R11);
      } else if (size == 8) {
        Materialize(v.V, 8);
        E.StoreSD(to, v.V.R);
      } else if (v.V.Kind == TVal::Const) {
        if (size == 4)
          E.Store32Imm(to, v.V.C);
        else
          E.Store8Imm(to, static_cast<std::uint8_t>(v.V.C));
      } else {
        Materialize(v.V, size);
        if (size == 4)
          E.Store32(to, v.V.R);
        else
          E.Store8(to, v.V.R);
      }
      Drop(v.V);
      Drop(a.V);
      return true;
    }

    case ocDup: {
      const int size = operand;
      if (!Stack.empty() && Stack.back().Size == size && Stack.back().V.Kind != TVal::Flags) {
        TVal v = Stack.back().V;
        Hold(v);
        Push(v, size);
        return true;
      }
      FlushAll();
      for (const TItem &item : Stack) Drop(item.V);
      Stack.clear();
      TVal v{TVal::Mem, Depth - size + 1};
      Materialize(v, size);
      Push(v, size);
      return true;
    }

    case ocAddInt:
    case ocSubInt:
    case ocMulInt:
    case ocAndInt:
    case ocOrInt:
    case ocXorInt: {
      TItem r = Pop(4);
      TItem l = Pop(4);
      const bool lc = l.V.Kind == TVal::Const, rc = r.V.Kind == TVal::Const;
      const auto ul = static_cast<std::uint32_t>(l.V.C), ur = static_cast<std::uint32_t>(r.V.C);
      if (lc && rc) {
        std::uint32_t v = 0;
        switch (op) {
          case ocAddInt: v = ul + ur; break;
          case ocSubInt: v = ul - ur; break;
          case ocMulInt: v = ul * ur; break;
          case ocAndInt: v = ul & ur; break;
          case ocOrInt: v = ul | ur; break;
          default: v = ul ^ ur; break;
        }
        Push({TVal::Const, static_cast<std::int32_t>(v)}, 4);
        return true;
      }
      // A local's address plus or minus a constant stays a local's address; a product by 1 is
      // its other factor.
      if (op == ocAddInt && ((l.V.Kind == TVal::Local && rc) || (lc && r.V.Kind == TVal::Local))) {
        Push({TVal::Local, AddWrap(l.V.C, r.V.C)}, 4);
        return true;
      }
      if (op == ocSubInt && l.V.Kind == TVal::Local && rc) {
        Push({TVal::Local, static_cast<std::int32_t>(ul - ur)}, 4);
        return true;
      }
      if (op == ocMulInt && (rc || lc) && (rc ? r.V.C : l.V.C) == 1) {
        Push(rc ? l.V : r.V, 4);
        return true;
      }
      Supersede(l.Pos, 4);
      if (op == ocAddInt && (l.V.Kind == TVal::Local || r.V.Kind == TVal::Local)) {
        TItem &local = l.V.Kind == TVal::Local ? l : r;
        TItem &other = l.V.Kind == TVal::Local ? r : l;
        Materialize(other.V, 4);
        const TReg d = Alloc();
        E.Lea32(d, {R13, other.V.R, local.V.C});
        Drop(other.V);
        Push({TVal::Reg, 0, d}, 4);
        return true;
      }
      const bool commutes = op != ocSubInt;
      if (lc && commutes) std::swap(l, r);
      const TReg d = Owned(l.V, 4);
      if (r.V.Kind == TVal::Const) {
        if (op == ocMulInt)
          E.Imul32Imm(d, d, r.V.C);
        else
          E.Alu32Imm(op == ocAddInt ? aluAdd : op == ocSubInt ? aluSub : op == ocAndInt ? aluAnd : op == ocOrInt ? aluOr : aluXor, d,
                     r.V.C);
      } else {
        Materialize(r.V, 4);
        if (op == ocMulInt)
          E.Imul32(d, r.V.R);
        else
          E.Alu32(op == ocAddInt ? aluAdd : op == ocSubInt ? aluSub : op == ocAndInt ? aluAnd : op == ocOrInt ? aluOr : aluXor, d,
                  r.V.R);
      }
      Drop(r.V);
      Push(l.V, 4);
      return true;
    }

    case ocDivInt:
    case ocModInt: {
      Pinned[RAX] = Pinned[RDX] = true;
      Evict(RAX);
      Evict(RDX);
      TItem r = Pop(4);
      TItem l = Pop(4);
      if (l.V.Kind == TVal::Const && r.V.Kind == TVal::Const && r.V.C != 0) {
        Pinned[RAX] = Pinned[RDX] = false;
        Push({TVal::Const, op == ocDivInt ? DivInt(l.V.C, r.V.C) : ModInt(l.V.C, r.V.C)}, 4);
        return true;
      }
      if (r.V.Kind == TVal::Const && r.V.C == 1) {  // n DIV 1 = n, n MOD 1 = 0
        Pinned[RAX] = Pinned[RDX] = false;
        Drop(r.V);
        if (op == ocDivInt) {
          Push(l.V, 4);
        } else {
          Drop(l.V);
          Push({TVal::Const, 0}, 4);
        }
        return true;
      }
      switch (l.V.Kind) {
        case TVal::Reg: E.Mov32(RAX, l.V.R); break;
        case TVal::Const: E.Mov32Imm(RAX, l.V.C); break;
        case TVal::Local: E.Lea32(RAX, {R13, NoReg, l.V.C}); break;
        default: E.Load32(RAX, StackAt(l.V.C)); break;
      }
      if (r.V.Kind == TVal::Const && r.V.C != 0 && r.V.C != -1) {
        // By a constant d: with c = ceil(2^64 / |d|), |n| DIV |d| is the high half of |n| * c,
        // and |n| MOD |d| the high half of |d| times its low half (exact for every 32-bit |n|);
        // the signs then as DIV and MOD truncate.
        const std::uint32_t d = r.V.C < 0 ? 0u - static_cast<std::uint32_t>(r.V.C) : static_cast<std::uint32_t>(r.V.C);
        const TReg sign = Alloc();
        E.Mov32(sign, RAX);
        E.Sar32(sign, 31);
        E.Alu32(aluXor, RAX, sign);
        E.Alu32(aluSub, RAX, sign);  // |n|, zero-extended
        E.MovAbs(R11, UINT64_MAX / d + 1);
        E.Mul64(R11);
        if (op == ocModInt) {
          E.Mov32Imm(R11, static_cast<std::int32_t>(d));
          E.Mul64(R11);
        }
        E.Alu32(aluXor, RDX, sign);
        E.Alu32(aluSub, RDX, sign);
        if (op == ocDivInt && r.V.C < 0) E.Neg32(RDX);
        Pinned[RAX] = Pinned[RDX] = false;
        Refs[RDX] = 1;
        Drop({TVal::Reg, 0, sign});
        Drop(l.V);
        Drop(r.V);
        Push({TVal::Reg, 0, RDX}, 4);
        return true;
      }
      // Division by 0 fails and by -1 needs the wrap-around: both left to the instruction.
      const bool safe = r.V.Kind == TVal::Const && r.V.C != 0 && r.V.C != -1;
      Materialize(r.V, 4);
      if (!safe) {
        E.Test32(r.V.R, r.V.R);
        E.Jcc(ccE, Bail());
        E.Alu32Imm(aluCmp, r.V.R, -1);
        E.Jcc(ccE, Bail());
      }
      E.Cdq();
      E.Idiv32(r.V.R);
      Pinned[RAX] = Pinned[RDX] = false;
      const TReg result = op == ocDivInt ? RAX : RDX;
      Refs[result] = 1;
      Drop(l.V);
      Drop(r.V);
      Push({TVal::Reg, 0, result}, 4);
      return true;
    }

    case ocLTInt:
    case ocLEInt:
    case ocGTInt:
    case ocGEInt:
    case ocEQInt:
    case ocNEInt:
    case ocEQ:
    case ocNE: {
      TCond cc = IntCondition(op);
      TItem r = Pop(4);
      TItem l = Pop(4);
      if (l.V.Kind == TVal::Const && r.V.Kind == TVal::Const) {
        Push({TVal::Const, Holds(cc, l.V.C, r.V.C) ? 0xFF : 0}, 1);
        return true;
      }
      if (l.V.Kind == TVal::Const) {
        std::swap(l.V, r.V);
        cc = Swapped(cc);
      }
      Materialize(l.V, 4);
      if (r.V.Kind != TVal::Const) Materialize(r.V, 4);
      const bool toFlags = NextIsJifF(pc);
      const TReg d = toFlags ? NoReg : Alloc();
      if (r.V.Kind == TVal::Const)
        E.Alu32Imm(aluCmp, l.V.R, r.V.C);
      else
        E.Alu32(aluCmp, l.V.R, r.V.R);
      Drop(l.V);
      Drop(r.V);
      PushCondition(cc, d);
      return true;
    }

    case ocEQBool:
    case ocNEBool:
    case ocAndBool:
    case ocOrBool:
    case ocXorBool: {
      TItem r = Pop(1);
      TItem l = Pop(1);
      if (l.V.Kind == TVal::Const && r.V.Kind == TVal::Const) {
        const bool a = (l.V.C & 0xFF) != 0, b = (r.V.C & 0xFF) != 0;
        const bool v = op == ocEQBool ? a == b : op == ocAndBool ? a && b : op == ocOrBool ? a || b : a != b;
        Push({TVal::Const, v ? 0xFF : 0}, 1);
        return true;
      }
      if ((op == ocEQBool || op == ocNEBool) && (l.V.Kind == TVal::Const || r.V.Kind == TVal::Const) && NextIsJifF(pc)) {
        TItem &c = l.V.Kind == TVal::Const ? l : r;
        TItem &x = l.V.Kind == TVal::Const ? r : l;
        Materialize(x.V, 1);
        E.Test8(x.V.R, x.V.R);
        // x = TRUE is x <> 0, x = FALSE is x = 0; <> the other way round.
        const bool wantSet = ((c.V.C & 0xFF) != 0) == (op == ocEQBool);
        Drop(x.V);
        PushCondition(wantSet ? ccNE : ccE, NoReg);
        return true;
      }
      Materialize(l.V, 1);
      Materialize(r.V, 1);
      const TReg a = Alloc();
      const TReg b = Alloc();
      E.Mov32Imm(a, 0);
      E.Mov32Imm(b, 0);
      E.Test8(l.V.R, l.V.R);
      E.SetCC(ccNE, a);
      E.Test8(r.V.R, r.V.R);
      E.SetCC(ccNE, b);
      switch (op) {
        case ocEQBool:
          E.Alu32(aluXor, a, b);
          E.Alu32Imm(aluXor, a, 1);
          break;
        case ocAndBool: E.Alu32(aluAnd, a, b); break;
        case ocOrBool: E.Alu32(aluOr, a, b); break;
        default: E.Alu32(aluXor, a, b); break;
      }
      E.Neg8(a);
      Drop(l.V);
      Drop(r.V);
      Drop({TVal::Reg, 0, b});
      Push({TVal::Reg, 0, a}, 1);
      return true;
    }

    case ocIncSP:
      FlushAll();
      for (const TItem &item : Stack) Drop(item.V);
      Stack.clear();
      Depth += operand;
      return true;

    case ocJump:
      FlushAll();
      EmitJump(pc, operand, Depth);
      return true;

    case ocJifF: {
      TItem c = Pop(1);
      TCond whenTrue = ccNE;
      const bool flags = c.V.Kind == TVal::Flags;
      if (flags) {
        // The condition's byte is written on each way out, as the constant it is there.
        assert(!Pending.empty() && Pending.back().V.Kind == TVal::Flags);
        Pending.pop_back();
        FlushAll();  // stores only: the flags survive
        whenTrue = c.V.Cc;
      } else {
        Materialize(c.V, 1);
        FlushAll();
        E.Test8(c.V.R, c.V.R);
      }
      const TLabel onTrue = E.NewLabel();
      E.Jcc(whenTrue, onTrue);
      if (flags) E.Store8Imm(StackAt(c.Pos), 0);
      EmitJump(pc, operand, Depth);
      E.Bind(onTrue);
      if (flags) E.Store8Imm(StackAt(c.Pos), 0xFF);
      Drop(c.V);
      return true;
    }

    default: return TranslateReal(pc);
  }
}

// The instructions on reals. A result that is not finite (an overflow, a division by zero, a
// NaN) leaves the instruction to the run loop, which raises the error or makes the NaN.
bool TLoopTranslator::TranslateReal(std::int32_t pc) {
  const std::uint8_t op = Ops[pc];
  switch (op) {
    case ocPushReal: {
      TVal v{TVal::Real};
      v.Q = Reals[pc];
      Push(v, 8);
      return true;
    }
    case ocIntToReal: {
      TItem e = Pop(4);
      if (e.V.Kind == TVal::Const) {
        TVal v{TVal::Real};
        const double d = static_cast<double>(e.V.C);
        std::memcpy(&v.Q, &d, 8);
        Push(v, 8);
        return true;
      }
      Materialize(e.V, 4);
      const int x = AllocX();
      E.XorPD(x, x);
      E.Cvtsi2SD(x, e.V.R);
      Drop(e.V);
      Push({TVal::XReg, 0, static_cast<TReg>(x)}, 8);
      return true;
    }
    case ocSwap: {
      const int size = Operands[pc];
      TItem top = Pop(size);
      TItem below = Pop(size);
      Materialize(top.V, size);
      Materialize(below.V, size);
      Push(top.V, size);
      Push(below.V, size);
      // The top's copy stays above SP.
      Supersede(Depth + 1, size);
      Hold(top.V);
      Pending.push_back({Depth + 1, size, top.V});
      return true;
    }
    case ocNegReal: {
      TItem e = Pop(8);
      if (e.V.Kind == TVal::Real) {
        TVal v{TVal::Real};
        v.Q = e.V.Q ^ (std::uint64_t{1} << 63);
        Push(v, 8);
        return true;
      }
      const int x = AllocX();
      LoadReal(x, e.V);
      E.MovAbs(R11, std::uint64_t{1} << 63);
      E.MovQToXmm(15, R11);
      E.XorPD(x, 15);
      Drop(e.V);
      Push({TVal::XReg, 0, static_cast<TReg>(x)}, 8);
      return true;
    }
    case ocRound: {
      // The processor rounds to nearest, ties to even, as Round does; a NaN or a magnitude of
      // 2^63 or more gives the one result no subtraction of 1 can make without overflow.
      TItem e = Pop(8);
      Materialize(e.V, 8);
      const TReg d = Alloc();  // before the conversion: an Alloc may write pending stores through R11
      E.Cvtsd2si64(d, e.V.R);
      E.Cmp64Imm(d, 1);
      E.Jcc(ccO, Bail());
      E.Mov32(d, d);  // the low half, zero-extended
      Drop(e.V);
      Push({TVal::Reg, 0, d}, 4);
      return true;
    }
    case ocSwapIntReal: {
      TItem x = Pop(8);
      TItem i = Pop(4);
      Push(x.V, 8);
      Push(i.V, 4);
      return true;
    }
    case ocAddReal:
    case ocSubReal:
    case ocMulReal:
    case ocDivReal: {
      TItem r = Pop(8);
      TItem l = Pop(8);
      const int x = AllocX();
      LoadReal(x, l.V);
      Materialize(r.V, 8);
      E.ArithSD(op == ocAddReal ? 0x58 : op == ocMulReal ? 0x59 : op == ocSubReal ? 0x5C : 0x5E, x, r.V.R);
      // Exponent all ones: an infinity or a NaN.
      E.MovQToGpr(R11, x);
      E.Shr64(R11, 52);
      E.Alu32Imm(aluAnd, R11, 0x7FF);
      E.Alu32Imm(aluCmp, R11, 0x7FF);
      E.Jcc(ccE, Bail());
      Drop(l.V);
      Drop(r.V);
      Push({TVal::XReg, 0, static_cast<TReg>(x)}, 8);
      return true;
    }
    case ocLTReal:
    case ocLEReal:
    case ocGTReal:
    case ocGEReal:
    case ocEQReal:
    case ocNEReal: {
      TItem r = Pop(8);
      TItem l = Pop(8);
      Materialize(l.V, 8);
      Materialize(r.V, 8);
      const bool equality = op == ocEQReal || op == ocNEReal;
      const bool toFlags = !equality && NextIsJifF(pc);
      const TReg d = toFlags ? NoReg : Alloc();
      if (equality) {
        // Equal: ZF set and PF clear (an unordered compare sets both).
        E.Mov32Imm(d, 0);
        E.Mov32Imm(R11, 0);
        E.UcomiSD(l.V.R, r.V.R);
        if (op == ocEQReal) {
          E.SetCC(ccE, d);
          E.SetCC(ccNP, R11);
          E.Alu32(aluAnd, d, R11);
        } else {
          E.SetCC(ccNE, d);
          E.SetCC(ccP, R11);
          E.Alu32(aluOr, d, R11);
        }
        E.Neg8(d);
        Drop(l.V);
        Drop(r.V);
        Push({TVal::Reg, 0, d}, 1);
        return true;
      }
      // a < b is b above a, which an unordered compare never is.
      const bool below = op == ocLTReal || op == ocLEReal;
      if (below)
        E.UcomiSD(r.V.R, l.V.R);
      else
        E.UcomiSD(l.V.R, r.V.R);
      const TCond cc = op == ocLTReal || op == ocGTReal ? ccA : ccAE;
      Drop(l.V);
      Drop(r.V);
      PushCondition(cc, d);
      return true;
    }
    default: return false;
  }
}

// The Boolean of condition cc after a compare: left in the flags for the JifF that follows
// (d is NoReg), or made a byte in d.
void TLoopTranslator::PushCondition(TCond cc, TReg d) {
  if (d == NoReg) {
    TVal f{TVal::Flags};
    f.Cc = cc;
    Push(f, 1);
    return;
  }
  E.SetCC(cc, d);
  E.Neg8(d);
  Push({TVal::Reg, 0, d}, 1);
}

void TLoopTranslator::Hold(const TVal &v) {
  if (v.Kind == TVal::Reg) ++Refs[v.R];
  if (v.Kind == TVal::XReg) ++XRefs[v.R];
}

void TLoopTranslator::Drop(const TVal &v) {
  if (v.Kind == TVal::Reg) {
    assert(Refs[v.R] > 0);
    --Refs[v.R];
  }
  if (v.Kind == TVal::XReg) {
    assert(XRefs[v.R] > 0);
    --XRefs[v.R];
  }
}

// A free register held once for the caller: of the pool, or (xmm) an XMM register 0..14 (15
// stays free). When none is free, the pending stores are written, then the stack's values are
// left in the store.
int TLoopTranslator::FreeRegister(bool xmm) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (xmm) {
      for (int x = 0; x < 15; ++x)
        if (XRefs[x] == 0) {
          XRefs[x] = 1;
          return x;
        }
    } else {
      for (const TReg r : Pool)
        if (Refs[r] == 0 && !Pinned[r]) {
          Refs[r] = 1;
          return r;
        }
    }
    if (attempt == 0)
      FlushAll();
    else
      SpillAll();
  }
  assert(false && "no register left");
  return xmm ? 15 : R11;
}

TLoopTranslator::TReg TLoopTranslator::Alloc() { return static_cast<TReg>(FreeRegister(false)); }
int TLoopTranslator::AllocX() { return FreeRegister(true); }

void TLoopTranslator::LoadReal(int x, const TVal &v) {
  switch (v.Kind) {
    case TVal::XReg: E.MovPD(x, v.R); break;
    case TVal::Real:
      E.MovAbs(R11, v.Q);
      E.MovQToXmm(x, R11);
      break;
    default: E.LoadSD(x, StackAt(v.C)); break;
  }
}

void TLoopTranslator::Materialize(TVal &v, int size) {
  if (v.Kind == TVal::Reg || v.Kind == TVal::XReg) return;
  if (size == 8) {
    const int x = AllocX();
    LoadReal(x, v);
    v = {TVal::XReg, 0, static_cast<TReg>(x)};
    return;
  }
  const TReg r = Alloc();
  switch (v.Kind) {
    case TVal::Const: E.Mov32Imm(r, v.C); break;
    case TVal::Local: E.Lea32(r, {R13, NoReg, v.C}); break;
    case TVal::Mem:
      if (size == 4)
        E.Load32(r, StackAt(v.C));
      else
        E.Load8(r, StackAt(v.C));
      break;
    case TVal::Flags:
      E.SetCC(v.Cc, r);
      E.Neg8(r);
      break;
    default: break;
  }
  v = {TVal::Reg, 0, r};
}

TLoopTranslator::TReg TLoopTranslator::Owned(TVal &v, int size) {
  if (v.Kind == TVal::Reg && Refs[v.R] == 1) return v.R;
  if (v.Kind != TVal::Reg) {
    Materialize(v, size);
    return v.R;
  }
  const TReg r = Alloc();
  E.Mov32(r, v.R);
  Drop(v);
  v = {TVal::Reg, 0, r};
  return r;
}

// Moves what register r holds to another one.
void TLoopTranslator::Evict(TReg r) {
  if (Refs[r] == 0) return;
  const TReg to = Alloc();
  if (Refs[r] == 0) {  // Alloc wrote the pending stores and spilled: r is free now
    Refs[to] = 0;
    return;
  }
  E.Mov32(to, r);
  Refs[to] = Refs[r];
  Refs[r] = 0;
  ReplaceReg(r, to);
}

void TLoopTranslator::ReplaceReg(TReg from, TReg to) {
  for (TItem &item : Stack)
    if (item.V.Kind == TVal::Reg && item.V.R == from) item.V.R = to;
  for (TItem &item : Pending)
    if (item.V.Kind == TVal::Reg && item.V.R == from) item.V.R = to;
}

// Pushes v, which the caller held: the stack takes that hold, the pending store one more.
void TLoopTranslator::Push(TVal v, int size) {
  if (v.Kind == TVal::Mem) Materialize(v, size);
  const int pos = Depth + 1;
  Supersede(pos, size);
  Stack.push_back({pos, size, v});
  Hold(v);
  Pending.push_back({pos, size, v});
  Depth += size;
}

// The top `size` bytes as a value the caller holds. A top of another size is read from the store.
TLoopTranslator::TItem TLoopTranslator::Pop(int size) {
  if (!Stack.empty()) {
    const TItem top = Stack.back();
    if (top.Size == size && top.Pos + size - 1 == Depth) {
      Stack.pop_back();
      Depth -= size;
      return top;
    }
    FlushAll();
    for (const TItem &item : Stack) Drop(item.V);
    Stack.clear();
  }
  const int pos = Depth - size + 1;
  Depth -= size;
  return {pos, size, {TVal::Mem, pos}};
}

// Drops the pending stores that bytes pos..pos+size-1, about to be written, cover wholly.
void TLoopTranslator::Supersede(int pos, int size) {
  auto covered = [&](const TItem &w) { return w.Pos >= pos && w.Pos + w.Size <= pos + size; };
  for (const TItem &w : Pending)
    if (covered(w)) Drop(w.V);
  Pending.erase(std::remove_if(Pending.begin(), Pending.end(), covered), Pending.end());
}

void TLoopTranslator::EmitWrite(const TItem &w) {
  const TMem at = StackAt(w.Pos);
  switch (w.V.Kind) {
    case TVal::Const:
      if (w.Size == 4)
        E.Store32Imm(at, w.V.C);
      else
        E.Store8Imm(at, static_cast<std::uint8_t>(w.V.C));
      break;
    case TVal::Reg:
      if (w.Size == 4)
        E.Store32(at, w.V.R);
      else
        E.Store8(at, w.V.R);
      break;
    case TVal::Local:
      E.Lea32(R11, {R13, NoReg, w.V.C});
      E.Store32(at, R11);
      break;
    case TVal::Flags:
      E.SetCC(w.V.Cc, R11);
      E.Neg8(R11);
      E.Store8(at, R11);
      break;
    case TVal::Real:
      E.MovAbs(R11, w.V.Q);
      E.Store64(at, R11);
      break;
    case TVal::XReg: E.StoreSD(at, w.V.R); break;
    case TVal::Mem: assert(false); break;
  }
}

void TLoopTranslator::FlushAll() {
  for (const TItem &w : Pending) {
    EmitWrite(w);
    Drop(w.V);
  }
  Pending.clear();
}

// Writes everything pending and leaves the stack's register values in the store.
void TLoopTranslator::SpillAll() {
  FlushAll();
  for (TItem &item : Stack)
    if (item.V.Kind == TVal::Reg || item.V.Kind == TVal::Flags || item.V.Kind == TVal::XReg) {
      Drop(item.V);
      item.V = {TVal::Mem, item.Pos};
    }
}

bool TLoopTranslator::NextIsJifF(std::int32_t pc) const {
  return pc + 1 <= Last && Ops[pc + 1] == ocJifF && !IsLabel[static_cast<std::size_t>(pc + 1 - Head)];
}

// A way out before the current instruction: the stores pending now, SP before it.
TLoopTranslator::TLabel TLoopTranslator::Bail() {
  Stubs.push_back({E.NewLabel(), Pending, InstrDepth, InstrPC, false});
  return Stubs.back().Label;
}

void TLoopTranslator::EmitExit(std::int32_t pc, int depth, bool plain) {
  E.Lea64(R11, {R12, NoReg, depth});
  E.Store64(FrameAt(offsetof(TNativeFrame, SP)), R11);
  E.Store32Imm(FrameAt(offsetof(TNativeFrame, PC)), pc);
  E.Store32Imm(FrameAt(offsetof(TNativeFrame, Plain)), plain ? 1 : 0);
  E.Jmp(Epilogue);
}

// A jump with nothing pending: a backward one counts down to the next Poll, which the run loop
// makes (the jump is left to it when the count would reach 0).
void TLoopTranslator::EmitJump(std::int32_t from, std::int32_t to, int depth) {
  if (to <= from) {
    E.Alu32Imm(aluSub, RBP, 1);
    const TLabel l = Bail();
    Stubs.back().Countdown = true;
    E.Jcc(ccE, l);
  }
  if (to >= Head && to <= Last)
    E.Jmp(LabelAt[static_cast<std::size_t>(to - Head)]);
  else
    EmitExit(to, depth, false);
}

// The operand for `size` bytes at address a. A local's address is checked once, at the
// entry. Any other address a (zero-extended) must end at or below the starting SP + 1: then it
// lies in the store and off the stack bytes still pending.
TMem TLoopTranslator::Access(TVal &a, int size, bool load) {
  if (a.Kind == TVal::Local) {
    const std::int64_t low = a.C, high = static_cast<std::int64_t>(a.C) + size;
    LocalLow = AnyLocal ? std::min(LocalLow, low) : low;
    LocalHigh = AnyLocal ? std::max(LocalHigh, high) : high;
    AnyLocal = true;
    Uses.push_back({a.C, size, load});
    return LocalAt(a.C);
  }
  Materialize(a, 4);
  E.Lea64(R11, {a.R, NoReg, size});
  E.Cmp64(R11, R15);
  E.Jcc(ccA, Bail());
  if (!load && !Promoted.empty()) {
    // A store that would reach a local kept in a register is left to the instruction: the
    // register would go stale. The test: a + size - 1 - (MP + low) below high - low + size - 1,
    // unsigned, for the promoted locals' span low..high-1.
    std::int64_t low = INT32_MAX, high = INT32_MIN;
    for (const TPromoted &local : Promoted) {
      low = std::min<std::int64_t>(low, local.Offset);
      high = std::max<std::int64_t>(high, static_cast<std::int64_t>(local.Offset) + local.Size);
    }
    E.Lea64(R11, {a.R, NoReg, static_cast<std::int32_t>(size - 1 - low)});
    E.Sub64(R11, R13);
    E.Cmp64Imm(R11, static_cast<std::int32_t>(high - low + size - 1));
    E.Jcc(ccB, Bail());
  }
  return {RBX, a.R, 0};
}

// The promoted local at a's address with that size, if any.
const TLoopTranslator::TPromoted *TLoopTranslator::PromotedAt(const TVal &a, int size) const {
  if (a.Kind != TVal::Local) return nullptr;
  for (const TPromoted &local : Promoted)
    if (local.Offset == a.C && local.Size == size) return &local;
  return nullptr;
}

// A store into a promoted local: what still refers to the register's old value (values on the
// stack, pending stores) moves to a copy first, then the register takes v.
void TLoopTranslator::SetPromoted(const TPromoted &local, TVal &v) {
  const bool real = local.Size == 8;
  const auto r = static_cast<TReg>(local.Reg);
  if ((v.Kind == TVal::Reg || v.Kind == TVal::XReg) && v.R == r) return;  // x := x
  int &refs = real ? XRefs[local.Reg] : Refs[local.Reg];
  if (refs > 1) {
    const int copy = real ? AllocX() : Alloc();
    if (real)
      E.MovPD(copy, local.Reg);
    else
      E.Mov32(static_cast<TReg>(copy), r);
    (real ? XRefs : Refs)[copy] = refs - 1;
    refs = 1;
    const TVal::TKind kind = real ? TVal::XReg : TVal::Reg;
    for (std::vector<TItem> *items : {&Stack, &Pending})
      for (TItem &item : *items)
        if (item.V.Kind == kind && item.V.R == r) item.V.R = static_cast<TReg>(copy);
  }
  if (real)
    LoadReal(local.Reg, v);
  else if (v.Kind == TVal::Const)
    E.Mov32Imm(r, v.C);
  else {
    Materialize(v, 4);
    E.Mov32(r, v.R);
  }
}

}  // namespace uvm

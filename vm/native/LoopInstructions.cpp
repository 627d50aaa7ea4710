// Each instruction's translation: what it does to the abstract stack, and the machine code for
// the rest. See LoopTranslator.h.
#include "LoopTranslator.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "Arithmetic.h"
#include "Instruction.h"

namespace uvm {

using namespace x64;

namespace {

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
      ForgetStack();
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
      ForgetStack();
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

}  // namespace uvm

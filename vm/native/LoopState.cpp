// The translation's state: values in registers, the abstract stack, the stack bytes still to
// be written, the locals kept in registers, and the ways out of the code.
#include "LoopTranslator.h"

#include <algorithm>
#include <cassert>
#include <cstddef>

#include "Instruction.h"
#include "NativeLoops.h"

namespace uvm {

using namespace x64;

namespace {

// The registers values live in (LoopTranslator.h names the fixed ones).
constexpr TReg Pool[] = {RAX, RCX, RDX, RSI, RDI, R8, R9, R10};

}  // namespace

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
  ReplaceReg(TVal::Reg, r, to);
}

// Values on the stack and pending stores in register `from` (of that kind) now name `to`.
void TLoopTranslator::ReplaceReg(TVal::TKind kind, int from, int to) {
  for (std::vector<TItem> *items : {&Stack, &Pending})
    for (TItem &item : *items)
      if (item.V.Kind == kind && item.V.R == from) item.V.R = static_cast<TReg>(to);
}

// Writes everything pending and forgets the stack's values: the store holds them all.
void TLoopTranslator::ForgetStack() {
  FlushAll();
  for (const TItem &item : Stack) Drop(item.V);
  Stack.clear();
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
    ForgetStack();
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
    ReplaceReg(real ? TVal::XReg : TVal::Reg, local.Reg, copy);
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

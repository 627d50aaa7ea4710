// Translation of one loop (instructions Head..Last, Last a jump back to Head) into x86-64 code:
// see NativeLoops.h. Internal to the machine.
#pragma once

#include <cstdint>
#include <vector>

#include "X64Emitter.h"

namespace uvm {

// The code's fixed registers: RBX the store, R12 the SP it started with, R13 MP (sign-extended),
// R14 the frame (TNativeFrame), R15 the starting SP + 1 (no element access may reach it), EBP
// the countdown to the next poll. R11 and XMM15 are scratch; any Alloc may write pending stores
// through R11. Values live in RAX, RCX, RDX, RSI, RDI, R8..R10 and XMM0..XMM14, of which R8..R10
// and XMM11..XMM14 may hold promoted locals.
class TLoopTranslator {
 public:
  // The program's opcodes and operands (reals: the bits of PushReal's double).
  TLoopTranslator(const std::uint8_t *ops, const std::int32_t *operands, const std::uint64_t *reals,
                  std::int32_t count);
  // The code of the loop Head..Last, or empty when an instruction of it is not translated.
  std::vector<std::uint8_t> Translate(std::int32_t head, std::int32_t last);

 private:
  using TReg = x64::TReg;
  using TLabel = x64::TEmitter::TLabel;

  // A value of the abstract stack: a constant, MP plus a constant (a local's address), a
  // machine register, the bytes at a stack position (relative to the SP the code started
  // with), a Boolean still in the processor's flags, a real constant or a real in an XMM
  // register.
  struct TVal {
    enum TKind : std::uint8_t { Const, Local, Reg, Mem, Flags, Real, XReg } Kind = Const;
    std::int32_t C = 0;  // Const: the value; Local: the offset; Mem: the position
    TReg R = x64::NoReg;  // Reg: the register; XReg: the XMM register's number
    x64::TCond Cc = x64::ccE;  // Flags: true when this condition holds
    std::uint64_t Q = 0;       // Real: the bits of the double
  };
  // A value on the stack, or a store of one that is still to be written: its first byte's
  // position relative to the starting SP, and its size (1, 4 or 8).
  struct TItem {
    int Pos;
    int Size;
    TVal V;
  };
  // A way out before an instruction whose check failed: the stores pending there, SP and PC.
  struct TStub {
    TLabel Label;
    std::vector<TItem> Pending;
    int Depth;
    std::int32_t PC;
    bool Countdown;  // entered after the countdown was decremented to 0
  };

  bool Analyse(std::int32_t head, std::int32_t last);
  bool TranslateInstruction(std::int32_t pc);
  bool TranslateReal(std::int32_t pc);

  // Values and registers.
  void Hold(const TVal &v);
  void Drop(const TVal &v);
  int FreeRegister(bool xmm);
  TReg Alloc();
  int AllocX();
  void LoadReal(int x, const TVal &v);  // a real value into XMM register x
  void Materialize(TVal &v, int size);  // into a register the caller holds
  TReg Owned(TVal &v, int size);        // a register the caller may change
  void Evict(TReg r);
  void ReplaceReg(TVal::TKind kind, int from, int to);
  void ForgetStack();

  // The abstract stack and the stack bytes still to be written.
  void Push(TVal v, int size);
  void PushCondition(x64::TCond cc, TReg d);
  TItem Pop(int size);
  void Supersede(int pos, int size);
  void EmitWrite(const TItem &w);
  void FlushAll();
  void SpillAll();
  bool NextIsJifF(std::int32_t pc) const;

  // Control.
  TLabel Bail();  // a stub leaving before the current instruction
  void EmitExit(std::int32_t pc, int depth, bool plain);
  void EmitJump(std::int32_t from, std::int32_t to, int depth);
  x64::TMem Access(TVal &a, int size, bool load);

  // Locals kept in registers for the whole loop (loaded at the entry, stored through).
  struct TPromoted {
    std::int32_t Offset;
    int Size;  // 4: an integer in a register; 8: a real in an XMM register
    int Reg;
  };
  struct TUse {
    std::int32_t Offset;
    int Size;
    bool Load;
  };
  bool EmitBody();
  void ChoosePromoted();
  const TPromoted *PromotedAt(const TVal &a, int size) const;
  void SetPromoted(const TPromoted &local, TVal &v);

  x64::TMem StackAt(int pos) const { return {x64::RBX, x64::R12, pos}; }
  static x64::TMem FrameAt(std::size_t offset) { return {x64::R14, x64::NoReg, static_cast<std::int32_t>(offset)}; }
  x64::TMem LocalAt(std::int32_t offset) const { return {x64::RBX, x64::R13, offset}; }

  const std::uint8_t *Ops;
  const std::int32_t *Operands;
  const std::uint64_t *Reals;
  std::int32_t Count;
  std::int32_t Head = 0, Last = 0;

  x64::TEmitter E;
  std::vector<int> DepthAt;     // per instruction of the loop; INT_MIN: not reached
  std::vector<bool> IsLabel;    // a jump inside the loop goes there
  std::vector<TLabel> LabelAt;
  int MaxDepth = 0;
  int MinPos = 1;               // lowest stack position read
  std::int64_t LocalLow = 0, LocalHigh = 0;  // locals' bytes touched: MP+LocalLow .. MP+LocalHigh-1
  bool AnyLocal = false;
  std::vector<TUse> Uses;            // the locals' accesses, from the first pass
  std::vector<TPromoted> Promoted;

  std::vector<TItem> Stack;     // the values pushed since the last label, lowest first
  std::vector<TItem> Pending;   // stack bytes to be written, in order
  std::vector<TStub> Stubs;
  int Depth = 0;                // SP minus the starting SP
  int InstrDepth = 0;           // Depth before the current instruction
  std::int32_t InstrPC = 0;
  int Refs[16] = {};
  int XRefs[16] = {};
  bool Pinned[16] = {};
  TLabel Epilogue = 0;
};

}  // namespace uvm

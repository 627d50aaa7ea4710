// A small x86-64 machine code emitter: the instructions the loop compiler needs, with labels
// resolved when the code is finished. Internal to the machine.
#pragma once

#include <cstdint>
#include <vector>

namespace uvm::x64 {

enum TReg : std::uint8_t { RAX, RCX, RDX, RBX, RSP, RBP, RSI, RDI, R8, R9, R10, R11, R12, R13, R14, R15, NoReg = 0xFF };

// Condition codes as in the opcodes' low nibble.
enum TCond : std::uint8_t { ccO = 0, ccNO = 1, ccB = 2, ccAE = 3, ccE = 4, ccNE = 5, ccBE = 6, ccA = 7, ccS = 8, ccNS = 9, ccP = 10, ccNP = 11, ccL = 12, ccGE = 13, ccLE = 14, ccG = 15 };
inline TCond Negate(TCond c) { return static_cast<TCond>(c ^ 1); }

// [Base + Index + Disp]: Index may be NoReg, and is never RSP.
struct TMem {
  TReg Base;
  TReg Index;
  std::int32_t Disp;
};

enum TAluOp : std::uint8_t { aluAdd = 0, aluOr = 1, aluAnd = 4, aluSub = 5, aluXor = 6, aluCmp = 7 };

class TEmitter {
 public:
  using TLabel = int;

  TLabel NewLabel();
  void Bind(TLabel l);
  std::size_t Size() const { return Code.size(); }
  // The code with every jump to a label resolved.
  std::vector<std::uint8_t> Finish();

  void Load32(TReg d, TMem m);        // mov d32, [m]
  void Load8(TReg d, TMem m);         // movzx d32, byte [m]
  void Load64(TReg d, TMem m);        // mov d64, [m]
  void Store32(TMem m, TReg s);       // mov [m], s32
  void Store8(TMem m, TReg s);        // mov byte [m], s8
  void Store64(TMem m, TReg s);       // mov [m], s64
  void Store32Imm(TMem m, std::int32_t v);
  void Store8Imm(TMem m, std::uint8_t v);
  void Lea64(TReg d, TMem m);
  void Lea32(TReg d, TMem m);         // the address's low 32 bits
  void Mov32(TReg d, TReg s);
  void Mov32Imm(TReg d, std::int32_t v);
  void Alu32(TAluOp op, TReg d, TReg s);
  void Alu32Imm(TAluOp op, TReg d, std::int32_t v);
  void Cmp64(TReg a, TReg b);
  void Sub64(TReg d, TReg s);
  void Cmp64Imm(TReg a, std::int32_t v);
  void Imul32(TReg d, TReg s);
  void Imul32Imm(TReg d, TReg s, std::int32_t v);
  void Neg32(TReg d);
  void Not32(TReg d);
  void Shift32(bool left, TReg d);                 // by CL
  void Shift32Imm(bool left, TReg d, std::uint8_t n);
  void Cvtsd2si64(TReg d, int x);                  // rounds by the current mode (nearest, ties to even)
  void Neg8(TReg d);
  void Test8(TReg a, TReg b);
  void Test32(TReg a, TReg b);
  void SetCC(TCond c, TReg d);        // d8 := c ? 1 : 0
  void Cdq();
  void Idiv32(TReg s);
  void Mul64(TReg s);                              // rdx:rax := rax * s, unsigned
  void Sar32(TReg d, std::uint8_t n);
  // Doubles in XMM registers (numbered 0..15).
  void LoadSD(int x, TMem m);          // movsd x, [m]
  void StoreSD(TMem m, int x);         // movsd [m], x
  void MovPD(int d, int s);            // movapd d, s
  void ArithSD(std::uint8_t op, int d, int s);  // addsd 0x58, mulsd 0x59, subsd 0x5C, divsd 0x5E
  void UcomiSD(int a, int b);
  void Cvtsi2SD(int x, TReg s);        // from a 32-bit integer
  void XorPD(int d, int s);
  void MovQToGpr(TReg d, int x);
  void MovQToXmm(int x, TReg s);
  void MovAbs(TReg d, std::uint64_t v);
  void Shr64(TReg d, std::uint8_t n);

  void Jcc(TCond c, TLabel l);
  void Jmp(TLabel l);
  void Push(TReg r);
  void Pop(TReg r);
  void Ret();

 private:
  void Rex(bool w, int reg, int index, int base, bool force = false);
  void ModRM(int reg, TMem m);
  void ModRMReg(int reg, int rm);
  void RegMem(std::initializer_list<std::uint8_t> opcode, bool w, int reg, TMem m, bool byteReg = false);
  void RegReg(std::initializer_list<std::uint8_t> opcode, bool w, int reg, int rm, bool byteRegs = false);
  void Sse(std::uint8_t prefix, std::uint8_t op, bool w, int reg, int rm);
  void SseMem(std::uint8_t prefix, std::uint8_t op, int reg, TMem m);
  void Imm32(std::int32_t v);

  std::vector<std::uint8_t> Code;
  std::vector<std::int64_t> Labels;                     // bound position, or -1
  std::vector<std::pair<std::size_t, TLabel>> Fixups;  // rel32 field at, to label
};

}  // namespace uvm::x64

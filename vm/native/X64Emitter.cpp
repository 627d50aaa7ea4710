#include "X64Emitter.h"

#include <cassert>
#include <cstring>

namespace uvm::x64 {

TEmitter::TLabel TEmitter::NewLabel() {
  Labels.push_back(-1);
  return static_cast<TLabel>(Labels.size() - 1);
}

void TEmitter::Bind(TLabel l) {
  assert(Labels[static_cast<std::size_t>(l)] < 0);
  Labels[static_cast<std::size_t>(l)] = static_cast<std::int64_t>(Code.size());
}

std::vector<std::uint8_t> TEmitter::Finish() {
  for (const auto &[at, label] : Fixups) {
    const std::int64_t to = Labels[static_cast<std::size_t>(label)];
    assert(to >= 0);
    const auto rel = static_cast<std::int32_t>(to - static_cast<std::int64_t>(at + 4));
    std::memcpy(&Code[at], &rel, 4);
  }
  Fixups.clear();
  return Code;
}

// REX prefix; `force` emits it even when empty (byte registers SPL..DIL).
void TEmitter::Rex(bool w, int reg, int index, int base, bool force) {
  const std::uint8_t rex = static_cast<std::uint8_t>(0x40 | (w ? 8 : 0) | ((reg >> 3) & 1) << 2 |
                                                     ((index >> 3) & 1) << 1 | ((base >> 3) & 1));
  if (rex != 0x40 || force) Code.push_back(rex);
}

// Always the 32-bit displacement form: one encoding for every base, RBP and R13 included.
void TEmitter::ModRM(int reg, TMem m) {
  if (m.Index != NoReg) {
    assert(m.Index != RSP);
    Code.push_back(static_cast<std::uint8_t>(0x80 | (reg & 7) << 3 | 4));
    Code.push_back(static_cast<std::uint8_t>((m.Index & 7) << 3 | (m.Base & 7)));
  } else if ((m.Base & 7) == 4) {
    Code.push_back(static_cast<std::uint8_t>(0x80 | (reg & 7) << 3 | 4));
    Code.push_back(0x24);
  } else {
    Code.push_back(static_cast<std::uint8_t>(0x80 | (reg & 7) << 3 | (m.Base & 7)));
  }
  Imm32(m.Disp);
}

void TEmitter::ModRMReg(int reg, int rm) { Code.push_back(static_cast<std::uint8_t>(0xC0 | (reg & 7) << 3 | (rm & 7))); }

void TEmitter::RegMem(std::initializer_list<std::uint8_t> opcode, bool w, int reg, TMem m, bool byteReg) {
  Rex(w, reg, m.Index == NoReg ? 0 : m.Index, m.Base, byteReg && reg >= 4);
  Code.insert(Code.end(), opcode.begin(), opcode.end());
  ModRM(reg, m);
}

void TEmitter::RegReg(std::initializer_list<std::uint8_t> opcode, bool w, int reg, int rm, bool byteRegs) {
  Rex(w, reg, 0, rm, byteRegs && (reg >= 4 || rm >= 4));
  Code.insert(Code.end(), opcode.begin(), opcode.end());
  ModRMReg(reg, rm);
}

void TEmitter::Imm32(std::int32_t v) {
  std::uint8_t b[4];
  std::memcpy(b, &v, 4);
  Code.insert(Code.end(), b, b + 4);
}

void TEmitter::Load32(TReg d, TMem m) { RegMem({0x8B}, false, d, m); }
void TEmitter::Load8(TReg d, TMem m) { RegMem({0x0F, 0xB6}, false, d, m); }
void TEmitter::Load64(TReg d, TMem m) { RegMem({0x8B}, true, d, m); }
void TEmitter::Store32(TMem m, TReg s) { RegMem({0x89}, false, s, m); }
void TEmitter::Store8(TMem m, TReg s) { RegMem({0x88}, false, s, m, true); }
void TEmitter::Store64(TMem m, TReg s) { RegMem({0x89}, true, s, m); }
void TEmitter::Store32Imm(TMem m, std::int32_t v) {
  RegMem({0xC7}, false, 0, m);
  Imm32(v);
}
void TEmitter::Store8Imm(TMem m, std::uint8_t v) {
  RegMem({0xC6}, false, 0, m);
  Code.push_back(v);
}
void TEmitter::Lea64(TReg d, TMem m) { RegMem({0x8D}, true, d, m); }
void TEmitter::Lea32(TReg d, TMem m) { RegMem({0x8D}, false, d, m); }
void TEmitter::Mov32(TReg d, TReg s) { RegReg({0x89}, false, s, d); }
void TEmitter::Mov32Imm(TReg d, std::int32_t v) {
  Rex(false, 0, 0, d);
  Code.push_back(static_cast<std::uint8_t>(0xB8 | (d & 7)));
  Imm32(v);
}
void TEmitter::Alu32(TAluOp op, TReg d, TReg s) {
  RegReg({static_cast<std::uint8_t>(op << 3 | 1)}, false, s, d);
}
void TEmitter::Alu32Imm(TAluOp op, TReg d, std::int32_t v) {
  RegReg({0x81}, false, op, d);
  Imm32(v);
}
void TEmitter::Cmp64(TReg a, TReg b) { RegReg({0x39}, true, b, a); }
void TEmitter::Sub64(TReg d, TReg s) { RegReg({0x29}, true, s, d); }
void TEmitter::Cmp64Imm(TReg a, std::int32_t v) {
  RegReg({0x81}, true, aluCmp, a);
  Imm32(v);
}
void TEmitter::Imul32(TReg d, TReg s) { RegReg({0x0F, 0xAF}, false, d, s); }
void TEmitter::Imul32Imm(TReg d, TReg s, std::int32_t v) {
  RegReg({0x69}, false, d, s);
  Imm32(v);
}
void TEmitter::Neg32(TReg d) { RegReg({0xF7}, false, 3, d); }
void TEmitter::Not32(TReg d) { RegReg({0xF7}, false, 2, d); }
void TEmitter::Shift32(bool left, TReg d) { RegReg({0xD3}, false, left ? 4 : 5, d); }
void TEmitter::Shift32Imm(bool left, TReg d, std::uint8_t n) {
  RegReg({0xC1}, false, left ? 4 : 5, d);
  Code.push_back(n);
}
void TEmitter::Cvtsd2si64(TReg d, int x) { Sse(0xF2, 0x2D, true, d, x); }
void TEmitter::Neg8(TReg d) { RegReg({0xF6}, false, 3, d, true); }
void TEmitter::Test8(TReg a, TReg b) { RegReg({0x84}, false, b, a, true); }
void TEmitter::Test32(TReg a, TReg b) { RegReg({0x85}, false, b, a); }
void TEmitter::SetCC(TCond c, TReg d) { RegReg({0x0F, static_cast<std::uint8_t>(0x90 | c)}, false, 0, d, true); }
void TEmitter::Cdq() { Code.push_back(0x99); }
void TEmitter::Idiv32(TReg s) { RegReg({0xF7}, false, 7, s); }
void TEmitter::Mul64(TReg s) { RegReg({0xF7}, true, 4, s); }
void TEmitter::Sar32(TReg d, std::uint8_t n) {
  RegReg({0xC1}, false, 7, d);
  Code.push_back(n);
}

// prefix [REX] 0F op ModRM: register forms and memory forms of the SSE2 instructions.
void TEmitter::Sse(std::uint8_t prefix, std::uint8_t op, bool w, int reg, int rm) {
  Code.push_back(prefix);
  Rex(w, reg, 0, rm);
  Code.push_back(0x0F);
  Code.push_back(op);
  ModRMReg(reg, rm);
}
void TEmitter::SseMem(std::uint8_t prefix, std::uint8_t op, int reg, TMem m) {
  Code.push_back(prefix);
  Rex(false, reg, m.Index == NoReg ? 0 : m.Index, m.Base);
  Code.push_back(0x0F);
  Code.push_back(op);
  ModRM(reg, m);
}
void TEmitter::LoadSD(int x, TMem m) { SseMem(0xF2, 0x10, x, m); }
void TEmitter::StoreSD(TMem m, int x) { SseMem(0xF2, 0x11, x, m); }
void TEmitter::MovPD(int d, int s) { Sse(0x66, 0x28, false, d, s); }
void TEmitter::ArithSD(std::uint8_t op, int d, int s) { Sse(0xF2, op, false, d, s); }
void TEmitter::UcomiSD(int a, int b) { Sse(0x66, 0x2E, false, a, b); }
void TEmitter::Cvtsi2SD(int x, TReg s) { Sse(0xF2, 0x2A, false, x, s); }
void TEmitter::XorPD(int d, int s) { Sse(0x66, 0x57, false, d, s); }
void TEmitter::MovQToGpr(TReg d, int x) { Sse(0x66, 0x7E, true, x, d); }
void TEmitter::MovQToXmm(int x, TReg s) { Sse(0x66, 0x6E, true, x, s); }
void TEmitter::MovAbs(TReg d, std::uint64_t v) {
  Rex(true, 0, 0, d);
  Code.push_back(static_cast<std::uint8_t>(0xB8 | (d & 7)));
  std::uint8_t b[8];
  std::memcpy(b, &v, 8);
  Code.insert(Code.end(), b, b + 8);
}
void TEmitter::Shr64(TReg d, std::uint8_t n) {
  RegReg({0xC1}, true, 5, d);
  Code.push_back(n);
}

void TEmitter::Jcc(TCond c, TLabel l) {
  Code.push_back(0x0F);
  Code.push_back(static_cast<std::uint8_t>(0x80 | c));
  Fixups.emplace_back(Code.size(), l);
  Imm32(0);
}
void TEmitter::Jmp(TLabel l) {
  Code.push_back(0xE9);
  Fixups.emplace_back(Code.size(), l);
  Imm32(0);
}
void TEmitter::Push(TReg r) {
  Rex(false, 0, 0, r);
  Code.push_back(static_cast<std::uint8_t>(0x50 | (r & 7)));
}
void TEmitter::Pop(TReg r) {
  Rex(false, 0, 0, r);
  Code.push_back(static_cast<std::uint8_t>(0x58 | (r & 7)));
}
void TEmitter::Ret() { Code.push_back(0xC3); }

}  // namespace uvm::x64

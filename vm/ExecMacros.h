// Helper macros of the opcode bodies (Semantics.inc): room checks, pushes and pops on
// the locals sp and S, and raising errors after VM_SAVE. Included by the two interpreter loops.
#pragma once

#include <cstring>

#include "Errors.h"
#include "FloatToStr.h"
#include "Interpreter.h"
#include "Random.h"
#include "StoreAccess.h"

#define VM_FAIL(exc) \
  do {               \
    VM_SAVE();       \
    throw exc;       \
  } while (0)
#define VM_OVERFLOW() VM_FAIL(TStoreOverflow("Store overflow"))
#define VM_UNDERFLOW() VM_FAIL(TStoreOverflow("Store underflow"))
#define VM_MOVE_ERROR() VM_FAIL(TStoreOverflow("Store over/underflow"))
#define VM_REAL_FAULT(f)                                  \
  do {                                                    \
    switch (f) {                                          \
      case uvm::rfNone: break;                            \
      case uvm::rfInvalid: VM_FAIL(EInvalidOp());         \
      case uvm::rfZeroDivide: VM_FAIL(EZeroDivide());     \
      case uvm::rfOverflow: VM_FAIL(EOverflow());         \
    }                                                     \
  } while (0)

// The address of the local at offset from MP, with the machine's 32-bit wrap-around.
#define VM_LOCAL(offset) (static_cast<std::uint32_t>(mp) + static_cast<std::uint32_t>(offset))

// Fast checks of the superinstructions' common case: SP in lo..hi as one unsigned compare (SP is
// never below -1), and an n-byte block at the unsigned address a lying wholly below SP+1, which
// needs SP >= n-1 to be checked first. A failed fast check leaves the exact one to the
// instructions themselves.
#define VM_SP_IN(lo, hi) \
  (static_cast<std::uint32_t>(sp - (lo)) <= static_cast<std::uint32_t>((hi) - (lo)))
#define VM_BELOW_SP(a, n) ((a) <= static_cast<std::uint32_t>(sp + 1 - (n)))

// Room checks: a pop of `size` bytes needs SP >= size-1, a push needs SP+size <= StoreLimit.
#define VM_NEED_POP(size) \
  if (sp < (size)-1) VM_UNDERFLOW()
#define VM_NEED_PUSH(size) \
  if (sp > TUVCInterpreter::StoreLimit - (size)) VM_OVERFLOW()

#define VM_PUSH_INT(v)                \
  do {                                \
    VM_NEED_PUSH(4);                  \
    uvm::StoreInt(S + sp + 1, (v));   \
    sp += 4;                          \
  } while (0)
#define VM_PUSH_REAL(v)               \
  do {                                \
    VM_NEED_PUSH(8);                  \
    uvm::StoreReal(S + sp + 1, (v));  \
    sp += 8;                          \
  } while (0)
#define VM_PUSH_BOOL(b)               \
  do {                                \
    VM_NEED_PUSH(1);                  \
    S[++sp] = (b) ? 0xFF : 0x00;      \
  } while (0)
// Pushes len (<= 255) characters at p as a string slot.
#define VM_PUSH_STR(p, len)                                        \
  do {                                                             \
    VM_NEED_PUSH(256);                                             \
    S[sp + 1] = static_cast<std::uint8_t>(len);                    \
    std::memmove(S + sp + 2, (p), static_cast<std::size_t>(len));  \
    sp += 256;                                                     \
  } while (0)

// Two pops of `size` bytes each (right operand first): a failing second pop leaves the first
// one done. Afterwards l and r point at the left and right operand, and SP lies below both.
#define VM_POP2(size)                          \
  if (sp < 2 * (size)-1) {                     \
    if (sp >= (size)-1) sp -= (size);          \
    VM_UNDERFLOW();                            \
  }                                            \
  sp -= 2 * (size);                            \
  const std::uint8_t *l = S + sp + 1;          \
  const std::uint8_t *r = l + (size)

#define VM_INT_BINARY(expr)                         \
  {                                                 \
    VM_POP2(4);                                     \
    const std::uint32_t a = static_cast<std::uint32_t>(uvm::LoadInt(l)); \
    const std::uint32_t b = static_cast<std::uint32_t>(uvm::LoadInt(r)); \
    uvm::StoreUInt(S + sp + 1, (expr));             \
    sp += 4;                                        \
    VM_NEXT;                                        \
  }
#define VM_INT_COMPARE(op)                                  \
  {                                                         \
    VM_POP2(4);                                             \
    const bool res = uvm::LoadInt(l) op uvm::LoadInt(r);    \
    S[++sp] = res ? 0xFF : 0x00;                            \
    VM_NEXT;                                                \
  }
#define VM_REAL_COMPARE(op)                                 \
  {                                                         \
    VM_POP2(8);                                             \
    const bool res = uvm::LoadReal(l) op uvm::LoadReal(r);  \
    S[++sp] = res ? 0xFF : 0x00;                            \
    VM_NEXT;                                                \
  }
#define VM_STR_COMPARE(op)                                  \
  {                                                         \
    VM_POP2(256);                                           \
    const bool res = uvm::CompareStr(l, r) op 0;            \
    S[++sp] = res ? 0xFF : 0x00;                            \
    VM_NEXT;                                                \
  }
#define VM_BOOL_BINARY(expr)                                \
  {                                                         \
    VM_POP2(1);                                             \
    const bool a = *l != 0, b = *r != 0;                    \
    S[++sp] = (expr) ? 0xFF : 0x00;                         \
    VM_NEXT;                                                \
  }
#define VM_REAL_BINARY(expr)                                \
  {                                                         \
    VM_POP2(8);                                             \
    const double a = uvm::LoadReal(l), b = uvm::LoadReal(r); \
    const double res = uvm::OrderedNaN((expr), a, b);       \
    VM_REAL_FAULT(uvm::RealFault(res, a, b));               \
    uvm::StoreReal(S + sp + 1, res);                        \
    sp += 8;                                                \
    VM_NEXT;                                                \
  }

// "Sto" n: the top n bytes are a value, the 4 bytes below them its address.
#define VM_STO(count)                                                        \
  do {                                                                       \
    const std::int64_t n_ = (count);                                         \
    if (n_ < 0) VM_MOVE_ERROR();                                             \
    const std::int64_t addrPos_ = sp - n_ - 3;                               \
    if (addrPos_ < 0) VM_UNDERFLOW();                                        \
    const std::int32_t a_ = uvm::LoadInt(S + addrPos_);                      \
    if (!uvm::MoveFits(addrPos_ + 4, a_, n_, TUVCInterpreter::StoreLimit))   \
      VM_MOVE_ERROR();                                                       \
    uvm::MoveStore(S, addrPos_ + 4, a_, n_);                                 \
    sp = static_cast<decltype(sp)>(addrPos_ - 1);                            \
  } while (0)

#define VM_MOVE(s, d, n)                                                     \
  do {                                                                       \
    if (!uvm::MoveFits((s), (d), (n), TUVCInterpreter::StoreLimit)) VM_MOVE_ERROR(); \
    uvm::MoveStore(S, (s), (d), (n));                                        \
  } while (0)


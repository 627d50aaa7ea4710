// The run loop: the program decoded once into one slot per instruction (with superinstructions,
// Fusion.h), dispatched by computed goto (GCC, Clang) or a switch, with PC, SP, MP and the store
// in locals.
#include <algorithm>
#include <cstring>
#include <vector>

#include "Errors.h"
#include "FloatToStr.h"
#include "Interpreter.h"
#include "Random.h"
#include "DotLoop.h"
#include "ExecMacros.h"
#include "FillLoop.h"
#include "Fusion.h"
#include "StoreAccess.h"

#if defined(__GNUC__) && !defined(ULVAN_SWITCH_DISPATCH)
#define ULVAN_COMPUTED_GOTO 1
#else
#define ULVAN_COMPUTED_GOTO 0
#endif

namespace {
// Backward jumps between two calls of the console's Poll.
constexpr std::uint32_t PollInterval = 1u << 16;
// The switch's code of the slot after the last instruction.
constexpr std::uintptr_t PastEndOp = uvm::fxEnd;
}  // namespace

void TUVCInterpreter::RunLoop() {
  const std::int32_t count = Program->GetCount();
  std::vector<uvm::TSlot> code(static_cast<std::size_t>(count) + 1);
  std::vector<TShortString> strings;
  std::vector<uvm::TDotLoop> dots;  // described once; a fxDotLoop slot holds its index

#if ULVAN_COMPUTED_GOTO
  static const void *const labels[OpcodeCount] = {
#define ULVAN_LABEL(e, name, kind) &&L_##e,
      ULVAN_OPCODES(ULVAN_LABEL)
#undef ULVAN_LABEL
  };
  static const void *const fusedLabels[uvm::FusedCount] = {
#define ULVAN_LABEL(e, len) &&F_##e,
      ULVAN_FUSED(ULVAN_LABEL)
#undef ULVAN_LABEL
  };
  // The instruction's own code, for a superinstruction that cannot run.
  std::vector<const void *> plain(static_cast<std::size_t>(count) + 1);
#else
  std::vector<std::uint16_t> plain(static_cast<std::size_t>(count) + 1);
#endif

  // Decode: strings first, so that their addresses are stable.
  {
    TInstruction instr;
    std::size_t stringCount = 0;
    std::vector<std::uint8_t> ops(static_cast<std::size_t>(count));
    std::vector<std::int32_t> operands(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
      Program->GetInstruction(i, instr);
      if (instr.Opcode == ocPushStr) ++stringCount;
    }
    strings.reserve(stringCount);
    for (std::int32_t i = 0; i < count; ++i) {
      Program->GetInstruction(i, instr);
      const auto k = static_cast<std::size_t>(i);
      uvm::TSlot &slot = code[k];
      const std::uint8_t op = instr.Opcode < OpcodeCount ? instr.Opcode : std::uint8_t{ocIllegal};
      ops[k] = op;
      operands[k] = instr.IntValue;
#if ULVAN_COMPUTED_GOTO
      slot.Target = plain[k] = labels[op];
#else
      slot.Op = plain[k] = op;
#endif
      if (op == ocPushStr) {
        strings.push_back(instr.StrValue);
        slot.S = &strings.back();
      } else {
        std::memcpy(&slot.R, &instr.RealValue, sizeof slot.R);
      }
    }
    for (std::int32_t i = 0; i < count; ++i) {
      const uvm::TFused fused = uvm::FindFused(ops.data(), operands.data(), i, count);
      if (fused == uvm::fxNone) continue;
      if (fused == uvm::fxDotLoop) {
        // The slot's own operand is free: PushMP has none.
        uvm::TDotLoop dot;
        uvm::DescribeDotLoop(ops.data(), operands.data(), i, count, dot);
        code[static_cast<std::size_t>(i)].I = static_cast<std::int32_t>(dots.size());
        dots.push_back(dot);
      }
#if ULVAN_COMPUTED_GOTO
      code[static_cast<std::size_t>(i)].Target = fusedLabels[fused - uvm::fxFirst];
#else
      code[static_cast<std::size_t>(i)].Op = fused;
#endif
    }
#if ULVAN_COMPUTED_GOTO
    code[static_cast<std::size_t>(count)].Target = plain[static_cast<std::size_t>(count)] = &&L_PastEnd;
#else
    code[static_cast<std::size_t>(count)].Op = plain[static_cast<std::size_t>(count)] = PastEndOp;
#endif
  }

  const uvm::TSlot *const base = code.data();
  std::uint8_t *const S = Store.data();
  std::int32_t sp = SP;
  std::int32_t mp = MP;
  std::int32_t outPC = 0;  // the index that left the program
  std::uint32_t pollCountdown = PollInterval;
  const uvm::TSlot *ins = base;
#if !ULVAN_COMPUTED_GOTO
  std::uintptr_t op = 0;
#endif
  if (PC < 0 || PC > count) {
    outPC = PC;
    goto vm_out_of_range;
  }
  ins = base + PC;

#if ULVAN_COMPUTED_GOTO
#define VM_DISPATCH() goto *ins->Target
#define VM_OP(e) L_##e:
#define VM_FUSED(e) F_##e:
#define VM_FALLBACK() goto vm_fallback
#define VM_RUN_AS(e) goto *fusedLabels[uvm::e - uvm::fxFirst]
#else
#define VM_DISPATCH() goto vm_dispatch
#define VM_OP(e) case e:
#define VM_FUSED(e) case uvm::e:
#define VM_FALLBACK() goto vm_fallback
#define VM_RUN_AS(e)  \
  do {                \
    op = uvm::e;      \
    goto vm_switch;   \
  } while (0)
#endif
#define VM_SKIP(n) \
  do {             \
    ins += (n);    \
    VM_DISPATCH(); \
  } while (0)
#define VM_CURPC static_cast<std::int32_t>(ins - base)
#define VM_NEXT    \
  do {             \
    ++ins;         \
    VM_DISPATCH(); \
  } while (0)
// A jump outside the program ends the run (index < 0) or fails; a backward one counts towards
// the next Poll.
#define VM_JUMP(t)                                                                      \
  do {                                                                                  \
    const std::int32_t to_ = (t);                                                       \
    if (static_cast<std::uint32_t>(to_) >= static_cast<std::uint32_t>(count)) {         \
      outPC = to_;                                                                      \
      goto vm_out_of_range;                                                             \
    }                                                                                   \
    if (base + to_ <= ins && --pollCountdown == 0) {                                    \
      pollCountdown = PollInterval;                                                     \
      PC = to_;                                                                         \
      SP = sp;                                                                          \
      MP = mp;                                                                          \
      Console->Poll();                                                                  \
      if (!Running) return;                                                             \
    }                                                                                   \
    ins = base + to_;                                                                   \
    VM_DISPATCH();                                                                      \
  } while (0)
#define VM_SAVE()    \
  do {               \
    PC = VM_CURPC;   \
    SP = sp;         \
    MP = mp;         \
  } while (0)
#define VM_HALT          \
  do {                   \
    PC = VM_CURPC + 1;   \
    SP = sp;             \
    MP = mp;             \
    Stop();              \
    return;              \
  } while (0)
#define OPND (*ins)

#if ULVAN_COMPUTED_GOTO
  VM_DISPATCH();
#include "Execute.inc"
#include "FusedElements.inc"
#include "FusedLocals.inc"
#include "FusedCalls.inc"
#include "FusedLoops.inc"
L_PastEnd:
  outPC = count;
  goto vm_out_of_range;
// A superinstruction that cannot run: its first instruction's own code (rarely taken).
vm_fallback:
  __attribute__((cold));
  goto *plain[static_cast<std::size_t>(ins - base)];
#else
vm_dispatch:
  op = ins->Op;
vm_switch:
  switch (op) {
#include "Execute.inc"
#include "FusedElements.inc"
#include "FusedLocals.inc"
#include "FusedCalls.inc"
#include "FusedLoops.inc"
    default:
      outPC = count;
      goto vm_out_of_range;
  }
vm_fallback:
  op = plain[static_cast<std::size_t>(ins - base)];
  goto vm_switch;
#endif

vm_out_of_range:
  PC = outPC;
  SP = sp;
  MP = mp;
  if (outPC < 0) {
    Stop();
    return;
  }
  throw TIllegalInstruction("No program or no program command present");

#undef VM_DISPATCH
#undef VM_OP
#undef VM_FUSED
#undef VM_FALLBACK
#undef VM_RUN_AS
#undef VM_SKIP
#undef VM_CURPC
#undef VM_NEXT
#undef VM_JUMP
#undef VM_SAVE
#undef VM_HALT
#undef OPND
}

// The run loop: the program decoded once into one slot per instruction, superinstructions
// (Superinstructions.h) in the slots where their sequences start, dispatched by computed goto
// (GCC, Clang) or a switch, with PC, SP, MP and the store in locals.
#include <cstring>
#include <vector>

#include "Errors.h"
#include "ExecMacros.h"
#include "FloatToStr.h"
#include "Interpreter.h"
#include "Random.h"
#include "StoreAccess.h"
#include "Superinstructions.h"

#if defined(__GNUC__) && !defined(ULVAN_SWITCH_DISPATCH)
#define ULVAN_COMPUTED_GOTO 1
#else
#define ULVAN_COMPUTED_GOTO 0
#endif

namespace {
// Backward jumps between two calls of the console's Poll.
constexpr std::uint32_t PollInterval = 1u << 16;
// The switch's codes of the slot after the last instruction and of a counted superinstruction.
constexpr std::uintptr_t PastEndOp = uvm::fxEnd;
constexpr std::uintptr_t CountedOp = uvm::fxEnd + 1;
}  // namespace

void TUVCInterpreter::RunLoop() {
  const std::int32_t count = Program->GetCount();
  std::vector<uvm::TSlot> code(static_cast<std::size_t>(count) + 1);
  std::vector<TShortString> strings;
  // With a superinstruction counter: the kind of each counted slot.
  std::vector<uvm::TFused> counted(FusedRuns ? static_cast<std::size_t>(count) : 0, uvm::fxNone);

#if ULVAN_COMPUTED_GOTO
  static const void *const labels[OpcodeCount] = {
#define ULVAN_LABEL(e, name, kind) &&L_##e,
      ULVAN_OPCODES(ULVAN_LABEL)
#undef ULVAN_LABEL
  };
  static const void *const fusedLabels[uvm::FusedCount] = {
#define X(e, length, text) &&F_##e,
#include "FusedKinds.inc"
#undef X
  };
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
      slot.Target = labels[op];
#else
      slot.Op = op;
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
      const auto k = static_cast<std::size_t>(i);
      if (FusedRuns) counted[k] = fused;
#if ULVAN_COMPUTED_GOTO
      code[k].Target = FusedRuns ? &&vm_counted : fusedLabels[fused - uvm::fxFirst];
#else
      code[k].Op = FusedRuns ? CountedOp : fused;
#endif
    }
#if ULVAN_COMPUTED_GOTO
    code[static_cast<std::size_t>(count)].Target = &&L_PastEnd;
#else
    code[static_cast<std::size_t>(count)].Op = PastEndOp;
#endif
  }

  const uvm::TSlot *const base = code.data();
  std::uint8_t *const S = Store.data();
  // SP as a 64-bit local: the store addresses S + sp + k of consecutive instructions then share
  // one base, and the compiler carries values from a push to the next pop in registers.
  std::int64_t sp = SP;
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
#else
#define VM_DISPATCH() goto vm_dispatch
#define VM_OP(e) case e:
#define VM_FUSED(e) case uvm::e:
#endif
#define VM_SKIP(n) \
  do {             \
    ins += (n);    \
    VM_DISPATCH(); \
  } while (0)
// The index of the k-th instruction of the slot being run (0: the slot's own).
#define VM_CURPC_AT(k) (static_cast<std::int32_t>(ins - base) + (k))
// A jump outside the program ends the run (index < 0) or fails; a backward one counts towards
// the next Poll.
#define VM_JUMP(t)                                                                      \
  do {                                                                                  \
    const std::int32_t to_ = (t);                                                       \
    if (static_cast<std::uint32_t>(to_) >= static_cast<std::uint32_t>(count)) {         \
      outPC = to_;                                                                      \
      goto vm_out_of_range;                                                             \
    }                                                                                   \
    if (to_ <= VM_CURPC && --pollCountdown == 0) {                                      \
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

// The plain instructions: OPND, VM_CURPC and VM_NEXT of the slot itself. The superinstructions
// bind them per covered instruction (FusedBodies.inc).
#define OPND (*ins)
#define VM_CURPC VM_CURPC_AT(0)
#define VM_NEXT    \
  do {             \
    ++ins;         \
    VM_DISPATCH(); \
  } while (0)

#if ULVAN_COMPUTED_GOTO
  VM_DISPATCH();
#include "Semantics.inc"
#undef OPND
#undef VM_CURPC
#undef VM_NEXT
#include "FusedBodies.inc"
L_PastEnd:
  outPC = count;
  goto vm_out_of_range;
// Counting superinstructions (tests): count the kind, then run it.
vm_counted: {
  const uvm::TFused kind = counted[static_cast<std::size_t>(ins - base)];
  ++(*FusedRuns)[static_cast<std::size_t>(kind - uvm::fxFirst)];
  goto *fusedLabels[kind - uvm::fxFirst];
}
#else
vm_dispatch:
  op = ins->Op;
vm_switch:
  switch (op) {
#include "Semantics.inc"
#undef OPND
#undef VM_CURPC
#undef VM_NEXT
#include "FusedBodies.inc"
    case CountedOp: {
      const uvm::TFused kind = counted[static_cast<std::size_t>(ins - base)];
      ++(*FusedRuns)[static_cast<std::size_t>(kind - uvm::fxFirst)];
      op = kind;
      goto vm_switch;
    }
    default:
      outPC = count;
      goto vm_out_of_range;
  }
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
#undef VM_SKIP
#undef VM_CURPC_AT
#undef VM_JUMP
#undef VM_SAVE
#undef VM_HALT
}

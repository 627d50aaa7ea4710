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
#include "DecodedProgram.h"
#include "DotLoop.h"
#include "ExecMacros.h"
#include "FillLoop.h"
#include "Fusion.h"
#include "StoreAccess.h"

namespace {
// The switch's codes of the slot after the last instruction and of a stop PC's slot.
constexpr std::uintptr_t PastEndOp = uvm::fxEnd;
constexpr std::uintptr_t StopOp = uvm::fxEnd + 1;

// Whether a superinstruction may start at a stop PC: not one that runs many rounds of a loop
// at once, since it would pass the stop again without stopping.
bool MayStartAtStop(uvm::TFused fused) {
  return fused != uvm::fxDotLoop && !(fused >= uvm::fxFillUpBoolInc && fused <= uvm::fxFillStrideLTInt);
}
}  // namespace

TUVCInterpreter::TRunExit TUVCInterpreter::RunLoop(TDecoded &decoded) {
  const std::int32_t count = Program->GetCount();
  using TTarget = TDecoded::TTarget;

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
  auto plainCode = [](std::uint8_t op) -> TTarget { return labels[op]; };
  auto fusedCode = [](uvm::TFused f) -> TTarget { return fusedLabels[f - uvm::fxFirst]; };
  const TTarget pastEndCode = &&L_PastEnd;
  const TTarget stopCode = &&L_StopPC;
#else
  auto plainCode = [](std::uint8_t op) -> TTarget { return op; };
  auto fusedCode = [](uvm::TFused f) -> TTarget { return f; };
  const TTarget pastEndCode = PastEndOp;
  const TTarget stopCode = StopOp;
#endif

  // Decode: strings first, so that their addresses are stable. Superinstructions are found on a
  // copy of the opcodes with every stop PC's opcode replaced by a barrier, so that none covers a
  // stop PC except as its first instruction.
  if (!decoded.Ready) {
    const auto size = static_cast<std::size_t>(count) + 1;
    decoded.Code.assign(size, uvm::TSlot{});
    decoded.Plain.assign(size, TTarget{});
    decoded.Strings.clear();
    decoded.Dots.clear();
    std::vector<uvm::TSlot> &code = decoded.Code;
    TInstruction instr;
    std::size_t stringCount = 0;
    std::vector<std::uint8_t> ops(static_cast<std::size_t>(count));
    std::vector<std::int32_t> operands(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
      Program->GetInstruction(i, instr);
      if (instr.Opcode == ocPushStr) ++stringCount;
    }
    decoded.Strings.reserve(stringCount);
    for (std::int32_t i = 0; i < count; ++i) {
      Program->GetInstruction(i, instr);
      const auto k = static_cast<std::size_t>(i);
      uvm::TSlot &slot = code[k];
      const std::uint8_t op = instr.Opcode < OpcodeCount ? instr.Opcode : std::uint8_t{ocIllegal};
      ops[k] = op;
      operands[k] = instr.IntValue;
#if ULVAN_COMPUTED_GOTO
      slot.Target = decoded.Plain[k] = plainCode(op);
#else
      slot.Op = decoded.Plain[k] = plainCode(op);
#endif
      if (op == ocPushStr) {
        decoded.Strings.push_back(instr.StrValue);
        slot.S = &decoded.Strings.back();
      } else {
        std::memcpy(&slot.R, &instr.RealValue, sizeof slot.R);
      }
    }
    const std::vector<std::uint8_t> realOps = ops;
    std::vector<bool> isStop(static_cast<std::size_t>(count), false);
    for (const std::int32_t pc : decoded.Stops) {
      if (pc < 0 || pc >= count) continue;
      isStop[static_cast<std::size_t>(pc)] = true;
      ops[static_cast<std::size_t>(pc)] = uvm::StopBarrier;
    }
    for (std::int32_t i = 0; i < count; ++i) {
      const auto k = static_cast<std::size_t>(i);
      uvm::TFused fused = uvm::fxNone;
      if (isStop[k]) {
        ops[k] = realOps[k];
        fused = uvm::FindFused(ops.data(), operands.data(), i, count);
        if (!MayStartAtStop(fused)) fused = uvm::fxNone;
      } else {
        fused = uvm::FindFused(ops.data(), operands.data(), i, count);
      }
      if (fused == uvm::fxNone) {
        if (isStop[k]) ops[k] = uvm::StopBarrier;
        continue;
      }
      if (fused == uvm::fxDotLoop) {
        // The slot's own operand is free: PushMP has none.
        uvm::TDotLoop dot;
        uvm::DescribeDotLoop(ops.data(), operands.data(), i, count, dot);
        code[k].I = static_cast<std::int32_t>(decoded.Dots.size());
        decoded.Dots.push_back(dot);
      }
#if ULVAN_COMPUTED_GOTO
      code[k].Target = fusedCode(fused);
#else
      code[k].Op = fusedCode(fused);
#endif
      if (isStop[k]) ops[k] = uvm::StopBarrier;
    }
    const auto last = static_cast<std::size_t>(count);
#if ULVAN_COMPUTED_GOTO
    code[last].Target = decoded.Plain[last] = pastEndCode;
#else
    code[last].Op = decoded.Plain[last] = pastEndCode;
#endif
    // The stops last: a stop PC's slot keeps its operand and remembers what it ran.
    decoded.Original.assign(size, TTarget{});
    for (std::int32_t i = 0; i < count; ++i) {
      const auto k = static_cast<std::size_t>(i);
      if (!isStop[k]) continue;
#if ULVAN_COMPUTED_GOTO
      decoded.Original[k] = code[k].Target;
      code[k].Target = stopCode;
#else
      decoded.Original[k] = code[k].Op;
      code[k].Op = stopCode;
#endif
    }
    decoded.Ready = true;
  }

  const uvm::TSlot *const base = decoded.Code.data();
  const TTarget *const plain = decoded.Plain.data();
  const std::vector<uvm::TDotLoop> &dots = decoded.Dots;
  std::uint8_t *const S = Store.data();
  std::int32_t sp = SP;
  std::int32_t mp = MP;
  std::int32_t outPC = 0;  // the index that left the program
  std::uint32_t pollCountdown = PollLeft;
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
      if (!Running) return TRunExit::Stopped;                                           \
      if (PauseRequested.load(std::memory_order_relaxed)) {                             \
        PollLeft = PollInterval;                                                        \
        return TRunExit::Paused;                                                        \
      }                                                                                 \
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
    return TRunExit::Ended; \
  } while (0)
#define OPND (*ins)

#if ULVAN_COMPUTED_GOTO
  // A resume at a stop PC runs that instruction: the stop there has been reported.
  if (ins->Target == stopCode) goto *decoded.Original[static_cast<std::size_t>(PC)];
  VM_DISPATCH();
#include "Execute.inc"
#include "FusedElements.inc"
#include "FusedLocals.inc"
#include "FusedCalls.inc"
#include "FusedLoops.inc"
L_PastEnd:
  outPC = count;
  goto vm_out_of_range;
L_StopPC:
  goto vm_stop;
// A superinstruction that cannot run: its first instruction's own code (rarely taken).
vm_fallback:
  __attribute__((cold));
  goto *plain[ins - base];
#else
  op = ins->Op == stopCode ? decoded.Original[static_cast<std::size_t>(PC)] : ins->Op;
  goto vm_switch;
vm_dispatch:
  op = ins->Op;
vm_switch:
  switch (op) {
#include "Execute.inc"
#include "FusedElements.inc"
#include "FusedLocals.inc"
#include "FusedCalls.inc"
#include "FusedLoops.inc"
    case StopOp:
      goto vm_stop;
    default:
      outPC = count;
      goto vm_out_of_range;
  }
vm_fallback:
  op = plain[ins - base];
  goto vm_switch;
#endif

vm_stop:
  PC = VM_CURPC;
  SP = sp;
  MP = mp;
  PollLeft = pollCountdown;
  return TRunExit::AtStopPC;

vm_out_of_range:
  PC = outPC;
  SP = sp;
  MP = mp;
  if (outPC < 0) {
    Stop();
    return TRunExit::Ended;
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

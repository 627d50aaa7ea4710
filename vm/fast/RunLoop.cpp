// The run loop: the program decoded once into one slot per instruction, superinstructions
// (Superinstructions.h) in the slots where their sequences start, dispatched by computed goto
// (GCC, Clang) or a switch, with PC, SP, MP and the store in locals.
#include <cstring>
#include <vector>

#include "DecodedProgram.h"
#include "Errors.h"
#include "ExecMacros.h"
#include "FloatToStr.h"
#include "Interpreter.h"
#include "Random.h"
#include "StoreAccess.h"
#include "Superinstructions.h"

// GCC 12 follows paths through a superinstruction's failed fast check into the plain instruction
// with SP at the store's end, where the instruction's own checks raise before any access, and
// warns of writes past the store on them.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#endif

namespace {
// The switch's codes of the slot after the last instruction, of a stop PC's slot and of a
// counted superinstruction.
constexpr std::uintptr_t PastEndOp = uvm::fxEnd;
constexpr std::uintptr_t StopOp = uvm::fxEnd + 1;
constexpr std::uintptr_t CountedOp = uvm::fxEnd + 2;
constexpr std::uintptr_t NativeOp = uvm::fxEnd + 3;
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
#define X(e, length, text) &&F_##e,
#include "FusedKinds.inc"
#undef X
  };
  auto plainCode = [](std::uint8_t op) -> TTarget { return labels[op]; };
  auto fusedCode = [](uvm::TFused f) -> TTarget { return fusedLabels[f - uvm::fxFirst]; };
  const TTarget pastEndCode = &&L_PastEnd;
  const TTarget stopCode = &&L_StopPC;
  const TTarget countedCode = &&L_Counted;
  const TTarget nativeCode = &&L_Native;
#else
  auto plainCode = [](std::uint8_t op) -> TTarget { return op; };
  auto fusedCode = [](uvm::TFused f) -> TTarget { return f; };
  const TTarget pastEndCode = PastEndOp;
  const TTarget stopCode = StopOp;
  const TTarget countedCode = CountedOp;
  const TTarget nativeCode = NativeOp;
#endif
  auto setCode = [](uvm::TSlot &slot, TTarget code) {
#if ULVAN_COMPUTED_GOTO
    slot.Target = code;
#else
    slot.Op = code;
#endif
  };

  // Decode: strings first, so that their addresses are stable. No superinstruction covers a
  // stop PC except as its first instruction.
  if (decoded.Ready && decoded.Counting != (FusedRuns != nullptr)) decoded.Ready = false;
  if (!decoded.Ready) {
    const auto size = static_cast<std::size_t>(count) + 1;
    decoded.Code.assign(size, uvm::TSlot{});
    decoded.Strings.clear();
    decoded.Counting = FusedRuns != nullptr;
    decoded.Counted.assign(decoded.Counting ? size : 0, uvm::fxNone);
    std::vector<uvm::TSlot> &code = decoded.Code;
    TInstruction instr;
    std::size_t stringCount = 0;
    std::vector<std::uint8_t> ops(static_cast<std::size_t>(count));
    std::vector<std::int32_t> operands(static_cast<std::size_t>(count));
    std::vector<std::uint64_t> reals(static_cast<std::size_t>(count));
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
      if (op == ocPushReal) std::memcpy(&reals[k], &instr.RealValue, sizeof reals[k]);
      setCode(slot, plainCode(op));
      if (op == ocPushStr) {
        decoded.Strings.push_back(instr.StrValue);
        slot.S = &decoded.Strings.back();
      } else {
        std::memcpy(&slot.R, &instr.RealValue, sizeof slot.R);
      }
    }
    std::vector<bool> isStop(static_cast<std::size_t>(count), false);
    for (const std::int32_t pc : decoded.Stops)
      if (pc >= 0 && pc < count) isStop[static_cast<std::size_t>(pc)] = true;
    for (std::int32_t i = 0; i < count; ++i) {
      const uvm::TFused fused = uvm::FindFused(ops.data(), operands.data(), i, count, isStop);
      if (fused == uvm::fxNone) continue;
      const auto k = static_cast<std::size_t>(i);
      setCode(code[k], decoded.Counting ? countedCode : fusedCode(fused));
      if (decoded.Counting) decoded.Counted[k] = fused;
    }
    // Loops as native code, where the machine has it (not while superinstructions are counted).
    decoded.Native.reset();
    decoded.NativeAt.assign(size, nullptr);
    if (!decoded.Counting) decoded.Native = uvm::TNativeLoops::Compile(ops.data(), operands.data(), reals.data(), count, isStop);
    if (decoded.Native)
      for (const auto &loop : decoded.Native->Loops()) {
        setCode(code[static_cast<std::size_t>(loop.Head)], nativeCode);
        decoded.NativeAt[static_cast<std::size_t>(loop.Head)] = loop.Entry;
      }
    decoded.Ops = std::move(ops);
    setCode(code[static_cast<std::size_t>(count)], pastEndCode);
    // The stops last: a stop PC's slot keeps its operand and remembers what it ran.
    decoded.Original.assign(size, TTarget{});
    for (std::int32_t i = 0; i < count; ++i) {
      const auto k = static_cast<std::size_t>(i);
      if (!isStop[k]) continue;
#if ULVAN_COMPUTED_GOTO
      decoded.Original[k] = code[k].Target;
#else
      decoded.Original[k] = code[k].Op;
#endif
      setCode(code[k], stopCode);
    }
    decoded.Ready = true;
  }

  const uvm::TSlot *const base = decoded.Code.data();
  std::uint8_t *const S = Store.data();
  // SP as a 64-bit local: the store addresses S + sp + k of consecutive instructions then share
  // one base, and the compiler carries more values from a push to the next pop in registers.
  std::int64_t sp = SP;
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
#define VM_PLAIN(e) goto L_##e
#else
#define VM_DISPATCH() goto vm_dispatch
#define VM_OP(e) case e:
#define VM_FUSED(e) case uvm::e:
#define VM_PLAIN(e) \
  do {              \
    op = e;         \
    goto vm_switch; \
  } while (0)
#endif
// A superinstruction leaving its fast path: counted for the tests, then `then`.
#define VM_FALLBACK(kind, then)                                                                \
  do {                                                                                         \
    if (FusedRuns) ++(*FusedRuns)[static_cast<std::size_t>(uvm::FusedCount + uvm::kind - uvm::fxFirst)]; \
    then;                                                                                      \
  } while (0)
#define VM_SKIP(n) \
  do {             \
    ins += (n);    \
    VM_DISPATCH(); \
  } while (0)
// The index of the k-th instruction of the slot being run (0: the slot's own).
#define VM_CURPC_AT(k) (static_cast<std::int32_t>(ins - base) + (k))
// A jump outside the program ends the run (index < 0) or fails; a backward one counts towards
// the next Poll, where a pause request is also honoured.
#define VM_JUMP_TO(t)                                                                   \
  do {                                                                                  \
    const std::int32_t to_ = (t);                                                       \
    if (static_cast<std::uint32_t>(to_) >= static_cast<std::uint32_t>(count)) {         \
      outPC = to_;                                                                      \
      goto vm_out_of_range;                                                             \
    }                                                                                   \
    if (to_ <= VM_CURPC && --pollCountdown == 0) {                                      \
      pollCountdown = PollInterval;                                                     \
      PC = to_;                                                                         \
      SP = static_cast<std::int32_t>(sp);                                               \
      MP = mp;                                                                          \
      Console->Poll();                                                                  \
      if (!Running) return TRunExit::Stopped;                                           \
      if (PauseRequested.load(std::memory_order_relaxed)) {                             \
        PollLeft = PollInterval;                                                        \
        return TRunExit::Paused;                                                        \
      }                                                                                 \
    }                                                                                   \
    ins = base + to_;                                                                   \
  } while (0)
#define VM_JUMP(t)     \
  do {                 \
    VM_JUMP_TO(t);     \
    VM_DISPATCH();     \
  } while (0)
#define VM_SAVE()                          \
  do {                                     \
    PC = VM_CURPC;                         \
    SP = static_cast<std::int32_t>(sp);    \
    MP = mp;                               \
  } while (0)
#define VM_HALT                            \
  do {                                     \
    PC = VM_CURPC + 1;                     \
    SP = static_cast<std::int32_t>(sp);    \
    MP = mp;                               \
    Stop();                                \
    return TRunExit::Ended;                \
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
  // A resume at a stop PC runs that instruction: the stop there has been reported.
  if (ins->Target == stopCode) goto *decoded.Original[static_cast<std::size_t>(PC)];
  VM_DISPATCH();
#include "Semantics.inc"
#undef OPND
#undef VM_CURPC
#undef VM_NEXT
#include "FusedBodies.inc"
L_PastEnd:
  outPC = count;
  goto vm_out_of_range;
L_StopPC:
  goto vm_stop;
// A native loop: it returns where the run goes on, or the instruction to run on its own.
L_Native: {
  uvm::TNativeFrame frame{S, sp, mp, pollCountdown, 0, 0};
  uvm::RunNative(decoded.NativeAt[static_cast<std::size_t>(ins - base)], frame);
  sp = frame.SP;
  pollCountdown = frame.Countdown;
  ins = base + frame.PC;
  if (frame.Plain != 0) goto *labels[decoded.Ops[static_cast<std::size_t>(frame.PC)]];
  VM_DISPATCH();
}
// Counting superinstructions (tests): count the kind, then run it.
L_Counted: {
  const uvm::TFused kind = decoded.Counted[static_cast<std::size_t>(ins - base)];
  ++(*FusedRuns)[static_cast<std::size_t>(kind - uvm::fxFirst)];
  goto *fusedLabels[kind - uvm::fxFirst];
}
#else
  op = ins->Op == stopCode ? decoded.Original[static_cast<std::size_t>(PC)] : ins->Op;
  goto vm_switch;
vm_dispatch:
  op = ins->Op;
vm_switch:
  switch (op) {
#include "Semantics.inc"
#undef OPND
#undef VM_CURPC
#undef VM_NEXT
#include "FusedBodies.inc"
    case StopOp:
      goto vm_stop;
    case NativeOp: {
      uvm::TNativeFrame frame{S, sp, mp, pollCountdown, 0, 0};
      uvm::RunNative(decoded.NativeAt[static_cast<std::size_t>(ins - base)], frame);
      sp = frame.SP;
      pollCountdown = frame.Countdown;
      ins = base + frame.PC;
      if (frame.Plain != 0) {
        op = decoded.Ops[static_cast<std::size_t>(frame.PC)];
        goto vm_switch;
      }
      goto vm_dispatch;
    }
    case CountedOp: {
      const uvm::TFused kind = decoded.Counted[static_cast<std::size_t>(ins - base)];
      ++(*FusedRuns)[static_cast<std::size_t>(kind - uvm::fxFirst)];
      op = kind;
      goto vm_switch;
    }
    default:
      outPC = count;
      goto vm_out_of_range;
  }
#endif

vm_stop:
  PC = VM_CURPC_AT(0);
  SP = static_cast<std::int32_t>(sp);
  MP = mp;
  PollLeft = pollCountdown;
  return TRunExit::AtStopPC;

vm_out_of_range:
  PC = outPC;
  SP = static_cast<std::int32_t>(sp);
  MP = mp;
  if (outPC < 0) {
    Stop();
    return TRunExit::Ended;
  }
  throw TIllegalInstruction("No program or no program command present");

#undef VM_DISPATCH
#undef VM_OP
#undef VM_FUSED
#undef VM_PLAIN
#undef VM_SKIP
#undef VM_FALLBACK
#undef VM_CURPC_AT
#undef VM_JUMP
#undef VM_JUMP_TO
#undef VM_SAVE
#undef VM_HALT
}

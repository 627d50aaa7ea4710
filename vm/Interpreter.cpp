#include "Interpreter.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "DecodedProgram.h"
#include "Errors.h"
#include "FloatToStr.h"
#include "Random.h"
#include "ExecMacros.h"
#include "StoreAccess.h"

namespace {

// The console of an interpreter that was given none: output goes nowhere, input is at its end.
class TNullConsole final : public IConsole {
 public:
  void Open(const std::string &) override {}
  void Release() override {}
  void Write(std::string_view) override {}
  bool IsInteractive() const override { return false; }
  void DiscardInput() override {}
  int ReadChar() override { return NoChar; }
};

TNullConsole NullConsole;

}  // namespace

TUVCInterpreter::TUVCInterpreter(IConsole *console) : Console(console ? console : &NullConsole) {}

TUVCInterpreter::~TUVCInterpreter() {
  if (Running) Stop();
}

void TUVCInterpreter::SetConsole(IConsole *console) {
  Console = console ? console : &NullConsole;
}

bool TUVCInterpreter::LoadProgram(IProgramRef program) {
  if (Running) return false;
  Program = std::move(program);
  ForgetDecoded();
  PC = 0;
  SP = 0;
  MP = 0;
  return true;
}

void TUVCInterpreter::SetRegisters(std::int32_t pc, std::int32_t mp, std::int32_t sp) {
  assert(sp >= -1 && sp <= StoreLimit && "SP outside the store");
  PC = pc;
  MP = mp;
  SP = sp;
}

void TUVCInterpreter::Stop() {
  Running = false;
  if (InRead) StopRequested = true;
  Console->Release();
}

void TUVCInterpreter::Run() {
  if (!BeginRun()) return;  // a second Run from inside the first one's console wait
  try {
    if (!Program) throw TIllegalInstruction("No program or no program command present");
    TDecoded decoded;  // without stops, and decoded afresh: the program may have changed
    while (RunLoop(decoded) == TRunExit::Paused) {
    }
  } catch (const uvm::TRunStopped &) {
  } catch (...) {
    Stop();
    throw;
  }
  Stop();
}

bool TUVCInterpreter::BeginRun() {
  if (Running) return false;
  Console->Open(Program ? Program->GetProgramName() : std::string());
  Running = true;
  StopRequested = false;
  SkipLF = false;
  PC = 0;
  PollLeft = PollInterval;
  ForgetDecoded();  // the program may have been changed since the last run
  return true;
}

TUVCInterpreter::TRunExit TUVCInterpreter::Resume() {
  if (!Running) return TRunExit::Stopped;
  if (PauseRequested.exchange(false, std::memory_order_relaxed)) return TRunExit::Paused;
  try {
    if (!Program) throw TIllegalInstruction("No program or no program command present");
    const TRunExit exit = RunLoop(DecodedForStops());
    if (exit == TRunExit::Paused) PauseRequested.store(false, std::memory_order_relaxed);
    return exit;
  } catch (const uvm::TRunStopped &) {
    Stop();
    return TRunExit::Stopped;
  } catch (...) {
    Stop();
    throw;
  }
}

void TUVCInterpreter::SetStopPCs(std::vector<std::int32_t> pcs) {
  std::sort(pcs.begin(), pcs.end());
  pcs.erase(std::unique(pcs.begin(), pcs.end()), pcs.end());
  StopPCs = std::move(pcs);
}

TUVCInterpreter::TDecoded &TUVCInterpreter::DecodedForStops() {
  for (std::size_t k = 0; k < DecodedCache.size(); ++k) {
    if (DecodedCache[k] && DecodedCache[k]->Stops == StopPCs) {
      std::rotate(DecodedCache.begin(), DecodedCache.begin() + static_cast<std::ptrdiff_t>(k),
                  DecodedCache.begin() + static_cast<std::ptrdiff_t>(k) + 1);
      return *DecodedCache.front();
    }
  }
  std::rotate(DecodedCache.begin(), DecodedCache.end() - 1, DecodedCache.end());
  DecodedCache.front() = std::make_unique<TDecoded>();
  DecodedCache.front()->Stops = StopPCs;
  return *DecodedCache.front();
}

void TUVCInterpreter::ForgetDecoded() {
  for (auto &entry : DecodedCache) entry.reset();
}

// Step: one instruction through the same code as the run loop, dispatched by a switch.
void TUVCInterpreter::Step() {
  if (!Program || PC >= Program->GetCount())
    throw TIllegalInstruction("No program or no program command present");
  if (PC < 0) {
    Stop();
    return;
  }
  TInstruction instr;
  Program->GetInstruction(PC, instr);
  uvm::TSlot slot;
  slot.Op = instr.Opcode;
  if (instr.Opcode == ocPushStr)
    slot.S = &instr.StrValue;
  else
    std::memcpy(&slot.R, &instr.RealValue, sizeof slot.R);

  const std::int32_t pc = PC;
  std::int32_t sp = SP;
  std::int32_t mp = MP;
  std::uint8_t *const S = Store.data();

#define VM_OP(e) case e:
#define VM_NEXT          \
  do {                   \
    PC = pc + 1;         \
    goto vm_done;        \
  } while (0)
#define VM_JUMP(t)       \
  do {                   \
    PC = (t);            \
    goto vm_done;        \
  } while (0)
#define VM_HALT          \
  do {                   \
    SP = sp;             \
    MP = mp;             \
    Stop();              \
    PC = pc + 1;         \
    return;              \
  } while (0)
#define VM_SAVE()        \
  do {                   \
    PC = pc;             \
    SP = sp;             \
    MP = mp;             \
  } while (0)
#define VM_CURPC pc
#define OPND slot

  try {
    switch (instr.Opcode) {
#include "Semantics.inc"
      default:
        VM_SAVE();
        throw TIllegalInstruction("No instruction");
    }
  } catch (const uvm::TRunStopped &) {
    return;
  }

#undef VM_OP
#undef VM_NEXT
#undef VM_JUMP
#undef VM_HALT
#undef VM_SAVE
#undef VM_CURPC
#undef OPND

vm_done:
  SP = sp;
  MP = mp;
}

void TUVCInterpreter::PushIntValue(std::int32_t value) {
  if (SP > StoreLimit - 4) throw TStoreOverflow("Store overflow");
  uvm::StoreInt(&Store[static_cast<std::size_t>(SP + 1)], value);
  SP += 4;
}

void TUVCInterpreter::PushRealValue(double value) {
  if (SP > StoreLimit - 8) throw TStoreOverflow("Store overflow");
  uvm::StoreReal(&Store[static_cast<std::size_t>(SP + 1)], value);
  SP += 8;
}

void TUVCInterpreter::PushBoolValue(bool value) {
  if (SP > StoreLimit - 1) throw TStoreOverflow("Store overflow");
  Store[static_cast<std::size_t>(++SP)] = value ? 0xFF : 0x00;
}

void TUVCInterpreter::PushStrValue(std::string_view value) {
  if (SP > StoreLimit - 256) throw TStoreOverflow("Store overflow");
  const std::size_t len = value.size() < 255 ? value.size() : 255;
  Store[static_cast<std::size_t>(SP + 1)] = static_cast<std::uint8_t>(len);
  std::memcpy(&Store[static_cast<std::size_t>(SP + 2)], value.data(), len);
  SP += 256;
}

std::int32_t TUVCInterpreter::PopIntValue() {
  if (SP < 3) throw TStoreOverflow("Store underflow");
  SP -= 4;
  return uvm::LoadInt(&Store[static_cast<std::size_t>(SP + 1)]);
}

double TUVCInterpreter::PopRealValue() {
  if (SP < 7) throw TStoreOverflow("Store underflow");
  SP -= 8;
  return uvm::LoadReal(&Store[static_cast<std::size_t>(SP + 1)]);
}

bool TUVCInterpreter::PopBoolValue() {
  if (SP < 0) throw TStoreOverflow("Store underflow");
  return Store[static_cast<std::size_t>(SP--)] != 0;
}

std::string TUVCInterpreter::PopStrValue() {
  if (SP < 255) throw TStoreOverflow("Store underflow");
  SP -= 256;
  const auto *slot = &Store[static_cast<std::size_t>(SP + 1)];
  return std::string(reinterpret_cast<const char *>(slot + 1), slot[0]);
}

void TUVCInterpreter::MoveBytes(std::int32_t s, std::int32_t d, std::int32_t n) {
  if (!uvm::MoveFits(s, d, n, StoreLimit)) throw TStoreOverflow("Store over/underflow");
  uvm::MoveStore(Store.data(), s, d, n);
}

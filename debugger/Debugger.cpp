// The debugger's session, breakpoints and run commands.
#include "Debugger.h"

#include <algorithm>
#include <map>

#include "CallTrace.h"
#include "DebuggerImpl.h"
#include "Errors.h"
#include "StoreAccess.h"

namespace {

using TRunExit = TUVCInterpreter::TRunExit;

enum TMode { mContinue, mInto, mOver, mOut, mToLine, mStart };

// Sets a flag for the lifetime of a scope.
class TFlagScope {
 public:
  explicit TFlagScope(std::atomic<bool> &flag) : Flag(flag) { Flag = true; }
  ~TFlagScope() { Flag = false; }
  TFlagScope(const TFlagScope &) = delete;
  TFlagScope &operator=(const TFlagScope &) = delete;

 private:
  std::atomic<bool> &Flag;
};

// Statement starts in deeper calls a next or finish steps through one by one before it runs to
// the return into its frames at full speed.
constexpr int DeepHitsBeforeReturnStop = 4096;

// The return index into the first frame along the dynamic links from mp that `watched`
// accepts; -1 when the links lead nowhere sensible.
template <typename TWatched>
std::int32_t ReturnInto(const TUVCInterpreter &machine, std::int32_t mp, const TWatched &watched) {
  const std::uint8_t *store = machine.GetStore();
  for (std::int32_t frame = mp; frame >= 0 && frame <= TUVCInterpreter::StoreSize - 12;) {
    const std::int32_t caller = uvm::LoadInt(store + frame + 4);
    const std::int32_t returnIndex = uvm::LoadInt(store + frame + 8);
    if (watched(caller))
      return returnIndex > 0 && returnIndex < machine.GetProgram()->GetCount() ? returnIndex : -1;
    if (caller < 0 || caller >= frame) return -1;
    frame = caller;
  }
  return -1;
}

std::vector<std::int32_t> Union(const std::vector<std::int32_t> &a, const std::vector<std::int32_t> &b) {
  std::vector<std::int32_t> out;
  std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
  return out;
}

}  // namespace

// ---- digest of the statement table

void TUVDebugger::TImpl::Digest() {
  StepPCs.clear();
  StepLines.clear();
  LineEntry.clear();
  if (!Program) return;
  // A statement without code of its own shares its first instruction with the next one; the
  // later entry wins.
  std::map<std::int32_t, TStatementEntry> byFirst;
  for (const TStatementEntry &e : Program->Statements().Statements())
    if (e.First >= 0 && e.First < Program->GetCount()) byFirst[e.First] = e;
  std::int32_t previousLine = 0;
  for (const auto &[first, entry] : byFirst) {
    if (entry.Glue) continue;
    StepPCs.push_back(first);
    StepLines.push_back(entry.Line);
    LineEntry.push_back(entry.Line != previousLine);
    previousLine = entry.Line;
  }
}

std::int32_t TUVDebugger::TImpl::BindLine(std::int32_t line) const {
  std::int32_t best = 0;
  for (const std::int32_t l : StepLines)
    if (l >= line && (best == 0 || l < best)) best = l;
  return best;
}

std::vector<std::int32_t> TUVDebugger::TImpl::EntriesOf(std::int32_t line) const {
  std::vector<std::int32_t> pcs;
  for (std::size_t k = 0; k < StepPCs.size(); ++k)
    if (StepLines[k] == line && LineEntry[k]) pcs.push_back(StepPCs[k]);
  return pcs;
}

void TUVDebugger::TImpl::RebindBreakpoints() {
  BreakPCs.clear();
  for (const std::int32_t line : BreakLines) BreakPCs = Union(BreakPCs, EntriesOf(line));
}

bool TUVDebugger::TImpl::IsStepPC(std::int32_t pc) const {
  return std::binary_search(StepPCs.begin(), StepPCs.end(), pc);
}

const std::vector<std::uint8_t> *TUVDebugger::TImpl::Previous(const TUVCInterpreter &machine) {
  if (NowStop != Stops) {
    Before.swap(Now);
    HaveBefore = NowStop >= 0;
    // Variables lie at or below SP: the bytes above it are the expression stack's scratch.
    const std::int32_t used = std::clamp(machine.GetSP() + 1, 0, TUVCInterpreter::StoreSize);
    Now.assign(machine.GetStore(), machine.GetStore() + used);
    NowStop = Stops;
  }
  return HaveBefore ? &Before : nullptr;
}

bool TUVDebugger::TImpl::IsBreakPC(std::int32_t pc) const {
  return std::binary_search(BreakPCs.begin(), BreakPCs.end(), pc);
}

// ---- session

TUVDebugger::TUVDebugger(TUVCInterpreter &interpreter) : Machine_(interpreter), Impl(std::make_unique<TImpl>()) {}

TUVDebugger::~TUVDebugger() {
  if (Impl->Active) Machine_.Stop();
}

void TUVDebugger::Load(IProgramRef program) {
  if (Running) return;
  if (Impl->Active) Stop();
  Impl->Program = std::move(program);
  Impl->Digest();
  // Breakpoints stay by line: each binds again to the new statements.
  std::vector<std::int32_t> lines;
  for (const std::int32_t line : Impl->BreakLines)
    if (const std::int32_t bound = Impl->BindLine(line); bound != 0) lines.push_back(bound);
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  Impl->BreakLines = std::move(lines);
  Impl->RebindBreakpoints();
  Impl->Last = TStopInfo{};
  Impl->HaveBefore = false;
}

TStopInfo TUVDebugger::Start() {
  if (Running) return Impl->Last;
  if (Impl->Active) Stop();
  if (!Impl->Program || !Machine_.LoadProgram(Impl->Program)) {
    Impl->Last = TStopInfo{};
    return Impl->Last;
  }
  Impl->HaveBefore = false;
  Impl->Now.clear();
  Impl->NowStop = -1;
  Impl->StopAsked = false;
  Impl->PauseWanted = false;
  Machine_.BeginRun();
  Impl->Active = true;
  return RunUntil(mStart, 0);
}

bool TUVDebugger::IsActive() const { return Impl->Active; }
const TStopInfo &TUVDebugger::LastStop() const { return Impl->Last; }
const IProgramRef &TUVDebugger::GetProgram() const { return Impl->Program; }
const TDebugInfo *TUVDebugger::GetDebugInfo() const {
  return Impl->Program ? &Impl->Program->DebugInfo() : nullptr;
}

// ---- breakpoints

std::int32_t TUVDebugger::SetBreakpoint(std::int32_t line) {
  const std::int32_t bound = Impl->BindLine(line);
  if (bound == 0) return 0;
  auto &lines = Impl->BreakLines;
  if (!std::binary_search(lines.begin(), lines.end(), bound)) {
    lines.insert(std::upper_bound(lines.begin(), lines.end(), bound), bound);
    Impl->RebindBreakpoints();
    if (Running) {
      Impl->BreaksChanged = true;
      Machine_.RequestPause();
    }
  }
  return bound;
}

bool TUVDebugger::ClearBreakpoint(std::int32_t line) {
  auto &lines = Impl->BreakLines;
  const auto it = std::lower_bound(lines.begin(), lines.end(), line);
  if (it == lines.end() || *it != line) return false;
  lines.erase(it);
  Impl->RebindBreakpoints();
  if (Running) {
    Impl->BreaksChanged = true;
    Machine_.RequestPause();
  }
  return true;
}

void TUVDebugger::ClearAllBreakpoints() {
  while (!Impl->BreakLines.empty()) ClearBreakpoint(Impl->BreakLines.back());
}

std::vector<std::int32_t> TUVDebugger::Breakpoints() const { return Impl->BreakLines; }

std::vector<std::int32_t> TUVDebugger::StatementLines() const {
  std::vector<std::int32_t> lines = Impl->StepLines;
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  return lines;
}

// ---- run commands

TStopInfo TUVDebugger::Continue() { return RunUntil(mContinue, 0); }
TStopInfo TUVDebugger::StepInto() { return RunUntil(mInto, 0); }
TStopInfo TUVDebugger::StepOver() { return RunUntil(mOver, 0); }
TStopInfo TUVDebugger::StepOut() { return RunUntil(mOut, 0); }
TStopInfo TUVDebugger::RunToLine(std::int32_t line) { return RunUntil(mToLine, line); }

void TUVDebugger::Pause() {
  if (!Running) return;
  Impl->PauseWanted = true;
  Machine_.RequestPause();
}

void TUVDebugger::Stop() {
  if (Running) {
    Impl->StopAsked = true;
    Machine_.Stop();
    return;
  }
  if (!Impl->Active) return;
  Machine_.Stop();
  Impl->Active = false;
  Impl->Last = Stopped(TStopReason::Stopped, {});
}

TStopInfo TUVDebugger::StepInstruction() {
  if (!Impl->Active || Running) return Impl->Last;
  TFlagScope running(Running);
  try {
    Machine_.Step();
  } catch (const ERunError &e) {
    Machine_.Stop();
    Impl->Active = false;
    return Impl->Last = Stopped(TStopReason::RunError, ErrorBoxText(e.what()));
  }
  if (Machine_.GetPC() < 0) Machine_.Stop();  // the outermost Ret
  if (!Machine_.IsRunning()) {
    Impl->Active = false;
    return Impl->Last = Stopped(Impl->StopAsked ? TStopReason::Stopped : TStopReason::Ended, {});
  }
  return Impl->Last = Stopped(TStopReason::Step, {});
}

TStopInfo TUVDebugger::RunUntil(int mode, std::int32_t line) {
  if (!Impl->Active || Running) return Impl->Last;
  TFlagScope running(Running);
  TImpl &d = *Impl;
  const std::int32_t startMP = Machine_.GetMP();
  const std::vector<std::int32_t> targets = mode == mToLine ? d.EntriesOf(d.BindLine(line)) : std::vector<std::int32_t>{};
  bool pausing = false;  // a pause was honoured; on to the next statement start
  // next and finish: after many statement starts in deeper calls, run at full speed to the
  // return into the watched frames instead (one more stop set to decode), then step on.
  std::int32_t returnPC = -1;
  int deepHits = 0;
  auto stops = [&] {
    if (returnPC >= 0 && !pausing) return Union(d.BreakPCs, {returnPC});
    if (pausing || mode == mInto || mode == mOver || mode == mOut || mode == mStart) return d.StepPCs;
    return mode == mToLine ? Union(d.BreakPCs, targets) : d.BreakPCs;
  };
  // Whether a frame is one next (the frame it started in or a caller) or finish (a caller) stops in.
  auto watched = [&](std::int32_t mp) { return mode == mOver ? mp <= startMP : mp < startMP; };
  Machine_.SetStopPCs(stops());
  for (;;) {
    TRunExit exit;
    try {
      exit = Machine_.Resume();
    } catch (const ERunError &e) {
      d.Active = false;
      return d.Last = Stopped(TStopReason::RunError, ErrorBoxText(e.what()));
    }
    if (exit == TRunExit::Ended || exit == TRunExit::Stopped) {
      d.Active = false;
      const bool stopped = exit == TRunExit::Stopped || d.StopAsked;
      return d.Last = Stopped(stopped ? TStopReason::Stopped : TStopReason::Ended, {});
    }
    const std::int32_t pc = Machine_.GetPC();
    if (exit == TRunExit::Paused) {
      if (d.PauseWanted.exchange(false)) {
        if (d.IsStepPC(pc)) return d.Last = Stopped(TStopReason::Pause, {});
        pausing = true;
      }
      d.BreaksChanged = false;
      Machine_.SetStopPCs(stops());
      continue;
    }
    // At a stop PC.
    if (pausing) return d.Last = Stopped(TStopReason::Pause, {});
    const std::int32_t mp = Machine_.GetMP();
    const bool isBreak = d.IsBreakPC(pc);
    if (returnPC >= 0) {
      if (pc == returnPC && watched(mp)) {
        // Back in a watched frame, in the middle of a statement or at the start of the next.
        returnPC = -1;
        deepHits = 0;
        if (d.IsStepPC(pc)) return d.Last = Stopped(TStopReason::Step, {});
        Machine_.SetStopPCs(stops());
        continue;
      }
      if (isBreak) return d.Last = Stopped(TStopReason::Breakpoint, {});
      continue;
    }
    switch (mode) {
      case mStart: return d.Last = Stopped(TStopReason::Start, {});
      case mContinue: return d.Last = Stopped(TStopReason::Breakpoint, {});
      case mToLine:
        return d.Last = Stopped(std::binary_search(targets.begin(), targets.end(), pc) ? TStopReason::Step
                                                                                         : TStopReason::Breakpoint,
                                {});
      case mInto: return d.Last = Stopped(TStopReason::Step, {});
      case mOver:
      case mOut:
        if (watched(mp)) return d.Last = Stopped(TStopReason::Step, {});
        if (isBreak) return d.Last = Stopped(TStopReason::Breakpoint, {});
        if (++deepHits == DeepHitsBeforeReturnStop) {
          returnPC = ReturnInto(Machine_, mp, watched);
          if (returnPC >= 0) Machine_.SetStopPCs(stops());
        }
        break;
    }
  }
}

TStopInfo TUVDebugger::Stopped(TStopReason reason, std::string message) {
  TStopInfo stop;
  stop.Reason = reason;
  stop.Message = std::move(message);
  stop.PC = Machine_.GetPC();
  stop.Line = LineOfInstruction(stop.PC);
  const TRoutineEntry *routine = Impl->Program ? Impl->Program->Statements().RoutineAt(stop.PC) : nullptr;
  if (routine) stop.Routine = routine->Name;
  ++Impl->Stops;
  return stop;
}

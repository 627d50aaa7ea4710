// The debugger's view of the machine: the active calls, instructions and their lines, and the
// store between a frame and SP with the compiler's names over it.
#include <algorithm>

#include "Debugger.h"
#include "DebuggerImpl.h"
#include "StoreAccess.h"

namespace {

constexpr std::int32_t FrameWords = 12;  // static link, saved MP, return address

}  // namespace

std::vector<TStackFrame> TUVDebugger::CallStack() const {
  std::vector<TStackFrame> frames;
  const IProgramRef &program = Impl->Program;
  if (!program || Machine_.GetProgram() != program) return frames;
  const TDebugInfo &info = program->DebugInfo();
  const std::uint8_t *store = Machine_.GetStore();
  std::int32_t pc = Machine_.GetPC();
  std::int32_t mp = Machine_.GetMP();
  if (pc < 0 || pc >= program->GetCount()) return frames;
  for (;;) {
    TStackFrame frame;
    frame.PC = pc;
    frame.MP = mp;
    frame.Line = LineOfInstruction(pc);
    frame.RoutineIndex = info.RoutineAt(pc);
    if (frame.RoutineIndex >= 0) {
      frame.Routine = info.Routines[static_cast<std::size_t>(frame.RoutineIndex)].Name;
    } else if (const TRoutineEntry *r = program->Statements().RoutineAt(pc)) {
      frame.Routine = r->Name;
    }
    frames.push_back(frame);
    if (mp < 0 || mp > TUVCInterpreter::StoreSize - FrameWords) break;
    const std::int32_t caller = uvm::LoadInt(store + mp + 4);
    const std::int32_t returnIndex = uvm::LoadInt(store + mp + 8);
    // Frames lie above their callers; the outermost frame holds -1.
    if (returnIndex <= 0 || returnIndex > program->GetCount() || caller < 0 || caller >= mp) break;
    pc = returnIndex - 1;  // the call's jump
    mp = caller;
  }
  return frames;
}

TMachineState TUVDebugger::Machine() const {
  return {Machine_.GetPC(), Machine_.GetSP(), Machine_.GetMP(), InstructionText(Machine_.GetPC())};
}

std::int32_t TUVDebugger::InstructionCount() const { return Impl->Program ? Impl->Program->GetCount() : 0; }

std::string TUVDebugger::InstructionText(std::int32_t index) const {
  if (index < 0 || index >= InstructionCount()) return {};
  TInstruction instr;
  Impl->Program->GetInstruction(index, instr);
  return ListingText(instr);
}

std::int32_t TUVDebugger::LineOfInstruction(std::int32_t index) const {
  if (index < 0 || index >= InstructionCount()) return 0;
  const std::int32_t line = Impl->Program->Statements().LineAt(index);
  if (line != 0) return line;
  // Code before the first statement: the instruction's own line.
  TInstruction instr;
  Impl->Program->GetInstruction(index, instr);
  return instr.Line;
}

std::vector<std::int32_t> TUVDebugger::InstructionsOfLine(std::int32_t line) const {
  std::vector<std::int32_t> pcs;
  for (std::size_t k = 0; k < Impl->StepPCs.size(); ++k)
    if (Impl->StepLines[k] == line) pcs.push_back(Impl->StepPCs[k]);
  return pcs;
}

std::vector<TStackCell> TUVDebugger::StackCells(std::int32_t frame) const {
  const std::vector<TStackFrame> frames = CallStack();
  std::vector<TStackCell> named;
  if (frame < 0 || frame >= static_cast<std::int32_t>(frames.size())) return named;
  const TDebugInfo &info = Impl->Program->DebugInfo();
  // Every frame from the asked one inwards, with its links and variables.
  for (std::int32_t f = frame; f >= 0; --f) {
    const TStackFrame &fr = frames[static_cast<std::size_t>(f)];
    named.push_back({fr.MP, 4, "static link"});
    named.push_back({fr.MP + 4, 4, "saved MP"});
    named.push_back({fr.MP + 8, 4, "return address"});
    if (fr.RoutineIndex < 0) continue;
    for (const TDebugVariable &v : info.Routines[static_cast<std::size_t>(fr.RoutineIndex)].Variables) {
      const TDebugType *type = info.Type(v.Type);
      const std::int32_t size = !v.ByValue ? 4 : type ? type->Size : 0;
      std::string label = v.ByValue ? v.Name + ": " + info.TypeName(v.Type) : v.Name + " (VAR parameter)";
      named.push_back({fr.MP + v.Offset, size, std::move(label)});
    }
  }
  std::sort(named.begin(), named.end(), [](const TStackCell &a, const TStackCell &b) { return a.Address < b.Address; });
  // The named cells in address order, the bytes between them and up to SP as unnamed words.
  std::vector<TStackCell> cells;
  std::int32_t at = named.front().Address;
  const std::int32_t end = Machine_.GetSP() + 1;
  auto fill = [&](std::int32_t to) {
    while (at < to) {
      const std::int32_t size = std::min(4, to - at);
      cells.push_back({at, size, {}});
      at += size;
    }
  };
  for (const TStackCell &cell : named) {
    if (cell.Address < at || cell.Address >= end) continue;  // overlapping or beyond SP
    fill(cell.Address);
    cells.push_back(cell);
    at = cell.Address + cell.Size;
  }
  fill(end);
  return cells;
}

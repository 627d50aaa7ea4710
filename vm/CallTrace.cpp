#include "CallTrace.h"

#include "Interpreter.h"
#include "StoreAccess.h"

namespace {

constexpr std::int32_t FrameWords = 12;  // static link, dynamic link, return index

std::string Place(const std::string &fileName, std::int32_t line) {
  return line > 0 ? fileName + "(" + std::to_string(line) + ")" : fileName;
}

}  // namespace

std::vector<TCallFrame> ActiveCalls(const TUVCInterpreter &interpreter) {
  std::vector<TCallFrame> calls;
  const IProgramRef &program = interpreter.GetProgram();
  if (!program) return calls;
  const TStatementTable &table = program->Statements();
  const std::uint8_t *store = interpreter.GetStore();
  std::int32_t pc = interpreter.GetPC();
  std::int32_t mp = interpreter.GetMP();
  for (;;) {
    const TRoutineEntry *routine = table.RoutineAt(pc);
    std::int32_t line = table.LineAt(pc);
    if (line == 0) {
      // Code before the first statement: the instruction's own line.
      TInstruction instr;
      program->GetInstruction(pc, instr);
      line = instr.Line;
    }
    calls.push_back({routine ? routine->Name : std::string(), line});
    if (mp < 0 || mp > TUVCInterpreter::StoreSize - FrameWords) break;
    const std::int32_t caller = uvm::LoadInt(store + mp + 4);
    const std::int32_t returnIndex = uvm::LoadInt(store + mp + 8);
    // Frames lie above their callers; the outermost frame holds -1.
    if (returnIndex <= 0 || returnIndex > program->GetCount() || caller < 0 || caller >= mp)
      break;
    pc = returnIndex - 1;  // the call's jump
    mp = caller;
  }
  return calls;
}

std::string ErrorBoxText(std::string message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message += '.';
  return message;
}

std::string FormatRunError(const std::string &fileName, const std::string &message,
                           const std::vector<TCallFrame> &calls) {
  std::string text = "[Run-time error] " +
                     Place(fileName, calls.empty() ? 0 : calls.front().Line) + ": " + message +
                     "\n";
  for (std::size_t i = 0; i < calls.size();) {
    const TCallFrame &frame = calls[i];
    text += (i == 0 ? "  in " : "  called from ") + frame.Routine + ", " +
            Place(fileName, frame.Line) + "\n";
    if (i == 0) {
      ++i;
      continue;
    }
    std::size_t same = i + 1;
    while (same < calls.size() && calls[same] == frame) ++same;
    const std::size_t more = same - i - 1;
    if (more >= 2)
      text += "  ... " + std::to_string(more) + " more calls of " + frame.Routine + "\n";
    else if (more == 1)
      text += "  called from " + frame.Routine + ", " + Place(fileName, frame.Line) + "\n";
    i = same;
  }
  return text;
}

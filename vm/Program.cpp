#include "Program.h"

#include <algorithm>

TUVCProgram::TUVCProgram() { Clear(); }

void TUVCProgram::GetInstruction(std::int32_t index, TInstruction &out) const {
  if (index >= 0 && index < Count) {
    out = Items[static_cast<std::size_t>(index)];
  } else {
    out.Opcode = ocIllegal;
    out.Line = 0;
  }
}

void TUVCProgram::SetInstruction(std::int32_t index, const TInstruction &instr) {
  if (index >= 0 && index < Count) Items[static_cast<std::size_t>(index)] = instr;
}

void TUVCProgram::Clear() {
  Count = 0;
  Capacity = InitialCapacity;
  std::vector<TInstruction>().swap(Items);
  Items.reserve(static_cast<std::size_t>(InitialCapacity));
  SourceFileName.clear();
  ProgramName.clear();
  StatementTableValue.Clear();
  DebugInfoValue.Clear();
}

void TUVCProgram::AddInstruction(const TInstruction &instr) {
  if (Count == Capacity) Capacity += GrowthStep;
  if (static_cast<std::size_t>(Count) < Items.size())
    Items[static_cast<std::size_t>(Count)] = instr;
  else
    Items.push_back(instr);
  ++Count;
}

void TUVCProgram::SetCount(std::int32_t n) {
  if (n <= 0)
    Clear();
  else if (n < Count)
    Count = n;  // the entries beyond Count are overwritten by later appends
  if (n > 0) {
    StatementTableValue.Truncate(n);
    DebugInfoValue.Truncate(n);
  }
}

#include "Program.h"

#include <algorithm>

TUVCProgram::TUVCProgram() { Clear(); }

void TUVCProgram::Reserve(std::int32_t capacity) {
  auto items = std::make_unique<TInstruction[]>(static_cast<std::size_t>(capacity));
  std::copy_n(Items.get(), std::min(Count, capacity), items.get());
  Items = std::move(items);
  Capacity = capacity;
}

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
  Reserve(InitialCapacity);
  SourceFileName.clear();
  ProgramName.clear();
}

void TUVCProgram::AddInstruction(const TInstruction &instr) {
  if (Count == Capacity) Reserve(Capacity + GrowthStep);
  Items[static_cast<std::size_t>(Count++)] = instr;
}

void TUVCProgram::SetCount(std::int32_t n) {
  if (n <= 0)
    Clear();
  else if (n < Count)
    Count = n;
}

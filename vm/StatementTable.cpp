#include "StatementTable.h"

#include <algorithm>

void TStatementTable::AddStatement(std::int32_t first, std::int32_t line, bool glue) {
  // Code only grows between truncations, so the list stays sorted by First.
  StatementList.push_back({first, line, glue});
}

void TStatementTable::AddRoutine(std::string name, std::int32_t first, std::int32_t end) {
  RoutineList.push_back({std::move(name), first, end});
}

void TStatementTable::Truncate(std::int32_t count) {
  while (!StatementList.empty() && StatementList.back().First > count) StatementList.pop_back();
  std::erase_if(RoutineList, [count](const TRoutineEntry &r) { return r.First >= count; });
  for (TRoutineEntry &r : RoutineList) r.End = std::min(r.End, count);
}

void TStatementTable::Clear() {
  StatementList.clear();
  RoutineList.clear();
}

std::int32_t TStatementTable::LineAt(std::int32_t index) const {
  const auto after = std::upper_bound(
      StatementList.begin(), StatementList.end(), index,
      [](std::int32_t i, const TStatementEntry &entry) { return i < entry.First; });
  return after == StatementList.begin() ? 0 : std::prev(after)->Line;
}

const TRoutineEntry *TStatementTable::RoutineAt(std::int32_t index) const {
  const TRoutineEntry *best = nullptr;
  for (const TRoutineEntry &r : RoutineList)
    if (index >= r.First && index < r.End && (!best || r.End - r.First < best->End - best->First))
      best = &r;
  return best;
}

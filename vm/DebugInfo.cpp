#include "DebugInfo.h"

#include <algorithm>

std::int32_t TDebugInfo::AddType(const void *key, TDebugType type) {
  const std::int32_t found = FindType(key);
  if (found >= 0) return found;
  Types.push_back(std::move(type));
  TypeKeys.push_back(key);
  return static_cast<std::int32_t>(Types.size()) - 1;
}

std::int32_t TDebugInfo::FindType(const void *key) const {
  if (key == nullptr) return -1;
  const auto it = std::find(TypeKeys.begin(), TypeKeys.end(), key);
  return it == TypeKeys.end() ? -1 : static_cast<std::int32_t>(it - TypeKeys.begin());
}

std::int32_t TDebugInfo::AddRoutine(TDebugRoutine routine) {
  Routines.push_back(std::move(routine));
  return static_cast<std::int32_t>(Routines.size()) - 1;
}

void TDebugInfo::Truncate(std::int32_t count) {
  // Routines are added when their code is complete, so a dropped one lies wholly beyond count;
  // the indexes of the others (parents) stay valid since routines are only appended.
  while (!Routines.empty() && Routines.back().First >= count) Routines.pop_back();
  for (TDebugRoutine &r : Routines) r.End = std::min(r.End, count);
}

void TDebugInfo::Clear() {
  Types.clear();
  TypeKeys.clear();
  Routines.clear();
}

std::int32_t TDebugInfo::RoutineAt(std::int32_t index) const {
  std::int32_t best = -1;
  for (std::size_t k = 0; k < Routines.size(); ++k) {
    const TDebugRoutine &r = Routines[k];
    if (index < r.First || index >= r.End) continue;
    if (best < 0 || r.End - r.First < Routines[static_cast<std::size_t>(best)].End -
                                          Routines[static_cast<std::size_t>(best)].First)
      best = static_cast<std::int32_t>(k);
  }
  return best;
}

std::int32_t TDebugInfo::RoutineByEntry(std::int32_t entry) const {
  for (std::size_t k = 0; k < Routines.size(); ++k)
    if (Routines[k].First == entry && Routines[k].Parent >= 0) return static_cast<std::int32_t>(k);
  return -1;
}

std::int32_t TDebugInfo::MainRoutine() const {
  for (std::size_t k = 0; k < Routines.size(); ++k)
    if (Routines[k].Parent < 0) return static_cast<std::int32_t>(k);
  return -1;
}

const TDebugType *TDebugInfo::Type(std::int32_t type) const {
  return type < 0 || type >= static_cast<std::int32_t>(Types.size()) ? nullptr : &Types[static_cast<std::size_t>(type)];
}

std::string TDebugInfo::TypeName(std::int32_t type) const {
  const TDebugType *found = Type(type);
  if (!found) return "?";
  const TDebugType &t = *found;
  if (!t.Name.empty()) return t.Name;
  switch (t.Kind) {
    case TDebugTypeKind::Integer: return "Integer";
    case TDebugTypeKind::Real: return "Real";
    case TDebugTypeKind::Boolean: return "Boolean";
    case TDebugTypeKind::String: return "String";
    case TDebugTypeKind::Pointer: return t.Target < 0 ? "Pointer" : "^" + TypeName(t.Target);
    case TDebugTypeKind::Record: return "RECORD";
    case TDebugTypeKind::Array:
      return "ARRAY[" + std::to_string(t.Low) + ".." + std::to_string(t.High) + "] OF " + TypeName(t.Element);
    case TDebugTypeKind::Unknown: break;
  }
  return "?";
}

// The debug information kept beside the program: routines with their frames, and the types of
// their variables, as declared.
#include "UVParser.h"

const std::string &TUVParser::Spelled(const std::string &name) {
  Spellings[TUSymbolTable::UpperCase(name)] = name;
  return name;
}

std::string TUVParser::DeclaredName(const std::string &upperName) const {
  const auto it = Spellings.find(upperName);
  return it == Spellings.end() ? upperName : it->second;
}

void TUVParser::CaptureFrame() {
  std::vector<TDebugVariable> frame;
  for (const TUSymbolTable::TScopeVariable &v : SymbolTable->ScopeVariables()) {
    TDebugVariable d;
    d.Name = v.Name == "RESULT" ? std::string("Result") : DeclaredName(v.Name);
    d.Type = DebugType(v.Variable.VarType);
    d.Offset = v.Variable.Address;
    d.ByValue = v.Variable.ByValue;
    d.Parameter = v.Parameter;
    frame.push_back(std::move(d));
  }
  Frames.push_back(std::move(frame));
}

void TUVParser::NoteDebugRoutine(const std::string &name, std::int32_t level, std::int32_t first, std::int32_t end) {
  TDebugRoutine routine;
  routine.Name = name;
  routine.Level = level;
  routine.First = first;
  routine.End = end;
  if (!Frames.empty()) {
    routine.Variables = std::move(Frames.back());
    Frames.pop_back();
  }
  Program->DebugInfo().AddRoutine(std::move(routine));
}

void TUVParser::LinkDebugRoutines() {
  // A routine's code lies inside the code of the routine that declares it.
  std::vector<TDebugRoutine> &routines = Program->DebugInfo().Routines;
  for (TDebugRoutine &r : routines) {
    r.Parent = -1;
    for (std::size_t k = 0; k < routines.size(); ++k) {
      const TDebugRoutine &outer = routines[k];
      if (&outer == &r || outer.Level >= r.Level || outer.First > r.First || outer.End < r.End) continue;
      if (r.Parent < 0 || outer.Level > routines[static_cast<std::size_t>(r.Parent)].Level)
        r.Parent = static_cast<std::int32_t>(k);
    }
  }
}

std::int32_t TUVParser::DebugType(TTypeDescriptor *type) {
  if (type == nullptr) return -1;
  TDebugInfo &info = Program->DebugInfo();
  if (const std::int32_t found = info.FindType(type); found >= 0) return found;
  TDebugType d;
  d.Name = type->Name;
  d.Size = type->Size < 0 ? 0 : type->Size;
  // Added before the types it refers to, so that a record reached again through a pointer
  // finds itself.
  const std::int32_t index = info.AddType(type, d);
  switch (type->Kind) {
    case tyInteger: d.Kind = TDebugTypeKind::Integer; break;
    case tyReal: d.Kind = TDebugTypeKind::Real; break;
    case tyBoolean: d.Kind = TDebugTypeKind::Boolean; break;
    case tyString: d.Kind = TDebugTypeKind::String; break;
    case tyPointer:
      d.Kind = TDebugTypeKind::Pointer;
      d.Target = DebugType(type->Target);
      break;
    case tyRecord:
      d.Kind = TDebugTypeKind::Record;
      for (const TRecordDescriptor *f = type->Fields; f; f = f->Next)
        d.Fields.push_back({DeclaredName(f->Name), f->Offset, DebugType(f->FieldType)});
      break;
    case tyArray:
      d.Kind = TDebugTypeKind::Array;
      d.Low = type->LowBound;
      d.High = type->HighBound;
      d.Element = DebugType(type->ElementType);
      break;
    case tyCopy: {
      const std::int32_t base = DebugType(type->Base);
      if (base >= 0) {
        d = info.TypeAt(base);
        d.Name = type->Name;
      }
      break;
    }
    case tyUnspecified: d.Kind = TDebugTypeKind::Unknown; break;
  }
  info.TypeAt(index) = std::move(d);
  return index;
}

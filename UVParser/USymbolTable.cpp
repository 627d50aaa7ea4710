// The symbol table: hash chains with shadowing, scopes, frame addresses, type sizes, labels.
#include "USymbolTable.h"

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "UAssert.h"

namespace {

constexpr const char *Unit = "USymbolTable";

// Sizes are kept in 32 bits; a larger total stays at the largest value rather than wrapping.
std::int32_t Saturate(std::int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

bool IsNameless(const TTypeDescriptor *type) { return type != nullptr && type->Name.empty(); }

}  // namespace

TUSymbolTable::TUSymbolTable() : Labels(InitialLabelCapacity, -1) {}

TUSymbolTable::~TUSymbolTable() {
  // Closing the scopes releases symbol by symbol; a broken invariant found on the way must not
  // escape a destructor.
  for (;;) {
    try {
      Clear();
      return;
    } catch (const EAssertionFailed &) {
      // The failing symbol is already unlinked: go on with the rest.
    }
  }
}

std::string TUSymbolTable::UpperCase(std::string name) {
  for (char &c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return name;
}

int TUSymbolTable::HashName(const std::string &upperName) {
  int h = 0;
  for (unsigned char b : upperName) h = (h + b) % BucketCount;
  return h;
}

// ---------------------------------------------------------------------------------------------
// Descriptors

TTypeDescriptor *TUSymbolTable::NewType(TTypeKind kind, const std::string &name) {
  auto type = std::make_unique<TTypeDescriptor>();
  type->Name = name;
  type->Kind = kind;
  switch (kind) {
    case tyInteger: type->Size = 4; break;
    case tyReal: type->Size = 8; break;
    case tyBoolean: type->Size = 1; break;
    case tyString: type->Size = 256; break;
    case tyPointer: type->Size = 4; break;
    default: type->Size = -1; break;
  }
  TypeArena.push_back(std::move(type));
  return TypeArena.back().get();
}

TRecordDescriptor *TUSymbolTable::NewField(const std::string &name, TTypeDescriptor *type) {
  auto field = std::make_unique<TRecordDescriptor>();
  field->Name = name;
  field->FieldType = type;
  FieldArena.push_back(std::move(field));
  return FieldArena.back().get();
}

TProcedureDescriptor *TUSymbolTable::NewProcedure(const std::string &name) {
  auto proc = std::make_unique<TProcedureDescriptor>();
  proc->Name = name;
  ProcedureArena.push_back(std::move(proc));
  return ProcedureArena.back().get();
}

TParmDescriptor *TUSymbolTable::NewParameter(const std::string &name, TTypeDescriptor *type,
                                             bool byValue) {
  auto parm = std::make_unique<TParmDescriptor>();
  parm->Name = name;
  parm->ParmType = type;
  parm->ByValue = byValue;
  ParameterArena.push_back(std::move(parm));
  return ParameterArena.back().get();
}

// ---------------------------------------------------------------------------------------------
// Scopes

void TUSymbolTable::Clear() {
  while (!Scopes.empty()) CloseScope();
  if (Labels.size() != static_cast<std::size_t>(InitialLabelCapacity)) {
    Labels.assign(InitialLabelCapacity, -1);
    Labels.shrink_to_fit();
  }
  LabelCount = 0;
  TypeArena.clear();
  FieldArena.clear();
  ProcedureArena.clear();
  ParameterArena.clear();
  VariableArena.clear();
  ConstantArena.clear();
}

void TUSymbolTable::OpenScope() { Scopes.emplace_back(); }

void TUSymbolTable::OpenProcedureScope(TProcedureDescriptor *proc) {
  OpenScope();
  Scopes.back().Procedure = proc;
  if (proc == nullptr) return;
  if (proc->ReturnType != nullptr) {
    DeclareVariableAt("Result", proc->ReturnType,
                      Saturate(-static_cast<std::int64_t>(proc->ReturnType->Size)), true);
  }
  for (const TParmDescriptor *p = proc->Parameters; p != nullptr; p = p->Next) {
    DeclareParameter(p->Name, p->ParmType, p->ByValue);
  }
  Scopes.back().LocalsSize = 0;
}

std::vector<TUSymbolTable::TScopeVariable> TUSymbolTable::ScopeVariables() const {
  std::vector<TScopeVariable> variables;
  if (Scopes.empty()) return variables;
  const TScopeRecord &scope = Scopes.back();
  for (const std::string &name : scope.Names) {
    const TSymbolTableItem *item = FindItem(name);
    if (item == nullptr || item->Symbol.Kind != skVariable || item->Symbol.Data.Variable == nullptr) continue;
    TScopeVariable v{name, *item->Symbol.Data.Variable, false};
    for (const TParmDescriptor *p = scope.Procedure ? scope.Procedure->Parameters : nullptr; p; p = p->Next)
      if (p->Name == name) v.Parameter = true;
    variables.push_back(std::move(v));
  }
  return variables;
}

void TUSymbolTable::CloseScope() {
  if (Scopes.empty()) return;
  auto &names = Scopes.back().Names;
  while (!names.empty()) RemoveSymbol(names.back());
  Scopes.pop_back();
}

std::int32_t TUSymbolTable::GetLocalsSize() const {
  return Scopes.empty() ? -1 : Scopes.back().LocalsSize;
}

// ---------------------------------------------------------------------------------------------
// Hash chains

const TUSymbolTable::TSymbolTableItem *TUSymbolTable::FindItem(const std::string &upperName) const {
  for (const TSymbolTableItem *item = Buckets[HashName(upperName)].get(); item != nullptr;
       item = item->Next.get()) {
    if (item->Symbol.Name == upperName) return item;
  }
  return nullptr;
}

bool TUSymbolTable::IsDeclaredInScope(const std::string &upperName) const {
  if (Scopes.empty()) return false;
  const TScopeRecord &scope = Scopes.back();
  if (scope.Procedure != nullptr && UpperCase(scope.Procedure->Name) == upperName) return true;
  // Every symbol records the depth it was declared at, and the scopes of a depth are closed
  // before another one of the same depth opens: the visible item is of this scope exactly
  // when its level is the current depth.
  const TSymbolTableItem *item = FindItem(upperName);
  return item != nullptr && item->Symbol.Level == GetScopeDepth();
}

void TUSymbolTable::InsertSymbol(TSymbol symbol) {
  if (Scopes.empty()) return;
  symbol.Name = UpperCase(symbol.Name);
  Scopes.back().Names.push_back(symbol.Name);
  auto item = std::make_unique<TSymbolTableItem>();
  item->Symbol = std::move(symbol);
  std::unique_ptr<TSymbolTableItem> *slot = &Buckets[HashName(item->Symbol.Name)];
  while (*slot != nullptr && (*slot)->Symbol.Name != item->Symbol.Name) slot = &(*slot)->Next;
  if (*slot != nullptr) {
    UV_ASSERT((*slot)->Symbol.Level != item->Symbol.Level, Unit, "Identifier redeclared");
    item->Next = std::move((*slot)->Next);
    item->Shadowed = std::move(*slot);
  }
  *slot = std::move(item);
}

void TUSymbolTable::RemoveSymbol(const std::string &upperName) {
  auto &names = Scopes.back().Names;
  const auto pos = std::find(names.rbegin(), names.rend(), upperName);
  if (pos == names.rend()) return;
  const std::string name = *pos;
  names.erase(std::next(pos).base());

  std::unique_ptr<TSymbolTableItem> *slot = &Buckets[HashName(name)];
  while (*slot != nullptr && (*slot)->Symbol.Name != name) slot = &(*slot)->Next;
  UV_ASSERT(*slot != nullptr, Unit, "Symbol listed in scope record not present in hash table...");

  std::unique_ptr<TSymbolTableItem> item = std::move(*slot);
  if (item->Shadowed != nullptr) {
    item->Shadowed->Next = std::move(item->Next);
    *slot = std::move(item->Shadowed);
  } else {
    *slot = std::move(item->Next);
  }
  FreeSymbolData(item->Symbol);
}

void TUSymbolTable::ReleaseNamelessUse(TTypeDescriptor *type) {
  if (!IsNameless(type)) return;
  if (type->RefCount > 0) --type->RefCount;
  if (type->RefCount == 0) ReleaseType(type, 0);
}

void TUSymbolTable::FreeSymbolData(TSymbol &symbol) {
  switch (symbol.Kind) {
    case skLabel:
      break;
    case skType:
      ReleaseType(symbol.Data.Type, 0);
      break;
    case skVariable:
      if (symbol.Data.Variable != nullptr) ReleaseNamelessUse(symbol.Data.Variable->VarType);
      symbol.Data.Variable = nullptr;
      break;
    case skConstant:
      if (symbol.Data.Constant != nullptr && IsNameless(symbol.Data.Constant->ValueType)) {
        ReleaseType(symbol.Data.Constant->ValueType, 0);
      }
      symbol.Data.Constant = nullptr;
      break;
    case skProcedure: {
      TProcedureDescriptor *proc = symbol.Data.Procedure;
      FreeProcedure(proc);
      break;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Labels

std::int32_t TUSymbolTable::NewLabel() {
  if (LabelCount == static_cast<std::int32_t>(Labels.size())) {
    if (Labels.size() > static_cast<std::size_t>(INT32_MAX - LabelCapacityStep)) {
      throw std::length_error("Too many labels");
    }
    Labels.resize(Labels.size() + LabelCapacityStep, -1);
  }
  Labels[LabelCount] = -1;
  return LabelCount++;
}

bool TUSymbolTable::SetLabelAddress(std::int32_t label, std::int32_t address) {
  if (label < 0 || label >= LabelCount) return false;
  const bool wasUnset = Labels[label] == -1;
  Labels[label] = address;
  return wasUnset;
}

std::int32_t TUSymbolTable::GetLabelAddress(std::int32_t label) const {
  if (label < 0 || label >= LabelCount) return -1;
  return Labels[label];
}

bool TUSymbolTable::DeclareLabel(const std::string &name) {
  const std::string upper = UpperCase(name);
  if (Scopes.empty() || IsDeclaredInScope(upper)) return false;
  TSymbol symbol;
  symbol.Name = upper;
  symbol.Level = GetScopeDepth();
  symbol.Kind = skLabel;
  symbol.Data.Label = NewLabel();
  InsertSymbol(std::move(symbol));
  return true;
}

bool TUSymbolTable::FindLabel(const std::string &name, std::int32_t &label) const {
  label = -1;
  const TSymbolTableItem *item = FindItem(UpperCase(name));
  if (item == nullptr || item->Symbol.Kind != skLabel || item->Symbol.Level != GetScopeDepth()) {
    return false;
  }
  label = item->Symbol.Data.Label;
  return true;
}

// ---------------------------------------------------------------------------------------------
// Declaring

bool TUSymbolTable::DeclareConstant(const std::string &name, const TValueDescriptor &value) {
  const std::string upper = UpperCase(name);
  if (Scopes.empty() || IsDeclaredInScope(upper)) return false;
  ConstantArena.push_back(std::make_unique<TValueDescriptor>(value));
  TSymbol symbol;
  symbol.Name = upper;
  symbol.Level = GetScopeDepth();
  symbol.Kind = skConstant;
  symbol.Data.Constant = ConstantArena.back().get();
  InsertSymbol(std::move(symbol));
  return true;
}

bool TUSymbolTable::DeclareType(TTypeDescriptor *type) {
  if (type == nullptr) return false;
  const std::string upper = UpperCase(type->Name);
  if (Scopes.empty() || IsDeclaredInScope(upper)) return false;
  TSymbol symbol;
  symbol.Name = upper;
  symbol.Level = GetScopeDepth();
  symbol.Kind = skType;
  symbol.Data.Type = type;
  InsertSymbol(std::move(symbol));
  return true;
}

bool TUSymbolTable::DeclareVariable(const std::string &name, TTypeDescriptor *type) {
  return DeclareParameter(name, type, true);
}

bool TUSymbolTable::DeclareParameter(const std::string &name, TTypeDescriptor *type,
                                     bool byValue) {
  if (Scopes.empty()) return false;
  TScopeRecord &scope = Scopes.back();
  if (!DeclareVariableAt(name, type, scope.NextAddress, byValue)) return false;
  // A type whose size is not known (yet) takes no room rather than moving the next address
  // backwards onto the previous variable.
  std::int64_t size = byValue ? (type != nullptr ? type->Size : 0) : 4;
  if (size < 0) size = 0;
  scope.NextAddress = Saturate(std::int64_t{scope.NextAddress} + size);
  scope.LocalsSize = Saturate(std::int64_t{scope.LocalsSize} + size);
  return true;
}

bool TUSymbolTable::DeclareVariableAt(const std::string &name, TTypeDescriptor *type,
                                      std::int32_t address, bool byValue) {
  const std::string upper = UpperCase(name);
  if (Scopes.empty() || IsDeclaredInScope(upper)) return false;
  auto var = std::make_unique<TVariableDescriptor>();
  var->Level = GetScopeDepth();
  var->Address = address;
  var->VarType = type;
  var->ByValue = byValue;
  VariableArena.push_back(std::move(var));
  TSymbol symbol;
  symbol.Name = upper;
  symbol.Level = GetScopeDepth();
  symbol.Kind = skVariable;
  symbol.Data.Variable = VariableArena.back().get();
  InsertSymbol(std::move(symbol));
  return true;
}

bool TUSymbolTable::DeclareProcedure(TProcedureDescriptor *proc) {
  if (proc == nullptr) return false;
  const std::string upper = UpperCase(proc->Name);
  if (Scopes.empty() || IsDeclaredInScope(upper)) return false;
  TSymbol symbol;
  symbol.Name = upper;
  symbol.Level = GetScopeDepth();
  symbol.Kind = skProcedure;
  symbol.Data.Procedure = proc;
  InsertSymbol(std::move(symbol));
  return true;
}

// ---------------------------------------------------------------------------------------------
// Finding

bool TUSymbolTable::FindSymbol(const std::string &name, TSymbol &symbol) const {
  const TSymbolTableItem *item = FindItem(UpperCase(name));
  if (item == nullptr) return false;
  symbol = item->Symbol;
  return true;
}

bool TUSymbolTable::FindType(const std::string &name, TTypeDescriptor *&type) const {
  type = nullptr;
  const TSymbolTableItem *item = FindItem(UpperCase(name));
  if (item == nullptr || item->Symbol.Kind != skType) return false;
  type = item->Symbol.Data.Type;
  return true;
}

bool TUSymbolTable::FindVariable(const std::string &name, TVariableDescriptor &var) const {
  const std::string upper = UpperCase(name);
  if (!Scopes.empty()) {
    const TProcedureDescriptor *proc = Scopes.back().Procedure;
    if (proc != nullptr && proc->ReturnType != nullptr && UpperCase(proc->Name) == upper) {
      var.Level = GetScopeDepth();
      var.Address = Saturate(-static_cast<std::int64_t>(proc->ReturnType->Size));
      var.VarType = proc->ReturnType;
      var.ByValue = true;
      return true;
    }
  }
  const TSymbolTableItem *item = FindItem(upper);
  if (item == nullptr || item->Symbol.Kind != skVariable || item->Symbol.Data.Variable == nullptr) {
    return false;
  }
  var = *item->Symbol.Data.Variable;
  return true;
}

bool TUSymbolTable::FindProcedure(const std::string &name, TProcedureDescriptor *&proc) const {
  proc = nullptr;
  const TSymbolTableItem *item = FindItem(UpperCase(name));
  if (item == nullptr || item->Symbol.Kind != skProcedure) return false;
  proc = item->Symbol.Data.Procedure;
  return true;
}

bool TUSymbolTable::FindConstant(const std::string &name, TValueDescriptor &value) const {
  const TSymbolTableItem *item = FindItem(UpperCase(name));
  if (item == nullptr || item->Symbol.Kind != skConstant || item->Symbol.Data.Constant == nullptr) {
    return false;
  }
  value = *item->Symbol.Data.Constant;
  return true;
}

bool TUSymbolTable::FindUnspecifiedType(TTypeDescriptor *&type) const {
  type = nullptr;
  if (Scopes.empty()) return false;
  for (const std::string &name : Scopes.back().Names) {
    const TSymbolTableItem *item = FindItem(name);
    if (item != nullptr && item->Symbol.Kind == skType && item->Symbol.Data.Type != nullptr &&
        item->Symbol.Data.Type->Kind == tyUnspecified) {
      type = item->Symbol.Data.Type;
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// Types and descriptors

void TUSymbolTable::CalcTypeSize(TTypeDescriptor *type) {
  UV_ASSERT(type != nullptr, Unit, "CalcTypeSize called with NIL argument");
  SizingNow.clear();
  CalcSize(type);
}

// A type can reach itself only through a forward pointer target completed in place (a record
// with a field of its own type, or two names copying each other); such a type has no size.
void TUSymbolTable::CalcSize(TTypeDescriptor *type) {
  if (type == nullptr || type->Size >= 0) return;
  if (std::find(SizingNow.begin(), SizingNow.end(), type) != SizingNow.end()) return;
  SizingNow.push_back(type);
  CalcSizeOf(type);
  SizingNow.pop_back();
}

void TUSymbolTable::CalcSizeOf(TTypeDescriptor *type) {
  switch (type->Kind) {
    case tyRecord: {
      std::int64_t total = 0;
      bool known = true;
      for (TRecordDescriptor *f = type->Fields; f != nullptr; f = f->Next) {
        f->Offset = Saturate(total);
        CalcSize(f->FieldType);
        const std::int64_t size = f->FieldType != nullptr ? f->FieldType->Size : -1;
        if (size < 0) {
          known = false;
        } else {
          total = std::min<std::int64_t>(total + size, INT32_MAX);
        }
      }
      type->Size = known ? Saturate(total) : -1;
      break;
    }
    case tyArray: {
      CalcSize(type->ElementType);
      const std::int64_t element = type->ElementType != nullptr ? type->ElementType->Size : -1;
      if (type->HighBound < type->LowBound || element < 0) {
        type->Size = -1;
      } else {
        const std::int64_t count = std::int64_t{type->HighBound} - type->LowBound + 1;
        // count <= 2^32 and element < 2^31: the product fits in 64 bits.
        type->Size = Saturate(count * element);
      }
      break;
    }
    case tyCopy:
      CalcSize(type->Base);
      type->Size = type->Base != nullptr ? type->Base->Size : -1;
      break;
    case tyUnspecified:
      type->Size = -1;
      break;
    default:
      break;
  }
}

bool TUSymbolTable::SameType(const TTypeDescriptor *a, const TTypeDescriptor *b) {
  if (a == nullptr || b == nullptr) return false;
  // Follow the copies; a cycle of copies (possible only through forward targets completed in
  // place) is cut by Brent-style detection so the walk always ends.
  auto resolve = [](const TTypeDescriptor *t) {
    const TTypeDescriptor *mark = t;
    std::size_t power = 1, steps = 0;
    while (t->Kind == tyCopy && t->Base != nullptr) {
      t = t->Base;
      if (t == mark) break;
      if (++steps == power) {
        mark = t;
        power *= 2;
        steps = 0;
      }
    }
    return t;
  };
  return resolve(a) == resolve(b);
}

bool TUSymbolTable::SameHeading(const TProcedureDescriptor *a, const TProcedureDescriptor *b) {
  if (a == nullptr || b == nullptr) return false;
  if (UpperCase(a->Name) != UpperCase(b->Name)) return false;
  if (a->ReturnType != b->ReturnType) return false;
  const TParmDescriptor *p = a->Parameters;
  const TParmDescriptor *q = b->Parameters;
  for (; p != nullptr && q != nullptr; p = p->Next, q = q->Next) {
    if (UpperCase(p->Name) != UpperCase(q->Name) || p->ByValue != q->ByValue ||
        p->ParmType != q->ParmType) {
      return false;
    }
  }
  return p == nullptr && q == nullptr;
}

// Memory goes back at Clear; releasing keeps the bookkeeping of the nameless parts (their
// reference counts and the invariants) and clears the caller's reference. The descriptors
// themselves are left as they are, so a pointer still held elsewhere stays usable.
void TUSymbolTable::FreeType(TTypeDescriptor *&type) {
  TTypeDescriptor *t = type;
  type = nullptr;
  ReleaseType(t, 0);
}

void TUSymbolTable::ReleaseType(TTypeDescriptor *t, std::size_t depth) {
  // Nameless parts form a tree; the bound only guards against a corrupted one.
  if (t == nullptr || depth > TypeArena.size()) return;
  switch (t->Kind) {
    case tyPointer:
      if (IsNameless(t->Target)) ReleaseType(t->Target, depth + 1);
      break;
    case tyRecord:
      ReleaseFields(t->Fields, depth + 1);
      break;
    case tyArray:
      if (IsNameless(t->ElementType)) ReleaseType(t->ElementType, depth + 1);
      break;
    case tyCopy:
      if (IsNameless(t->Base)) {
        ReleaseType(t->Base, depth + 1);
        AssertionFailed("\"Copy of a nameless type\" type descriptor found", Unit, __LINE__);
      }
      break;
    default:
      break;
  }
}

void TUSymbolTable::ReleaseFields(TRecordDescriptor *fields, std::size_t depth) {
  for (TRecordDescriptor *f = fields; f != nullptr; f = f->Next) {
    TTypeDescriptor *type = f->FieldType;
    if (!IsNameless(type)) continue;
    if (type->RefCount > 0) --type->RefCount;
    if (type->RefCount == 0) ReleaseType(type, depth + 1);
  }
}

void TUSymbolTable::FreeFieldList(TRecordDescriptor *&fields) {
  TRecordDescriptor *f = fields;
  fields = nullptr;
  ReleaseFields(f, 0);
}

void TUSymbolTable::FreeProcedure(TProcedureDescriptor *&proc) {
  TProcedureDescriptor *p = proc;
  proc = nullptr;
  if (p == nullptr) return;
  if (IsNameless(p->ReturnType)) {
    ReleaseType(p->ReturnType, 0);
    AssertionFailed("Procedure with a nameless return type found", Unit, __LINE__);
  }
  TParmDescriptor *parms = p->Parameters;
  FreeParameterList(parms);
}

void TUSymbolTable::FreeParameterList(TParmDescriptor *&parms) {
  TParmDescriptor *p = parms;
  parms = nullptr;
  for (; p != nullptr; p = p->Next) {
    if (IsNameless(p->ParmType)) {
      ReleaseType(p->ParmType, 0);
      AssertionFailed("Parameter with a nameless type found", Unit, __LINE__);
    }
  }
}

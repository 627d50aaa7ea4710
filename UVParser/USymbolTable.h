// The symbol table: scopes of names, the descriptors of types, variables, constants and
// procedures, frame addresses, type sizes and the table of label numbers.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ValueDescriptor.h"

enum TSymbolKind : std::uint8_t { skLabel, skType, skVariable, skConstant, skProcedure };

enum TTypeKind : std::uint8_t {
  tyInteger,      // 4 bytes
  tyReal,         // 8
  tyBoolean,      // 1
  tyString,       // 256
  tyPointer,      // 4; Target
  tyRecord,       // sum of the field sizes; Fields
  tyArray,        // (HighBound - LowBound + 1) * element size; LowBound, HighBound, ElementType
  tyCopy,         // a named type repeated under a new name; Base
  tyUnspecified   // -1: a pointer target named before its declaration
};

struct TRecordDescriptor;
struct TProcedureDescriptor;
struct TParmDescriptor;

// A type. Nameless (Name empty) types are owned by what they were written in; RefCount counts
// the variables and record fields declared with a nameless type (the parser adds 1 for each).
struct TTypeDescriptor {
  std::string Name;
  TTypeKind Kind = tyUnspecified;
  std::int32_t Size = -1;  // -1 while not known
  std::int32_t RefCount = 0;
  TTypeDescriptor *Target = nullptr;     // tyPointer
  TRecordDescriptor *Fields = nullptr;   // tyRecord
  std::int32_t LowBound = 0;             // tyArray
  std::int32_t HighBound = 0;            // tyArray
  TTypeDescriptor *ElementType = nullptr;  // tyArray
  TTypeDescriptor *Base = nullptr;       // tyCopy
};

// One field of a record type; Offset is set by CalcTypeSize.
struct TRecordDescriptor {
  std::string Name;  // upper case
  TTypeDescriptor *FieldType = nullptr;
  std::int32_t Offset = 0;
  TRecordDescriptor *Next = nullptr;
};

// One formal parameter.
struct TParmDescriptor {
  bool ByValue = true;
  std::string Name;  // upper case
  TTypeDescriptor *ParmType = nullptr;  // always a named type
  TParmDescriptor *Next = nullptr;
};

struct TProcedureDescriptor {
  std::string Name;
  std::int32_t EntryLabel = -1;
  std::int32_t Level = 0;
  bool IsBuiltIn = false;
  TTypeDescriptor *ReturnType = nullptr;  // nullptr for a procedure
  TParmDescriptor *Parameters = nullptr;
  std::int32_t ParamSize = 0;
};

struct TVariableDescriptor {
  std::int32_t Level = 0;
  std::int32_t Address = 0;  // relative to the frame of that scope
  TTypeDescriptor *VarType = nullptr;
  bool ByValue = true;  // false: holds the address of the value (VAR parameter)
};

// What a symbol stands for; only the member of the symbol's kind is set.
struct TSymbolData {
  std::int32_t Label = -1;                     // skLabel: label number
  TTypeDescriptor *Type = nullptr;             // skType
  TVariableDescriptor *Variable = nullptr;     // skVariable
  TValueDescriptor *Constant = nullptr;        // skConstant: the table's copy
  TProcedureDescriptor *Procedure = nullptr;   // skProcedure
};

struct TSymbol {
  std::string Name;  // upper case
  std::int32_t Level = 0;  // scope depth of the declaration
  TSymbolKind Kind = skLabel;
  TSymbolData Data;
};

// Ownership: every descriptor is made by the table (NewType, NewField, NewProcedure,
// NewParameter, and the copies it makes itself) and stays valid until the next Clear or the
// table's destruction, so pointers handed out never dangle during a compilation. The Free*
// operations keep the release bookkeeping (RefCount, the nameless-part assertions, the
// reference set to nullptr); memory itself goes back at Clear. A descriptor that was never
// declared, or whose contents were copied elsewhere, may simply be dropped.
class TUSymbolTable {
 public:
  static constexpr int BucketCount = 997;
  static constexpr std::int32_t InitialLabelCapacity = 1000;
  static constexpr std::int32_t LabelCapacityStep = 500;
  static constexpr std::int32_t FirstAddress = 12;

  TUSymbolTable();
  ~TUSymbolTable();
  TUSymbolTable(const TUSymbolTable &) = delete;
  TUSymbolTable &operator=(const TUSymbolTable &) = delete;

  // Descriptors. NewType sets Size for the basic kinds (Integer 4, Real 8, Boolean 1,
  // String 256, Pointer 4), -1 for the others.
  TTypeDescriptor *NewType(TTypeKind kind, const std::string &name = std::string());
  TRecordDescriptor *NewField(const std::string &name, TTypeDescriptor *type);
  TProcedureDescriptor *NewProcedure(const std::string &name);
  TParmDescriptor *NewParameter(const std::string &name, TTypeDescriptor *type, bool byValue);

  // Lifetime and scopes.
  void Clear();
  void OpenScope();
  void OpenProcedureScope(TProcedureDescriptor *proc);
  void CloseScope();
  std::int32_t GetScopeDepth() const { return static_cast<std::int32_t>(Scopes.size()); }
  std::int32_t GetLocalsSize() const;  // -1 when no scope is open

  // Labels.
  std::int32_t NewLabel();
  bool SetLabelAddress(std::int32_t label, std::int32_t address);
  std::int32_t GetLabelAddress(std::int32_t label) const;
  bool DeclareLabel(const std::string &name);
  bool FindLabel(const std::string &name, std::int32_t &label) const;
  std::int32_t GetLabelCapacity() const { return static_cast<std::int32_t>(Labels.size()); }
  std::int32_t GetLabelCount() const { return LabelCount; }

  // Declaring: false (and nothing declared) when the name is declared in the current scope.
  bool DeclareConstant(const std::string &name, const TValueDescriptor &value);
  bool DeclareType(TTypeDescriptor *type);
  bool DeclareVariable(const std::string &name, TTypeDescriptor *type);
  bool DeclareParameter(const std::string &name, TTypeDescriptor *type, bool byValue);
  bool DeclareVariableAt(const std::string &name, TTypeDescriptor *type, std::int32_t address,
                         bool byValue);
  bool DeclareProcedure(TProcedureDescriptor *proc);

  // Finding: the visible symbol is the innermost one of that name; the typed operations
  // fail when it is of another kind.
  bool FindSymbol(const std::string &name, TSymbol &symbol) const;
  bool FindType(const std::string &name, TTypeDescriptor *&type) const;
  bool FindVariable(const std::string &name, TVariableDescriptor &var) const;
  bool FindProcedure(const std::string &name, TProcedureDescriptor *&proc) const;
  bool FindConstant(const std::string &name, TValueDescriptor &value) const;
  bool FindUnspecifiedType(TTypeDescriptor *&type) const;
  // The variables of the innermost scope in declaration order (a function's RESULT first), and
  // whether each is a parameter of the scope's routine.
  struct TScopeVariable {
    std::string Name;  // upper case
    TVariableDescriptor Variable;
    bool Parameter = false;
  };
  std::vector<TScopeVariable> ScopeVariables() const;

  // Types and descriptors.
  void CalcTypeSize(TTypeDescriptor *type);
  static bool SameType(const TTypeDescriptor *a, const TTypeDescriptor *b);
  static bool SameHeading(const TProcedureDescriptor *a, const TProcedureDescriptor *b);
  void FreeType(TTypeDescriptor *&type);
  void FreeFieldList(TRecordDescriptor *&fields);
  void FreeProcedure(TProcedureDescriptor *&proc);
  void FreeParameterList(TParmDescriptor *&parms);

  // The bucket of an upper-cased name: sum of its bytes modulo 997.
  static int HashName(const std::string &upperName);
  // Upper case of a name; only a..z change.
  static std::string UpperCase(std::string name);

 private:
  struct TSymbolTableItem {
    TSymbol Symbol;
    std::unique_ptr<TSymbolTableItem> Shadowed;
    std::unique_ptr<TSymbolTableItem> Next;
  };
  struct TScopeRecord {
    TProcedureDescriptor *Procedure = nullptr;
    std::vector<std::string> Names;
    std::int32_t LocalsSize = 0;
    std::int32_t NextAddress = FirstAddress;
  };

  bool IsDeclaredInScope(const std::string &upperName) const;
  void InsertSymbol(TSymbol symbol);
  void RemoveSymbol(const std::string &upperName);
  void FreeSymbolData(TSymbol &symbol);
  const TSymbolTableItem *FindItem(const std::string &upperName) const;
  void ReleaseNamelessUse(TTypeDescriptor *type);
  void ReleaseType(TTypeDescriptor *type, std::size_t depth);
  void ReleaseFields(TRecordDescriptor *fields, std::size_t depth);
  void CalcSize(TTypeDescriptor *type);
  void CalcSizeOf(TTypeDescriptor *type);

  std::vector<TScopeRecord> Scopes;  // innermost last
  std::array<std::unique_ptr<TSymbolTableItem>, BucketCount> Buckets;
  std::vector<std::int32_t> Labels;  // size() is the capacity
  std::int32_t LabelCount = 0;
  std::vector<const TTypeDescriptor *> SizingNow;  // types being sized, outermost first

  std::vector<std::unique_ptr<TTypeDescriptor>> TypeArena;
  std::vector<std::unique_ptr<TRecordDescriptor>> FieldArena;
  std::vector<std::unique_ptr<TProcedureDescriptor>> ProcedureArena;
  std::vector<std::unique_ptr<TParmDescriptor>> ParameterArena;
  std::vector<std::unique_ptr<TVariableDescriptor>> VariableArena;
  std::vector<std::unique_ptr<TValueDescriptor>> ConstantArena;
};

// What a debugger needs to know of a compiled program besides its code and statement table: the
// routines with their frames, the globals, and the types of all of them. The compiler fills it
// while it emits the code; the code and the listing do not depend on it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class TDebugTypeKind : std::uint8_t { Integer, Real, Boolean, String, Pointer, Record, Array, Unknown };

struct TDebugField {
  std::string Name;          // as declared
  std::int32_t Offset = 0;   // from the record's first byte
  std::int32_t Type = -1;    // into TDebugInfo::Types
};

struct TDebugType {
  std::string Name;          // the declared name; empty for a type written in place
  TDebugTypeKind Kind = TDebugTypeKind::Unknown;
  std::int32_t Size = 0;     // bytes
  std::int32_t Target = -1;  // Pointer: the type pointed to; -1: untyped (Pointer, @x)
  std::int32_t Low = 0, High = -1;  // Array: the bounds
  std::int32_t Element = -1;        // Array: the element type
  std::vector<TDebugField> Fields;  // Record
};

// A parameter, local or global variable.
struct TDebugVariable {
  std::string Name;          // as declared; a function's result is "Result"
  std::int32_t Type = -1;
  std::int32_t Offset = 0;   // from its frame's MP (a function's result lies below it)
  bool ByValue = true;       // false: a VAR parameter, the cell holds the variable's address
  bool Parameter = false;
};

struct TDebugRoutine {
  std::string Name;          // as declared; the main program by its name
  std::int32_t Level = 0;    // nesting: 1 for the main program, 2 for its routines, ...
  std::int32_t First = 0;    // entry instruction
  std::int32_t End = 0;      // one past its last instruction (nested routines lie inside)
  std::int32_t Parent = -1;  // the routine it is declared in; -1 for the main program
  std::vector<TDebugVariable> Variables;  // function result, parameters, locals, in frame order
};

class TDebugInfo {
 public:
  // Index of the type, added once per descriptor key (the compiler's own pointer).
  std::int32_t AddType(const void *key, TDebugType type);
  std::int32_t FindType(const void *key) const;  // -1 when not added
  TDebugType &TypeAt(std::int32_t index) { return Types[static_cast<std::size_t>(index)]; }
  std::int32_t AddRoutine(TDebugRoutine routine);
  // The code from `count` on was taken out again.
  void Truncate(std::int32_t count);
  void Clear();

  // The innermost routine whose code contains `index`; -1 when none.
  std::int32_t RoutineAt(std::int32_t index) const;
  // The routine with that entry instruction; -1 when none.
  std::int32_t RoutineByEntry(std::int32_t entry) const;
  // The main program (its variables are the globals); -1 before it is compiled.
  std::int32_t MainRoutine() const;
  // A type's name as a declaration would write it: "Integer", "TNode", "ARRAY[1..3] OF Real",
  // "^TNode", "RECORD".
  std::string TypeName(std::int32_t type) const;
  // The type, or nullptr for an index outside the table.
  const TDebugType *Type(std::int32_t type) const;

  std::vector<TDebugType> Types;
  std::vector<TDebugRoutine> Routines;

 private:
  std::vector<const void *> TypeKeys;  // parallel to Types
};

// The compiler: a one-pass recursive-descent parser that emits stack-machine code as it reads.
// The grammar routines are members of TUVParser, split over several files by construct:
//   UVParser.cpp        compile driver, diagnostics, emitters, recovery
//   ParseDeclarations   program, block, LABEL/CONST/TYPE/VAR sections, type constructors
//   ParseProcedures     procedure and function declarations, calls
//   ParseStatements     statements and control flow
//   ParseExpressions    expressions, designators, constant expressions, type identifiers
//   GenerateOperators   operator code and constant folding
//   BuiltIns            predeclared identifiers, built-in routines, type conversions
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "IParser.h"
#include "Program.h"
#include "Tokens.h"
#include "USymbolTable.h"
#include "UVScanner.h"
#include "ValueDescriptor.h"

enum TSeverity : std::uint8_t { svHint, svWarning, svError, svFatalError };

enum TErrorKind : std::uint8_t {
  ekSyntaxError,
  ekIOError,
  ekTokenSkipped,
  ekTokenInserted,
  ekTokenMissing,
  ekTextSkipped,
  ekIdentifierRedeclared,
  ekUndeclaredIdentifier,
  ekLabelNotDeclared,
  ekLabelRedefined,
  ekBadAssignment,
  ekAutomaticTypeConversion,
  ekIncorrectType,
  ekConstantExpressionExpected,
  ekIntegerOutOfRange,
  ekIncompatibleTypes
};

extern const char *const SeverityNames[4];
extern const char *const ErrorKindNames[16];

// The end of the file met while skipping tokens; ends a compile with one diagnostic.
class EUnexpectedEOF : public std::runtime_error {
 public:
  EUnexpectedEOF() : std::runtime_error("Unexpected end of file encountered") {}
};

// An internal fault of the parser (e.g. nesting too deep for the parser's own stack); ends a
// compile with "Parsing error".
class EParsingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The type behind a chain of aliases (tyCopy); nullptr stays nullptr.
inline TTypeDescriptor *ResolveType(TTypeDescriptor *type) {
  while (type && type->Kind == tyCopy && type->Base) type = type->Base;
  return type;
}

// True when the type, aliases resolved, is of that kind; false for an unknown type.
inline bool IsKind(TTypeDescriptor *type, TTypeKind kind) {
  type = ResolveType(type);
  return type && type->Kind == kind;
}

// The names of the built-in routines (SIN, WRITELN, ...), upper case, in the order entered.
std::vector<std::string> BuiltInRoutineNames();

// The low 32 bits of a folded integer, as the machine holds it.
inline std::int32_t Low32(std::int64_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

class TUVParser final : public IParser {
 public:
  TUVParser();
  ~TUVParser() override;

  bool Compile(const std::string &fileName) override;
  IProgramRef GetProgram() override { return Program; }
  const std::vector<std::string> &GetErrors() const override { return Errors; }

  // How deep the grammar routines may nest before the compile ends with "Parsing error".
  static constexpr int MaxNesting = 400;

 private:
  friend struct TNestingGuard;

  // ---- diagnostics, emitters, recovery (UVParser.cpp)
  void Report(TSeverity severity, TErrorKind kind, const std::string &message);
  void EmitOp(TOpcode op);
  void EmitInt(TOpcode op, std::int32_t value);
  void EmitReal(TOpcode op, double value);
  void EmitBool(TOpcode op, bool value);
  void EmitStr(TOpcode op, std::string_view value);
  // Records in the statement table that a statement begins here, at the current token's line.
  void NoteStatement();
  // Records compiler glue (no statement of its own) beginning here, shown at `line`.
  void NoteGlue(std::int32_t line);

  // ---- debug information (DebugInfoWriter.cpp)
  // A name as written in its declaration; DeclaredName gives it back for the upper-case name.
  const std::string &Spelled(const std::string &name);
  std::string DeclaredName(const std::string &upperName) const;
  // At a block's body: the variables of the innermost scope become the pending routine's frame.
  void CaptureFrame();
  // After a routine's code: the routine with the frame captured last.
  void NoteDebugRoutine(const std::string &name, std::int32_t level, std::int32_t first, std::int32_t end);
  // After the whole program: each routine's enclosing one.
  void LinkDebugRoutines();
  // The debug type of a descriptor, added with the types it refers to.
  std::int32_t DebugType(TTypeDescriptor *type);
  void SkipTo(TTokenSet set);
  void Expect(TTokenKind kind);
  void ResolveJumps();

  // Token access: the current token, its kind, advancing.
  const TToken &Token();
  TTokenKind Kind() { return Token().Kind; }
  void Advance();
  void PutBack();
  std::int32_t Here() const { return Program->GetCount(); }
  void Truncate(std::int32_t count) { Program->SetCount(count); }
  // The predeclared types by name (Integer, Real, Boolean, String, Pointer).
  TTypeDescriptor *PredeclaredType(const char *name) const;
  // Emits the push of a constant descriptor by its kind (nothing for other kinds).
  void EmitConstant(const TValueDescriptor &value);

  // ---- program, block, declarations (ParseDeclarations.cpp)
  void ParseProgram();
  void ParseBlock(TTokenSet set);
  void ParseDeclarationSection(TTokenSet set);
  void ParseLabelSection(TTokenSet set);
  void ParseConstSection(TTokenSet set);
  void ParseTypeSection(TTokenSet set);
  void ParseConstDeclaration(TTokenSet set);
  void ParseTypeDeclaration(TTokenSet set);
  TTypeDescriptor *ParseType(TTokenSet set, bool forwardAllowed);
  TTypeDescriptor *ParsePointerType(TTokenSet set, bool forwardAllowed);
  TTypeDescriptor *ParseArrayType(TTokenSet set);
  TTypeDescriptor *ParseRecordType(TTokenSet set);
  TRecordDescriptor *ParseFieldList(TTokenSet set);
  void ParseVarSection(TTokenSet set);
  void ParseVarDeclaration(TTokenSet set);
  bool ReadBoundPair(TTokenSet set, std::int32_t &low, std::int32_t &high);

  // ---- procedures, functions and calls (ParseProcedures.cpp)
  void ParseProcedureDeclaration(TTokenSet set);
  TProcedureDescriptor *ParseProcedureHeading(TTokenSet set);
  void ParseFormalParameters(TTokenSet set, TProcedureDescriptor *proc);
  TParmDescriptor *ParseParameterGroup(TTokenSet set);
  TParmDescriptor *ParseParameterNames(TTokenSet set);
  bool CheckParameterNames(const TParmDescriptor *parms, bool isFunction);
  // The call of a routine (or a type conversion); resultSize is what the call leaves on the
  // stack for a declared function or a conversion (0 for procedures and built-ins).
  TValueDescriptor CallProcedure(TTokenSet set, std::int32_t &resultSize);
  TValueDescriptor ParseActualParameter(const TParmDescriptor *&formal);

  // ---- statements (ParseStatements.cpp)
  void ParseCompoundStatement(TTokenSet set);
  void ParseStatement(TTokenSet set);
  void ParseAssignment();
  void ParseGotoStatement(TTokenSet set);
  void ParseStructuredStatement(TTokenSet set);
  void ParseIfStatement(TTokenSet set);
  void ParseWhileStatement(TTokenSet set);
  void ParseRepeatStatement(TTokenSet set);
  void ParseForStatement(TTokenSet set);

  // ---- expressions (ParseExpressions.cpp)
  TValueDescriptor ParseExpression(TTypeDescriptor *typeHint = nullptr);
  TValueDescriptor ParseSimpleExpression(TTypeDescriptor *typeHint, bool &stopFlag);
  TValueDescriptor ParseTerm(TTypeDescriptor *typeHint, bool &stopFlag);
  TValueDescriptor ParseFactor(TTypeDescriptor *typeHint, bool &stopFlag);
  // The operator token, or tkErroneus for none.
  TTokenKind ParseRelationalOperator();
  TTokenKind ParseAddingOperator();
  TTokenKind ParseMultiplyingOperator();
  TTypeDescriptor *ParseDesignator();
  void ParseIndex(TTypeDescriptor *&type);
  void EmitVariableAddress(const TVariableDescriptor &var);
  TValueDescriptor ParseConstantExpression();
  TValueDescriptor ParseConstIntegerExpression();
  TTypeDescriptor *ParseTypeIdentifier(TTokenSet set);
  // Replaces the code since mark by one push of the constant result.
  void FoldTo(std::int32_t mark, const TValueDescriptor &value);

  // ---- operators (GenerateOperators.cpp)
  void GenerateRelation(TValueDescriptor &left, TValueDescriptor &right, TTokenKind op);
  void GenerateAddition(TValueDescriptor &left, TValueDescriptor &right, TTokenKind op);
  void GenerateMultiplication(TValueDescriptor &left, TValueDescriptor &right, TTokenKind op);
  void ConvertMixedOperands(TValueDescriptor &left, const TValueDescriptor &right, bool orderMatters,
                            double &a, double &b);

  // ---- predeclared identifiers and built-ins (BuiltIns.cpp)
  void RegisterPredeclared();
  TValueDescriptor CallBuiltIn(TProcedureDescriptor *proc, std::int32_t &resultSize);
  bool ParseTypeConversion(std::int32_t &resultSize, TValueDescriptor &result);

  // ---- state
  std::unique_ptr<TUSymbolTable> SymbolTable;
  std::vector<std::string> Errors;
  IScannerRef Scanner;
  IProgramRef Program;
  bool Success = true;
  std::int32_t BreakLabel = -1;
  std::int32_t ContinueLabel = -1;
  TToken Current;  // the scanner's current token, fetched by Token()
  bool CurrentValid = false;
  int Nesting = 0;
  std::unordered_map<std::string, std::string> Spellings;  // upper case -> as declared
  std::vector<std::vector<TDebugVariable>> Frames;          // captured, routine not yet noted
};

// Counts the nesting of the recursive grammar routines; too deep a nesting is an internal
// fault rather than an overflow of the C++ stack.
struct TNestingGuard {
  explicit TNestingGuard(TUVParser &p) : Parser(p) {
    if (++Parser.Nesting > TUVParser::MaxNesting) {
      --Parser.Nesting;
      throw EParsingError("nesting too deep");
    }
  }
  ~TNestingGuard() { --Parser.Nesting; }
  TNestingGuard(const TNestingGuard &) = delete;
  TNestingGuard &operator=(const TNestingGuard &) = delete;
  TUVParser &Parser;
};

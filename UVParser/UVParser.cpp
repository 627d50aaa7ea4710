// The compile driver: one compile from source file to resolved program, the diagnostics with
// their one-per-line rule, the emitting operations with their two peephole rules, and the two
// recovery operations every grammar routine uses.
#include "UVParser.h"

#include <optional>

#include "Errors.h"

const char *const SeverityNames[4] = {"Hint", "Warning", "Error", "Fatal Error"};

const char *const ErrorKindNames[16] = {
    "Syntax error",          "I/O error",
    "Token skipped",         "Token inserted",
    "Token missing",         "Text skipped",
    "Identifier redeclared", "Undeclared identifier",
    "Label not declared",    "Label redefined",
    "Bad assignment",        "Automatic type conversion",
    "Incorrect type",        "Constant expression expected",
    "Integer out of range",  "Incompatible types"};

namespace {
// Line of the last Error of the current compile, shared by every parser.
std::optional<std::int32_t> LastErrorLine;
}  // namespace

IParserRef NewParser() { return std::make_shared<TUVParser>(); }

TUVParser::TUVParser()
    : SymbolTable(std::make_unique<TUSymbolTable>()),
      Scanner(std::make_shared<TUVScanner>()),
      Program(NewProgram()) {}

TUVParser::~TUVParser() = default;

bool TUVParser::Compile(const std::string &fileName) {
  Success = true;
  LastErrorLine.reset();
  try {
    SymbolTable->Clear();
    Errors.clear();
    Program = NewProgram();
    CurrentValid = false;
    Nesting = 0;
    Spellings.clear();
    Frames.clear();
    Scanner->SetSourceFile(fileName);
    Scanner->Open();
    Advance();
    Program->SetSourceFileName(Scanner->GetSourceName());
    RegisterPredeclared();
    BreakLabel = -1;
    ContinueLabel = -1;
    ParseProgram();
    ResolveJumps();
    SymbolTable->CloseScope();
    Scanner->Close();
  } catch (const EInOutError &) {
    Report(svError, ekIOError, "I/O error reading file " + fileName);
    Success = false;
  } catch (const EUnexpectedEOF &e) {
    Report(svError, ekSyntaxError, e.what());
    Success = false;
  } catch (const EParsingError &) {
    Report(svError, ekSyntaxError, "Parsing error");
    Success = false;
  }
  return Success;
}

void TUVParser::ResolveJumps() {
  TInstruction instr;
  for (std::int32_t i = 0; i < Program->GetCount(); ++i) {
    Program->GetInstruction(i, instr);
    if (instr.Opcode == ocJump || instr.Opcode == ocJifF) {
      instr.IntValue = SymbolTable->GetLabelAddress(instr.IntValue);
      Program->SetInstruction(i, instr);
    }
  }
}

void TUVParser::Report(TSeverity severity, TErrorKind, const std::string &message) {
  if (severity == svError) Success = false;
  const std::int32_t line = Scanner->GetLine();
  if (LastErrorLine && *LastErrorLine == line) return;
  std::string text = "[";
  text += SeverityNames[severity];
  text += "] ";
  text += Scanner->GetSourceName();
  text += "(" + std::to_string(line) + "): ";
  text += message;
  if (severity == svError) LastErrorLine = line;
  Errors.push_back(std::move(text));
}

// ---- tokens

const TToken &TUVParser::Token() {
  if (!CurrentValid) {
    Scanner->GetToken(Current);
    CurrentValid = true;
  }
  return Current;
}

void TUVParser::Advance() {
  Scanner->NextToken();
  CurrentValid = false;
}

void TUVParser::PutBack() {
  Scanner->PutBack();
  CurrentValid = false;
}

void TUVParser::SkipTo(TTokenSet set) {
  while (!set.Contains(Kind())) {
    if (Kind() == tkEOF) throw EUnexpectedEOF();
    Report(svError, ekTokenSkipped, std::string("Unexpected ") + TokenName(Kind()));
    Advance();
  }
}

void TUVParser::Expect(TTokenKind kind) {
  if (Kind() == kind)
    Advance();
  else
    Report(svError, ekTokenInserted, std::string(TokenName(kind)) + " missing");
}

// ---- emitting

namespace {
TInstruction MakeInstruction(TOpcode op, std::int32_t line) {
  TInstruction instr;
  instr.Opcode = op;
  instr.Line = line;
  return instr;
}
}  // namespace

void TUVParser::NoteStatement() { Program->Statements().AddStatement(Here(), Token().Line); }

void TUVParser::NoteGlue(std::int32_t line) { Program->Statements().AddStatement(Here(), line, true); }

void TUVParser::EmitOp(TOpcode op) {
  const std::int32_t count = Program->GetCount();
  if ((op == ocAddInt || op == ocSubInt) && count > 0) {
    TInstruction last;
    Program->GetInstruction(count - 1, last);
    if (last.Opcode == ocPushInt) {
      Program->SetCount(count - 1);
      // -c of the most negative integer wraps to itself.
      const std::int32_t c = last.IntValue;
      const std::int32_t neg = static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(c));
      EmitInt(ocIncInt, op == ocAddInt ? c : neg);
      return;
    }
  }
  Program->AddInstruction(MakeInstruction(op, Scanner->GetLine()));
}

void TUVParser::EmitInt(TOpcode op, std::int32_t value) {
  if (op == ocIncInt) {
    if (value == 0) return;
    const std::int32_t count = Program->GetCount();
    if (count > 0) {
      TInstruction last;
      Program->GetInstruction(count - 1, last);
      if (last.Opcode == ocIncInt) {
        const std::int32_t sum = static_cast<std::int32_t>(static_cast<std::uint32_t>(last.IntValue) +
                                                           static_cast<std::uint32_t>(value));
        if (sum != 0) {
          last.IntValue = sum;
          Program->SetInstruction(count - 1, last);
        } else {
          Program->SetCount(count - 1);
        }
        return;
      }
    }
  }
  TInstruction instr = MakeInstruction(op, Scanner->GetLine());
  instr.IntValue = value;
  Program->AddInstruction(instr);
}

void TUVParser::EmitReal(TOpcode op, double value) {
  TInstruction instr = MakeInstruction(op, Scanner->GetLine());
  instr.RealValue = value;
  Program->AddInstruction(instr);
}

void TUVParser::EmitBool(TOpcode op, bool value) {
  TInstruction instr = MakeInstruction(op, Scanner->GetLine());
  instr.BoolValue = value ? 1 : 0;
  Program->AddInstruction(instr);
}

void TUVParser::EmitStr(TOpcode op, std::string_view value) {
  TInstruction instr = MakeInstruction(op, Scanner->GetLine());
  instr.StrValue.Assign(value);
  Program->AddInstruction(instr);
}

void TUVParser::EmitConstant(const TValueDescriptor &value) {
  if (!value.ValueType) return;
  const TTypeDescriptor *type = value.ValueType;
  while (type->Kind == tyCopy && type->Base) type = type->Base;
  switch (type->Kind) {
    case tyInteger:
      EmitInt(ocPushInt, static_cast<std::int32_t>(static_cast<std::uint32_t>(value.IntValue)));
      break;
    case tyReal: EmitReal(ocPushReal, value.RealValue); break;
    case tyBoolean: EmitBool(ocPushBool, value.BoolValue != 0); break;
    case tyString: EmitStr(ocPushStr, value.StrValue); break;
    default: break;
  }
}

void TUVParser::FoldTo(std::int32_t mark, const TValueDescriptor &value) {
  Truncate(mark);
  EmitConstant(value);
}

TTypeDescriptor *TUVParser::PredeclaredType(const char *name) const {
  TTypeDescriptor *type = nullptr;
  SymbolTable->FindType(name, type);
  return type;
}

// Program heading, block, and the LABEL, CONST, TYPE and VAR sections with the type
// constructors (type identifiers, pointers, arrays, records).
#include <limits>

#include "UVParser.h"

namespace {
const TTokenSet DeclarationStarters{tkLABEL, tkCONST, tkTYPE, tkVAR, tkPROCEDURE, tkFUNCTION};

// The main program's name in a call trace: its PROGRAM name, or without a heading the source
// file's name without its extension.
std::string MainProgramName(const IProgram &program) {
  if (!program.GetProgramName().empty()) return program.GetProgramName();
  const std::string file = program.GetSourceFileName();
  const std::size_t dot = file.rfind('.');
  return dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
}
}  // namespace

// program -> [PROGRAM ident ;] block .
void TUVParser::ParseProgram() {
  TTokenSet start{tkLABEL, tkCONST, tkTYPE, tkVAR, tkBEGIN, tkPROGRAM, tkPROCEDURE, tkFUNCTION};
  SkipTo(start);
  if (Kind() == tkPROGRAM) {
    Advance();
    start = (start - tkPROGRAM) + tkSemicolon;
    SkipTo(start + tkIdentifier);
    if (Kind() == tkIdentifier) {
      Program->SetProgramName(Token().Text);
      Advance();
    } else {
      Report(svError, ekTokenMissing, "Program name missing");
    }
    SkipTo(start);
    Expect(tkSemicolon);
  }
  start += tkPeriod;
  SymbolTable->OpenScope();
  EmitOp(ocInit);
  ParseBlock(start);
  EmitOp(ocRet);
  Program->Statements().AddRoutine(MainProgramName(*Program), 0, Here());
  NoteDebugRoutine(MainProgramName(*Program), 1, 0, Here());
  LinkDebugRoutines();
  SymbolTable->CloseScope();
  Expect(tkPeriod);
  if (Kind() != tkEOF)
    Report(svHint, ekTextSkipped, "Text after final 'END.' - ignored by compiler");
}

// block -> {declaration-section ;} compound-statement
void TUVParser::ParseBlock(TTokenSet set) {
  SkipTo(set);
  const std::int32_t bodyLabel = SymbolTable->NewLabel();
  EmitInt(ocJump, bodyLabel);
  while (DeclarationStarters.Contains(Kind())) {
    ParseDeclarationSection(set + tkSemicolon);
    SkipTo(set + tkSemicolon);
    Expect(tkSemicolon);
    SkipTo(set - tkSemicolon);
  }
  const std::int32_t count = Here();
  TInstruction last;
  Program->GetInstruction(count - 1, last);
  if (count > 0 && last.Opcode == ocJump && last.IntValue == bodyLabel) Truncate(count - 1);
  SymbolTable->SetLabelAddress(bodyLabel, Here());
  NoteGlue(Token().Line);  // the body, from its frame's locals on
  CaptureFrame();
  const std::int32_t locals = SymbolTable->GetLocalsSize();
  if (locals != 0) EmitInt(ocIncSP, locals);
  TTypeDescriptor *unspecified = nullptr;
  if (SymbolTable->FindUnspecifiedType(unspecified))
    Report(svError, ekUndeclaredIdentifier, "Type left unspecified: '" + unspecified->Name + "'");
  ParseCompoundStatement(set);
}

void TUVParser::ParseDeclarationSection(TTokenSet set) {
  switch (Kind()) {
    case tkLABEL: ParseLabelSection(set); break;
    case tkCONST: ParseConstSection(set); break;
    case tkTYPE: ParseTypeSection(set); break;
    case tkVAR: ParseVarSection(set); break;
    case tkPROCEDURE:
    case tkFUNCTION: ParseProcedureDeclaration(set); break;
    default: Report(svError, ekSyntaxError, "Syntax error: declaration section expected"); break;
  }
}

// label-section -> LABEL ident {, ident}
void TUVParser::ParseLabelSection(TTokenSet set) {
  const TTokenSet items = set + TTokenSet{tkComma, tkIdentifier};
  auto declareOne = [this] {
    if (Kind() == tkIdentifier) {
      const std::string name = Token().Text;
      if (!SymbolTable->DeclareLabel(name))
        Report(svError, ekIdentifierRedeclared, "Identifier redeclared: '" + name + "'");
      Advance();
    } else {
      Report(svError, ekSyntaxError, "Identifier expected");
    }
  };
  Expect(tkLABEL);
  SkipTo(items);
  declareOne();
  while (Kind() == tkComma) {
    Advance();
    SkipTo(items);
    declareOne();
  }
}

// const-section -> CONST const-declaration {; const-declaration}
void TUVParser::ParseConstSection(TTokenSet set) {
  Expect(tkCONST);
  SkipTo(set + tkIdentifier);
  ParseConstDeclaration(set + tkIdentifier);
  while (Kind() == tkSemicolon) {
    Advance();
    if (Kind() != tkIdentifier) {
      PutBack();
      return;
    }
    ParseConstDeclaration(set + tkIdentifier);
  }
}

// type-section -> TYPE type-declaration {; type-declaration}
void TUVParser::ParseTypeSection(TTokenSet set) {
  Expect(tkTYPE);
  SkipTo(set + tkIdentifier);
  ParseTypeDeclaration(set + tkIdentifier);
  while (Kind() == tkSemicolon) {
    Advance();
    if (Kind() != tkIdentifier) {
      PutBack();
      return;
    }
    ParseTypeDeclaration(set + tkIdentifier);
  }
}

// const-declaration -> ident = constant-expression
void TUVParser::ParseConstDeclaration(TTokenSet set) {
  if (Kind() != tkIdentifier) {
    Report(svError, ekTokenSkipped, "Illegal constant declaration");
    return;
  }
  const std::string name = Token().Text;
  Advance();
  const TTokenSet starters{tkEqual, tkPlus, tkMinus, tkIdentifier, tkInteger, tkReal, tkBoolean, tkString};
  SkipTo(set + starters);
  if (!starters.Contains(Kind())) {
    Report(svError, ekSyntaxError, "Error in constant declaration");
    return;
  }
  Expect(tkEqual);
  const std::int32_t mark = Here();
  const TValueDescriptor value = ParseConstantExpression();
  Truncate(mark);
  if (!SymbolTable->DeclareConstant(name, value))
    Report(svError, ekIdentifierRedeclared, "Identifier redeclared: '" + name + "'");
}

// type-declaration -> ident = type
void TUVParser::ParseTypeDeclaration(TTokenSet set) {
  if (Kind() != tkIdentifier) {
    Report(svError, ekSyntaxError, "Identifier expected");
    return;
  }
  const std::string name = Token().Text;
  Advance();
  SkipTo(set + TTokenSet{tkCaret, tkEqual, tkARRAY, tkRECORD, tkIdentifier});
  Expect(tkEqual);
  TTypeDescriptor *type = ParseType(set, true);
  if (!type) {
    Report(svError, ekSyntaxError, "Incorrect type declaration");
    return;
  }
  if (!type->Name.empty()) {
    TTypeDescriptor *copy = SymbolTable->NewType(tyCopy, name);
    copy->Size = type->Size;
    copy->RefCount = 0;
    copy->Base = type;
    type = copy;
  } else {
    type->Name = name;
  }
  if (!SymbolTable->DeclareType(type)) {
    TTypeDescriptor *existing = nullptr;
    if (SymbolTable->FindType(name, existing) && existing && existing->Kind == tyUnspecified) {
      // A forward pointer target: complete it in place so every pointer to it sees the type.
      *existing = *type;
    } else {
      Report(svError, ekIdentifierRedeclared, "Identifier redeclared: '" + name + "'");
      SymbolTable->FreeType(type);
    }
  }
}

// type -> ^ident | ARRAY ... | RECORD ... | type-ident
TTypeDescriptor *TUVParser::ParseType(TTokenSet set, bool forwardAllowed) {
  TNestingGuard guard(*this);
  SkipTo(set + TTokenSet{tkCaret, tkARRAY, tkRECORD, tkIdentifier});
  TTypeDescriptor *type = nullptr;
  switch (Kind()) {
    case tkCaret: type = ParsePointerType(set, forwardAllowed); break;
    case tkARRAY: type = ParseArrayType(set); break;
    case tkRECORD: type = ParseRecordType(set); break;
    case tkIdentifier: {
      const std::string name = Token().Text;
      type = ParseTypeIdentifier(set);
      if (!type) Report(svError, ekUndeclaredIdentifier, "Undeclared identifier: " + name);
      break;
    }
    default:
      Report(svError, ekSyntaxError, "One of the following expected: Identifier ^ ARRAY RECORD");
      break;
  }
  if (type && type->Name.empty()) type->RefCount = 0;
  return type;
}

// pointer-type -> ^ type-ident
TTypeDescriptor *TUVParser::ParsePointerType(TTokenSet set, bool forwardAllowed) {
  Expect(tkCaret);
  SkipTo(set + tkIdentifier);
  if (Kind() != tkIdentifier) {
    Report(svError, ekSyntaxError, "Identifier expected");
    return nullptr;
  }
  const std::string name = Token().Text;
  TTypeDescriptor *target = ParseTypeIdentifier(set);
  if (!target) {
    if (!forwardAllowed) {
      Report(svError, ekUndeclaredIdentifier, "Undeclared type");
      return nullptr;
    }
    target = SymbolTable->NewType(tyUnspecified, name);
    target->Size = -1;
    SymbolTable->DeclareType(target);
  }
  TTypeDescriptor *pointer = SymbolTable->NewType(tyPointer);
  pointer->Size = 4;
  pointer->Target = target;
  return pointer;
}

// Reads "low .. high" of an array type; false when the bounds are not usable.
bool TUVParser::ReadBoundPair(TTokenSet set, std::int32_t &low, std::int32_t &high) {
  SkipTo(set + TTokenSet{tkPlus, tkMinus, tkIdentifier, tkInteger});
  const std::int32_t mark = Here();
  const TValueDescriptor lowValue = ParseConstIntegerExpression();
  SkipTo(set + TTokenSet{tkRange, tkPlus, tkMinus, tkIdentifier, tkInteger});
  Expect(tkRange);
  const TValueDescriptor highValue = ParseConstIntegerExpression();
  Truncate(mark);
  auto usable = [](const TValueDescriptor &v) {
    return v.IsConstant && v.ValueType && v.ValueType->Kind == tyInteger &&
           v.IntValue >= std::numeric_limits<std::int32_t>::min() &&
           v.IntValue <= std::numeric_limits<std::int32_t>::max();
  };
  if (!usable(lowValue) || !usable(highValue) || highValue.IntValue < lowValue.IntValue) return false;
  low = static_cast<std::int32_t>(lowValue.IntValue);
  high = static_cast<std::int32_t>(highValue.IntValue);
  return true;
}

// array-type -> ARRAY [ low .. high {, low .. high} ] OF type
TTypeDescriptor *TUVParser::ParseArrayType(TTokenSet set) {
  TTypeDescriptor *outer = SymbolTable->NewType(tyArray);
  outer->Size = -1;
  TTypeDescriptor *inner = outer;
  auto fail = [&]() -> TTypeDescriptor * {
    Report(svError, ekSyntaxError, "Syntax error in array type declaration");
    SymbolTable->FreeType(outer);
    return nullptr;
  };
  Expect(tkARRAY);
  SkipTo(set + TTokenSet{tkLBracket, tkPlus, tkMinus, tkIdentifier, tkInteger});
  Expect(tkLBracket);
  if (!ReadBoundPair(set, outer->LowBound, outer->HighBound)) return fail();
  while (Kind() == tkComma) {
    Expect(tkComma);
    std::int32_t low = 0, high = 0;
    if (!ReadBoundPair(set, low, high)) return fail();
    TTypeDescriptor *next = SymbolTable->NewType(tyArray);
    next->Size = -1;
    next->LowBound = low;
    next->HighBound = high;
    inner->ElementType = next;
    inner = next;
  }
  SkipTo(set + TTokenSet{tkRBracket, tkCaret, tkARRAY, tkOF, tkRECORD, tkIdentifier});
  Expect(tkRBracket);
  SkipTo(set + TTokenSet{tkCaret, tkARRAY, tkOF, tkRECORD, tkIdentifier});
  Expect(tkOF);
  TTypeDescriptor *element = ParseType(set, false);
  if (!element) return fail();
  inner->ElementType = element;
  if (element->Name.empty()) element->RefCount = 0;
  SymbolTable->CalcTypeSize(outer);
  return outer;
}

// record-type -> RECORD [field-list {; field-list}] [;] END
TTypeDescriptor *TUVParser::ParseRecordType(TTokenSet set) {
  Expect(tkRECORD);
  TTypeDescriptor *record = SymbolTable->NewType(tyRecord);
  record->Size = -1;
  SkipTo(set + TTokenSet{tkSemicolon, tkEND, tkIdentifier});
  TRecordDescriptor *last = nullptr;
  for (;;) {
    if (Kind() == tkEND) break;
    TRecordDescriptor *fields = ParseFieldList(set + TTokenSet{tkSemicolon, tkEND});
    if (fields) {
      if (last)
        last->Next = fields;
      else
        record->Fields = fields;
      last = fields;
      while (last->Next) last = last->Next;
    }
    SkipTo(set + TTokenSet{tkSemicolon, tkEND, tkIdentifier});
    if (Kind() == tkSemicolon)
      Expect(tkSemicolon);
    else
      break;
  }
  Expect(tkEND);
  bool repeated = false;
  for (const TRecordDescriptor *a = record->Fields; a && !repeated; a = a->Next)
    for (const TRecordDescriptor *b = a->Next; b; b = b->Next)
      if (a->Name == b->Name) {
        repeated = true;
        break;
      }
  if (repeated) Report(svError, ekSyntaxError, "Names of fields in record cannot repeat");
  SymbolTable->CalcTypeSize(record);
  return record;
}

// field-list -> ident {, ident} : type
TRecordDescriptor *TUVParser::ParseFieldList(TTokenSet set) {
  const TTokenSet afterName = set + TTokenSet{tkColon, tkComma, tkCaret, tkARRAY, tkRECORD, tkIdentifier};
  SkipTo(set + tkIdentifier);
  if (Kind() != tkIdentifier) {
    Report(svError, ekSyntaxError, "Identifier expected");
    return nullptr;
  }
  TRecordDescriptor *first = SymbolTable->NewField(TUSymbolTable::UpperCase(Spelled(Token().Text)), nullptr);
  first->Offset = -1;
  TRecordDescriptor *last = first;
  Advance();
  SkipTo(afterName);
  while (Kind() == tkComma) {
    Expect(tkComma);
    if (Kind() != tkIdentifier) {
      Report(svError, ekSyntaxError, "Identifier expected");
      SymbolTable->FreeFieldList(first);
      return nullptr;
    }
    last->Next = SymbolTable->NewField(TUSymbolTable::UpperCase(Spelled(Token().Text)), nullptr);
    last = last->Next;
    last->Offset = -1;
    Advance();
    SkipTo(afterName);
  }
  Expect(tkColon);
  TTypeDescriptor *type = ParseType(set, false);
  if (!type) {
    Report(svError, ekSyntaxError, "Syntax error in record field declaration");
    SymbolTable->FreeFieldList(first);
    return nullptr;
  }
  for (TRecordDescriptor *f = first; f; f = f->Next) {
    f->FieldType = type;
    ++type->RefCount;
  }
  return first;
}

// var-section -> VAR var-declaration ; {var-declaration ;}
void TUVParser::ParseVarSection(TTokenSet set) {
  Expect(tkVAR);
  SkipTo(set + tkIdentifier);
  if (Kind() != tkIdentifier) {
    Report(svError, ekSyntaxError, "Syntax error in variable declaration section");
    return;
  }
  while (Kind() == tkIdentifier) {
    ParseVarDeclaration(set + tkSemicolon);
    if (Kind() != tkSemicolon) return;
    Advance();
  }
  PutBack();
}

// var-declaration -> ident {, ident} : type
void TUVParser::ParseVarDeclaration(TTokenSet set) {
  if (Kind() != tkIdentifier) {
    Report(svError, ekSyntaxError, "Syntax error in variable declaration");
    return;
  }
  const TTokenSet afterName = set + TTokenSet{tkColon, tkComma, tkCaret, tkARRAY, tkRECORD, tkIdentifier};
  std::vector<std::string> names{Spelled(Token().Text)};
  Advance();
  SkipTo(afterName);
  while (Kind() == tkComma) {
    Expect(tkComma);
    SkipTo(set + tkIdentifier);
    if (Kind() != tkIdentifier) {
      Report(svError, ekSyntaxError, "Syntax error in variable declaration");
      return;
    }
    names.push_back(Spelled(Token().Text));
    Advance();
    SkipTo(afterName);
  }
  Expect(tkColon);
  TTypeDescriptor *type = ParseType(set, false);
  if (!type) {
    Report(svError, ekSyntaxError, "Syntax error in variable declaration");
    return;
  }
  for (const std::string &name : names) {
    if (SymbolTable->DeclareVariable(name, type))
      ++type->RefCount;
    else
      Report(svError, ekIdentifierRedeclared, "Identifier redeclared: '" + name + "'");
  }
}

// Statements and control flow: compound statement, label prefixes, assignment, procedure-call
// statements, GOTO, IF, WHILE, REPEAT and FOR. Jumps carry label numbers; the driver turns them
// into instruction indexes after parsing. Constant conditions drop the code that cannot run.
#include "UAssert.h"
#include "UVParser.h"

namespace {

// Tokens that can begin a statement other than the empty one.
constexpr TTokenSet StatementStarters{tkBEGIN, tkIF, tkFOR, tkWHILE, tkREPEAT, tkGOTO,
                                      tkIdentifier};

// Saves the loop context (BREAK and CONTINUE targets) and puts it back on every way out.
class TLoopContext {
 public:
  TLoopContext(std::int32_t &breakLabel, std::int32_t &continueLabel)
      : BreakRef(breakLabel), ContinueRef(continueLabel), Break(breakLabel),
        Continue(continueLabel) {}
  ~TLoopContext() {
    BreakRef = Break;
    ContinueRef = Continue;
  }
  TLoopContext(const TLoopContext &) = delete;
  TLoopContext &operator=(const TLoopContext &) = delete;

 private:
  std::int32_t &BreakRef;
  std::int32_t &ContinueRef;
  std::int32_t Break;
  std::int32_t Continue;
};

bool IsBoolean(const TValueDescriptor &value) { return IsKind(value.ValueType, tyBoolean); }
bool IsInteger(const TValueDescriptor &value) { return IsKind(value.ValueType, tyInteger); }

// After the code of a statement that can never run was taken out again (truncated to mark),
// a label placed inside it would point into whatever code comes next at that index; such a
// label denotes the position where the dropped code began.
void MoveLabelsIntoDroppedCode(TUSymbolTable &table, std::int32_t mark) {
  for (std::int32_t label = 0; label < table.GetLabelCount(); ++label)
    if (table.GetLabelAddress(label) > mark) table.SetLabelAddress(label, mark);
}

}  // namespace

// compound -> BEGIN [statement {; statement}] END
void TUVParser::ParseCompoundStatement(TTokenSet set) {
  SkipTo(set + TTokenSet{tkBEGIN, tkEND});
  Expect(tkBEGIN);
  const TTokenSet inner = set + TTokenSet{tkSemicolon, tkEND};
  if (Kind() != tkEND) {
    ParseStatement(inner);
    // FOR and GOTO are left out on purpose: without a ";" before them the sequence ends.
    constexpr TTokenSet more{tkSemicolon, tkBEGIN, tkIF, tkWHILE, tkREPEAT, tkIdentifier};
    while (more.Contains(Kind())) {
      Expect(tkSemicolon);
      ParseStatement(inner);
    }
  }
  SkipTo(set + tkEND);
  Expect(tkEND);
}

// statement -> {label :} [assignment | call | goto | structured]
void TUVParser::ParseStatement(TTokenSet set) {
  TNestingGuard guard(*this);
  while (Kind() == tkIdentifier) {
    const std::string name = Token().Text;
    Advance();
    if (Kind() != tkColon) {
      PutBack();
      break;
    }
    Advance();
    std::int32_t label = -1;
    if (SymbolTable->FindLabel(name, label)) {
      if (!SymbolTable->SetLabelAddress(label, Here()))
        Report(svError, ekLabelRedefined, "Label already defined: '" + name + "'");
      continue;
    }
    Report(svWarning, ekLabelNotDeclared, "Label '" + name + "' not declared");
    if (!SymbolTable->DeclareLabel(name)) {
      // The name stands for something else in this scope: it cannot become a label.
      Report(svError, ekIdentifierRedeclared, "Identifier redeclared: '" + name + "'");
      continue;
    }
    const bool found = SymbolTable->FindLabel(name, label);
    UV_ASSERT(found, "UVParser", "Label declared but not found");
    SymbolTable->SetLabelAddress(label, Here());
  }

  if (StatementStarters.Contains(Kind())) NoteStatement();
  switch (Kind()) {
    case tkGOTO: ParseGotoStatement(set); return;
    case tkBEGIN:
    case tkIF:
    case tkFOR:
    case tkWHILE:
    case tkREPEAT: ParseStructuredStatement(set); return;
    case tkIdentifier: break;
    default: return;  // the empty statement
  }

  Advance();
  const TTokenKind next = Kind();
  PutBack();
  constexpr TTokenSet callFollowers{tkSemicolon, tkLParen, tkEND, tkELSE, tkUNTIL};
  if (!callFollowers.Contains(next)) {
    ParseAssignment();
    return;
  }
  std::int32_t resultSize = 0;
  const TValueDescriptor result = CallProcedure(set, resultSize);
  if (resultSize != 0) {
    EmitInt(ocIncSP, -resultSize);
  } else if (TTypeDescriptor *type = ResolveType(result.ValueType); type && type->Size > 0) {
    // A built-in function (RANDOM, ODD ...) used as a statement: its value is dropped too,
    // or it would stay on the stack for good (and under a FOR loop take the limit's place).
    EmitInt(ocIncSP, -type->Size);
  }
}

// assignment -> designator := expression
void TUVParser::ParseAssignment() {
  TTypeDescriptor *target = ParseDesignator();
  Expect(tkAssign);
  const TValueDescriptor value = ParseExpression();
  if (!value.ValueType) {
    Report(svError, ekBadAssignment, "Illegal assignment");
    return;
  }
  std::int32_t size = ResolveType(value.ValueType)->Size;
  if (!TUSymbolTable::SameType(value.ValueType, target)) {
    if (!target) {
      Report(svWarning, ekBadAssignment, "Type of left part of an assignment is undefined");
    } else if (ResolveType(target)->Size == size) {
      Report(svWarning, ekBadAssignment,
             "The type of the left part of an assignment differs from the type of the "
             "expression to be assigned");
    } else if (IsKind(target, tyReal) && IsKind(value.ValueType, tyInteger)) {
      Report(svHint, ekAutomaticTypeConversion, "Integer converted to Real");
      EmitOp(ocIntToReal);
      size = ResolveType(target)->Size;
    } else {
      Report(svError, ekBadAssignment, "Illegal assignment");
      return;
    }
  }
  EmitInt(ocSto, size);
}

// goto -> GOTO label
void TUVParser::ParseGotoStatement(TTokenSet set) {
  Expect(tkGOTO);
  SkipTo(set + tkIdentifier);
  if (Kind() != tkIdentifier) {
    Report(svError, ekTokenSkipped, "Incorrect GOTO-statement");
    return;
  }
  const std::string name = Token().Text;
  Advance();
  std::int32_t label = -1;
  if (SymbolTable->FindLabel(name, label))
    EmitInt(ocJump, label);
  else
    Report(svError, ekUndeclaredIdentifier, "Label not declared: '" + name + "'");
}

void TUVParser::ParseStructuredStatement(TTokenSet set) {
  SkipTo(set + TTokenSet{tkBEGIN, tkIF, tkFOR, tkWHILE, tkREPEAT});
  switch (Kind()) {
    case tkBEGIN: ParseCompoundStatement(set); break;
    case tkIF: ParseIfStatement(set); break;
    case tkFOR: ParseForStatement(set); break;
    case tkWHILE: ParseWhileStatement(set); break;
    case tkREPEAT: ParseRepeatStatement(set); break;
    default: Report(svError, ekTokenSkipped, "Illegal statement"); break;
  }
}

// if -> IF expression THEN statement [ELSE statement]
void TUVParser::ParseIfStatement(TTokenSet set) {
  const std::int32_t ifLine = Token().Line;
  Expect(tkIF);
  const std::int32_t mark = Here();
  const TValueDescriptor condition = ParseExpression();
  if (!IsBoolean(condition)) Report(svError, ekIncorrectType, "Boolean type expected");
  SkipTo(set + TTokenSet{tkBEGIN, tkIF, tkTHEN, tkWHILE, tkREPEAT, tkGOTO, tkIdentifier});
  Expect(tkTHEN);

  if (condition.IsConstant) {
    Truncate(mark);
    if (condition.BoolValue != 0) {
      ParseStatement(set + tkELSE);
      if (Kind() == tkELSE) {
        const std::int32_t deadStart = Here();
        Advance();
        ParseStatement(set);
        Truncate(deadStart);
        MoveLabelsIntoDroppedCode(*SymbolTable, deadStart);
      }
    } else {
      const std::int32_t deadStart = Here();
      ParseStatement(set + tkELSE);
      Truncate(deadStart);
      MoveLabelsIntoDroppedCode(*SymbolTable, deadStart);
      if (Kind() == tkELSE) {
        Advance();
        ParseStatement(set);
      }
    }
    return;
  }

  const std::int32_t elseLabel = SymbolTable->NewLabel();
  EmitInt(ocJifF, elseLabel);
  ParseStatement(set + tkELSE);
  if (Kind() == tkELSE) {
    const std::int32_t endLabel = SymbolTable->NewLabel();
    NoteGlue(ifLine);  // the jump over the ELSE part
    EmitInt(ocJump, endLabel);
    SymbolTable->SetLabelAddress(elseLabel, Here());
    Advance();
    ParseStatement(set);
    SymbolTable->SetLabelAddress(endLabel, Here());
  } else {
    SymbolTable->SetLabelAddress(elseLabel, Here());
  }
}

// while -> WHILE expression DO statement
void TUVParser::ParseWhileStatement(TTokenSet set) {
  const std::int32_t whileLine = Token().Line;
  Expect(tkWHILE);
  TLoopContext saved(BreakLabel, ContinueLabel);
  ContinueLabel = SymbolTable->NewLabel();
  BreakLabel = SymbolTable->NewLabel();

  const std::int32_t mark = Here();
  SymbolTable->SetLabelAddress(ContinueLabel, mark);
  const TValueDescriptor condition = ParseExpression();
  if (!IsBoolean(condition)) Report(svError, ekIncorrectType, "Boolean type expected");
  SkipTo(set + TTokenSet{tkBEGIN, tkIF, tkDO, tkWHILE, tkREPEAT, tkGOTO, tkIdentifier});
  Expect(tkDO);

  if (condition.IsConstant) {
    Truncate(mark);
    if (condition.BoolValue != 0) {
      ParseStatement(set);
      NoteGlue(whileLine);  // the jump back to the test
      EmitInt(ocJump, ContinueLabel);
    } else {
      const std::int32_t deadStart = Here();
      ParseStatement(set);
      Truncate(deadStart);
      MoveLabelsIntoDroppedCode(*SymbolTable, deadStart);
    }
  } else {
    EmitInt(ocJifF, BreakLabel);
    ParseStatement(set);
    NoteGlue(whileLine);  // the jump back to the test
    EmitInt(ocJump, ContinueLabel);
  }
  SymbolTable->SetLabelAddress(BreakLabel, Here());
}

// repeat -> REPEAT [statement {; statement}] UNTIL expression
void TUVParser::ParseRepeatStatement(TTokenSet set) {
  Expect(tkREPEAT);
  TLoopContext saved(BreakLabel, ContinueLabel);
  ContinueLabel = SymbolTable->NewLabel();
  BreakLabel = SymbolTable->NewLabel();
  SymbolTable->SetLabelAddress(ContinueLabel, Here());

  if (Kind() != tkUNTIL) {
    ParseStatement(set);
    SkipTo(set + TTokenSet{tkSemicolon, tkBEGIN, tkIF, tkREPEAT, tkUNTIL, tkGOTO, tkIdentifier});
    // Every round consumes a ";" or a statement's first token; on any other token (END, the
    // end of the file ...) the sequence ends and Expect(UNTIL) reports it.
    while (Kind() != tkUNTIL &&
           (Kind() == tkSemicolon || StatementStarters.Contains(Kind()))) {
      Expect(tkSemicolon);
      ParseStatement(set);
    }
  }
  NoteStatement();  // the condition, at the line of UNTIL
  Expect(tkUNTIL);

  const std::int32_t mark = Here();
  const TValueDescriptor condition = ParseExpression();
  if (!IsBoolean(condition)) {
    Report(svError, ekIncorrectType, "Boolean type expected");
  } else if (condition.IsConstant) {
    Truncate(mark);
    if (condition.BoolValue == 0) EmitInt(ocJump, ContinueLabel);
  } else {
    EmitInt(ocJifF, ContinueLabel);
  }
  SymbolTable->SetLabelAddress(BreakLabel, Here());
}

// for -> FOR ident := expression (TO | DOWNTO) expression DO statement
void TUVParser::ParseForStatement(TTokenSet set) {
  const std::int32_t forLine = Token().Line;
  Expect(tkFOR);
  TLoopContext saved(BreakLabel, ContinueLabel);
  ContinueLabel = SymbolTable->NewLabel();
  BreakLabel = SymbolTable->NewLabel();

  SkipTo(set + TTokenSet{tkPlus, tkMinus, tkIdentifier, tkInteger, tkReal});
  if (Kind() != tkIdentifier) {
    Report(svError, ekTokenSkipped, "Incorrect FOR-statement");
    return;
  }
  const std::string name = Token().Text;
  Advance();
  TVariableDescriptor var;
  if (!SymbolTable->FindVariable(name, var)) {
    Report(svError, ekUndeclaredIdentifier, "Undeclared identifier: '" + name + "'");
    return;
  }
  if (!IsKind(var.VarType, tyInteger)) {
    Report(svError, ekIncorrectType, "Integer type expected");
    return;
  }
  EmitVariableAddress(var);

  SkipTo(set + TTokenSet{tkAssign, tkPlus, tkMinus, tkIdentifier, tkInteger, tkReal});
  Expect(tkAssign);
  if (!IsInteger(ParseExpression())) {
    Report(svError, ekIncorrectType, "Integer type expected");
    return;
  }
  EmitInt(ocSto, 4);

  SkipTo(set + TTokenSet{tkPlus, tkMinus, tkTO, tkDOWNTO, tkIdentifier, tkInteger, tkReal});
  bool down = false;
  if (Kind() == tkTO || Kind() == tkDOWNTO) {
    down = Kind() == tkDOWNTO;
    Advance();
  } else {
    Expect(tkTO);
  }
  // The limit stays on the stack for the whole loop.
  if (!IsInteger(ParseExpression())) {
    Report(svError, ekIncorrectType, "Integer type expected");
    return;
  }
  SkipTo(set + TTokenSet{tkBEGIN, tkIF, tkFOR, tkDO, tkWHILE, tkREPEAT, tkGOTO, tkIdentifier});
  Expect(tkDO);

  const std::int32_t testLabel = SymbolTable->NewLabel();
  SymbolTable->SetLabelAddress(testLabel, Here());
  EmitInt(ocDup, 4);
  EmitVariableAddress(var);
  EmitInt(ocDeref, 4);
  EmitOp(down ? ocLEInt : ocGEInt);
  EmitInt(ocJifF, BreakLabel);

  ParseStatement(set);

  // The counter's step and the limit's release belong to the FOR again.
  Program->Statements().AddStatement(Here(), forLine);
  SymbolTable->SetLabelAddress(ContinueLabel, Here());
  EmitVariableAddress(var);
  EmitVariableAddress(var);
  EmitInt(ocDeref, 4);
  EmitInt(ocIncInt, down ? -1 : 1);
  EmitInt(ocSto, 4);
  EmitInt(ocJump, testLabel);

  // BREAK lands before the limit is dropped.
  SymbolTable->SetLabelAddress(BreakLabel, Here());
  EmitInt(ocIncSP, -4);
}

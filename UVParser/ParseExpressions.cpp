// Expressions: the four precedence levels, factors, designators with their address code,
// indexes, constant expressions and type identifiers. Constant operands fold as they go.
#include "UAssert.h"
#include "UVParser.h"

namespace {
const TTokenSet RelationalOperators{tkEqual, tkGreater, tkLess, tkGreaterEqual, tkLessEqual, tkNotEqual};
const TTokenSet AddingOperators{tkPlus, tkMinus, tkOR, tkXOR};
const TTokenSet MultiplyingOperators{tkStar, tkSlash, tkDIV, tkMOD, tkAND, tkSHL, tkSHR};
// Where a call inside an expression stops skipping.
const TTokenSet CallFollowers{tkSemicolon, tkRBracket, tkRParen, tkPlus,  tkMinus, tkStar,
                              tkSlash,     tkOR,       tkXOR,     tkDIV,   tkMOD,   tkAND,
                              tkSHL,       tkSHR,      tkEND,     tkUNTIL};
}  // namespace

// expression -> simple-expression {relop simple-expression}
TValueDescriptor TUVParser::ParseExpression(TTypeDescriptor *typeHint) {
  TNestingGuard guard(*this);
  bool stopFlag = false;
  const std::int32_t mark = Here();
  TValueDescriptor left = ParseSimpleExpression(typeHint, stopFlag);
  if (stopFlag) return left;
  while (RelationalOperators.Contains(Kind())) {
    const TTokenKind op = ParseRelationalOperator();
    TValueDescriptor right = ParseSimpleExpression(nullptr, stopFlag);
    GenerateRelation(left, right, op);
    if (left.IsConstant) {
      UV_ASSERT(IsKind(left.ValueType, tyBoolean), "UVParser", "Relation without a Boolean result");
      Truncate(mark);
      EmitBool(ocPushBool, left.BoolValue != 0);
    }
  }
  return left;
}

// simple-expression -> [+|-] term {addop term}
TValueDescriptor TUVParser::ParseSimpleExpression(TTypeDescriptor *typeHint, bool &stopFlag) {
  TTokenKind sign = tkErroneus;
  if (Kind() == tkPlus || Kind() == tkMinus) {
    sign = Kind();
    Advance();
    typeHint = nullptr;
  }
  const std::int32_t mark = Here();
  TValueDescriptor left = ParseTerm(typeHint, stopFlag);
  if (sign != tkErroneus) {
    if (IsKind(left.ValueType, tyInteger)) {
      if (sign == tkMinus) {
        left.IntValue = static_cast<std::int64_t>(0u - static_cast<std::uint64_t>(left.IntValue));
        EmitOp(ocNegInt);
      }
    } else if (IsKind(left.ValueType, tyReal)) {
      if (sign == tkMinus) {
        left.RealValue = -left.RealValue;
        EmitOp(ocNegReal);
      }
    } else {
      Report(svError, ekIncorrectType, "Can't use - or + with this type");
    }
  }
  if (stopFlag) return left;
  while (AddingOperators.Contains(Kind())) {
    const TTokenKind op = ParseAddingOperator();
    TValueDescriptor right = ParseTerm(nullptr, stopFlag);
    GenerateAddition(left, right, op);
    if (left.IsConstant) FoldTo(mark, left);
  }
  return left;
}

// term -> factor {mulop factor}
TValueDescriptor TUVParser::ParseTerm(TTypeDescriptor *typeHint, bool &stopFlag) {
  const std::int32_t mark = Here();
  TValueDescriptor left = ParseFactor(typeHint, stopFlag);
  if (stopFlag) return left;
  while (MultiplyingOperators.Contains(Kind())) {
    const TTokenKind op = ParseMultiplyingOperator();
    TValueDescriptor right = ParseFactor(nullptr, stopFlag);
    GenerateMultiplication(left, right, op);
    if (left.IsConstant) FoldTo(mark, left);
  }
  return left;
}

// factor -> ( expression ) | @ designator | NOT factor | NIL | literal | constant
//         | call | type-conversion | variable
TValueDescriptor TUVParser::ParseFactor(TTypeDescriptor *typeHint, bool &stopFlag) {
  TNestingGuard guard(*this);
  stopFlag = false;
  TValueDescriptor result;
  switch (Kind()) {
    case tkLParen:
      Expect(tkLParen);
      result = ParseExpression();
      Expect(tkRParen);
      return result;
    case tkAt: {
      Advance();
      TTypeDescriptor *type = ParseDesignator();
      // The address is always 4 bytes; a variable of another size gives an untyped pointer.
      if (type && ResolveType(type)->Size != 4) type = PredeclaredType("Pointer");
      result.ValueType = type;
      return result;
    }
    case tkNOT:
      Expect(tkNOT);
      result = ParseFactor(nullptr, stopFlag);
      if (IsKind(result.ValueType, tyBoolean)) {
        EmitOp(ocNotBool);
        result.BoolValue = result.BoolValue ? 0 : 1;
      } else if (IsKind(result.ValueType, tyInteger)) {
        EmitOp(ocNotInt);
        result.IntValue = ~result.IntValue;
      } else {
        Report(svError, ekIncorrectType, "Wrong type of argument for NOT operation");
      }
      return result;
    case tkNIL:
      result.ValueType = PredeclaredType("Pointer");
      result.IsConstant = true;
      result.IntValue = 0;
      EmitInt(ocPushInt, 0);
      Advance();
      return result;
    case tkInteger: {
      const std::int64_t value = Token().IntValue;
      result.ValueType = PredeclaredType("Integer");
      if (value < INT32_MIN || value > INT32_MAX) {
        Report(svError, ekIntegerOutOfRange, "Integer out of range");
      } else {
        result.IsConstant = true;
        result.IntValue = value;
        EmitInt(ocPushInt, static_cast<std::int32_t>(value));
      }
      Advance();
      return result;
    }
    case tkReal:
      result.ValueType = PredeclaredType("Real");
      result.IsConstant = true;
      result.RealValue = Token().RealValue;
      EmitReal(ocPushReal, result.RealValue);
      Advance();
      return result;
    case tkBoolean:
      result.ValueType = PredeclaredType("Boolean");
      result.IsConstant = true;
      result.BoolValue = Token().BoolValue ? 1 : 0;
      EmitBool(ocPushBool, result.BoolValue != 0);
      Advance();
      return result;
    case tkString:
      result.ValueType = PredeclaredType("String");
      result.IsConstant = true;
      result.StrValue = Token().Text;
      EmitStr(ocPushStr, result.StrValue);
      Advance();
      return result;
    case tkIdentifier:
      break;
    default:
      Report(svError, ekSyntaxError, "Bad factor");
      return result;
  }

  const std::string name = Token().Text;
  if (SymbolTable->FindConstant(name, result)) {
    Advance();
    EmitConstant(result);
    return result;
  }
  TProcedureDescriptor *proc = nullptr;
  TTypeDescriptor *type = nullptr;
  if (SymbolTable->FindProcedure(name, proc) || SymbolTable->FindType(name, type)) {
    std::int32_t resultSize = 0;
    result = CallProcedure(CallFollowers, resultSize);
    if (!result.ValueType) Report(svError, ekIncorrectType, "Procedures do not return values");
    return result;
  }
  type = ParseDesignator();
  if (type) {
    result.ValueType = type;
    EmitInt(ocDeref, ResolveType(type)->Size);
  } else if (typeHint) {
    result.ValueType = typeHint;
    stopFlag = true;
    Report(svHint, ekAutomaticTypeConversion, "Conversion from unknown type");
    EmitInt(ocDeref, ResolveType(typeHint)->Size);
  } else {
    Report(svError, ekIncorrectType, "Wrong type");
  }
  return result;
}

TTokenKind TUVParser::ParseRelationalOperator() {
  const TTokenKind op = Kind();
  Advance();
  if (RelationalOperators.Contains(op)) return op;
  Report(svError, ekSyntaxError, "Operator expected: > < >= <= <> =");
  return tkErroneus;
}

TTokenKind TUVParser::ParseAddingOperator() {
  const TTokenKind op = Kind();
  Advance();
  if (AddingOperators.Contains(op)) return op;
  Report(svError, ekSyntaxError, "Operator expected: + - OR XOR");
  return tkErroneus;
}

TTokenKind TUVParser::ParseMultiplyingOperator() {
  const TTokenKind op = Kind();
  Advance();
  if (MultiplyingOperators.Contains(op)) return op;
  Report(svError, ekSyntaxError, "Operator expected: * / DIV MOD AND SHL SHR");
  return tkErroneus;
}

// designator -> ident {^ | . ident | [ expression {, expression} ]}
TTypeDescriptor *TUVParser::ParseDesignator() {
  if (Kind() != tkIdentifier) {
    Report(svError, ekSyntaxError, "Identifier expected");
    return nullptr;
  }
  const std::string name = Token().Text;
  Advance();
  TVariableDescriptor var;
  if (!SymbolTable->FindVariable(name, var)) {
    Report(svError, ekUndeclaredIdentifier, "Undeclared variable: '" + name + "'");
    return nullptr;
  }
  TTypeDescriptor *type = var.VarType;
  EmitVariableAddress(var);
  for (;;) {
    if (Kind() == tkCaret) {
      Advance();
      if (IsKind(type, tyPointer)) {
        EmitInt(ocDeref, 4);
        type = ResolveType(ResolveType(type)->Target);
      } else {
        Report(svError, ekSyntaxError, "Can't dereference variable of this type");
      }
    } else if (Kind() == tkPeriod) {
      Advance();
      if (Kind() != tkIdentifier) {
        Report(svError, ekSyntaxError, "Identifier expected");
        continue;
      }
      const std::string fieldName = Token().Text;
      TTypeDescriptor *record = ResolveType(type);
      if (!record || record->Kind != tyRecord || !record->Fields) {
        Report(svError, ekSyntaxError, "Not a record type");
      } else {
        const std::string upper = TUSymbolTable::UpperCase(fieldName);
        const TRecordDescriptor *field = record->Fields;
        while (field && field->Name != upper) field = field->Next;
        if (field) {
          EmitInt(ocIncInt, field->Offset);
          type = field->FieldType;
        } else {
          Report(svError, ekSyntaxError, "Undeclared identifier: '" + fieldName + "'");
        }
      }
      Advance();
    } else if (Kind() == tkLBracket) {
      Advance();
      ParseIndex(type);
      while (Kind() == tkComma) {
        Advance();
        ParseIndex(type);
      }
      Expect(tkRBracket);
    } else {
      return type;
    }
  }
}

// Adds the offset of the indexed element to the address on the stack.
void TUVParser::ParseIndex(TTypeDescriptor *&type) {
  const std::int32_t mark = Here();
  const TValueDescriptor index = ParseExpression();
  if (!IsKind(index.ValueType, tyInteger)) Report(svError, ekIncorrectType, "Type error");
  TTypeDescriptor *array = ResolveType(type);
  if (!array || array->Kind != tyArray) {
    Report(svError, ekIncorrectType, "Type error");
    return;
  }
  const std::uint32_t elementSize =
      static_cast<std::uint32_t>(array->ElementType ? ResolveType(array->ElementType)->Size : 0);
  const std::uint32_t low = static_cast<std::uint32_t>(array->LowBound);
  if (index.IsConstant) {
    Truncate(mark);
    const std::uint32_t offset = (static_cast<std::uint32_t>(Low32(index.IntValue)) - low) * elementSize;
    EmitInt(ocIncInt, static_cast<std::int32_t>(offset));
  } else {
    EmitInt(ocIncInt, static_cast<std::int32_t>(0u - low));
    EmitInt(ocPushInt, static_cast<std::int32_t>(elementSize));
    EmitOp(ocMulInt);
    EmitOp(ocAddInt);
  }
  type = array->ElementType;
}

// Pushes the address of a variable, following static links to its frame.
void TUVParser::EmitVariableAddress(const TVariableDescriptor &var) {
  const std::int32_t steps = SymbolTable->GetScopeDepth() - var.Level;
  UV_ASSERT(steps >= 0, "UVParser", "Variable of an inner scope addressed");
  EmitOp(ocPushMP);
  for (std::int32_t i = 0; i < steps; ++i) EmitInt(ocDeref, 4);
  EmitInt(ocIncInt, var.Address);
  if (!var.ByValue) EmitInt(ocDeref, 4);
}

TValueDescriptor TUVParser::ParseConstantExpression() {
  TValueDescriptor value = ParseExpression();
  if (!value.IsConstant)
    Report(svError, ekConstantExpressionExpected, "Constant expression expected");
  return value;
}

TValueDescriptor TUVParser::ParseConstIntegerExpression() {
  TValueDescriptor value = ParseExpression();
  if (!value.IsConstant || !IsKind(value.ValueType, tyInteger))
    Report(svError, ekConstantExpressionExpected, "Constant integer expression expected");
  return value;
}

// type-ident -> ident (aliases resolved)
TTypeDescriptor *TUVParser::ParseTypeIdentifier(TTokenSet set) {
  SkipTo(set + tkIdentifier);
  if (Kind() != tkIdentifier) {
    Report(svError, ekTokenSkipped, "Type identifier expected");
    return nullptr;
  }
  TTypeDescriptor *type = nullptr;
  SymbolTable->FindType(Token().Text, type);
  Advance();
  return ResolveType(type);
}

// The predeclared types and routines of the outermost scope, the code of every built-in call
// (folded when its argument is a constant) and type conversions written as T(expression).
#include <cmath>
#include <string>

#include "Arithmetic.h"
#include "FloatToStr.h"
#include "UVParser.h"

namespace {

enum TBuiltIn {
  biSizeOf, biExit, biBreak, biContinue, biHalt, biRead, biReadLn, biSin, biCos, biArcTan,
  biRound, biRandom, biInc, biDec, biIntToStr, biOdd, biFloatToStr, biWrite, biWriteLn,
  biCount
};

// One routine of the table: its parameter (none when ParmType is nullptr) and the result type
// entered in its descriptor.
struct TBuiltInEntry {
  const char *Name;
  const char *ParmType;
  bool ByValue;
  const char *ReturnType;
};

// In the order the routines are entered.
constexpr TBuiltInEntry BuiltIns[biCount] = {
    {"SIZEOF", nullptr, true, nullptr},      {"EXIT", nullptr, true, nullptr},
    {"BREAK", nullptr, true, nullptr},       {"CONTINUE", nullptr, true, nullptr},
    {"HALT", nullptr, true, nullptr},        {"READ", nullptr, true, nullptr},
    {"READLN", nullptr, true, nullptr},      {"SIN", "Real", true, nullptr},
    {"COS", "Real", true, nullptr},          {"ARCTAN", "Real", true, nullptr},
    {"ROUND", "Real", true, nullptr},        {"RANDOM", "Integer", true, "Integer"},
    {"INC", "Integer", false, nullptr},      {"DEC", "Integer", false, nullptr},
    {"INTTOSTR", "Integer", true, "String"}, {"ODD", "Integer", true, "Boolean"},
    {"FLOATTOSTR", "Real", true, "String"},  {"WRITE", "String", true, nullptr},
    {"WRITELN", "String", true, nullptr},
};

TBuiltIn BuiltInOf(const TProcedureDescriptor *proc) {
  const std::string name = TUSymbolTable::UpperCase(proc->Name);
  for (int i = 0; i < biCount; ++i)
    if (name == BuiltIns[i].Name) return static_cast<TBuiltIn>(i);
  return biCount;
}

}  // namespace

std::vector<std::string> BuiltInRoutineNames() {
  std::vector<std::string> names;
  for (const TBuiltInEntry &entry : BuiltIns) names.emplace_back(entry.Name);
  return names;
}

void TUVParser::RegisterPredeclared() {
  SymbolTable->OpenScope();
  const struct {
    const char *Name;
    TTypeKind Kind;
  } types[] = {{"Integer", tyInteger},
               {"Real", tyReal},
               {"String", tyString},
               {"Boolean", tyBoolean},
               {"Pointer", tyPointer}};
  for (const auto &t : types) SymbolTable->DeclareType(SymbolTable->NewType(t.Kind, t.Name));

  for (const TBuiltInEntry &entry : BuiltIns) {
    TProcedureDescriptor *proc = SymbolTable->NewProcedure(entry.Name);
    proc->IsBuiltIn = true;
    proc->Level = SymbolTable->GetScopeDepth();
    proc->EntryLabel = 0;
    proc->ReturnType = entry.ReturnType ? PredeclaredType(entry.ReturnType) : nullptr;
    proc->Parameters = nullptr;
    proc->ParamSize = 0;
    if (entry.ParmType) {
      TTypeDescriptor *type = PredeclaredType(entry.ParmType);
      proc->Parameters = SymbolTable->NewParameter("", type, entry.ByValue);
      proc->ParamSize = entry.ByValue ? type->Size : 4;
    }
    SymbolTable->DeclareProcedure(proc);
  }
}

TValueDescriptor TUVParser::CallBuiltIn(TProcedureDescriptor *proc, std::int32_t &resultSize) {
  Advance();
  resultSize = 0;
  TValueDescriptor result;
  const std::int32_t start = Here();
  const TBuiltIn routine = BuiltInOf(proc);

  if (routine == biSizeOf) {
    if (Kind() == tkLParen)
      Advance();
    else
      Report(svError, ekIncorrectType, "Parameter expected");
    result.ValueType = PredeclaredType("Integer");
    result.IsConstant = true;
    if (Kind() == tkIdentifier) {
      TTypeDescriptor *type = nullptr;
      if (SymbolTable->FindType(Token().Text, type)) {
        Advance();
        result.IntValue = ResolveType(type)->Size;
      } else {
        type = ParseDesignator();
        Truncate(start);  // only the size counts, not the address code
        if (type)
          result.IntValue = ResolveType(type)->Size;
        else
          Report(svError, ekIncorrectType, "SizeOf not applicable to this operand");
      }
      EmitInt(ocPushInt, Low32(result.IntValue));
    } else {
      Report(svError, ekIncorrectType, "Parameter expected");
    }
    Expect(tkRParen);
    return result;
  }

  if (routine == biRead || routine == biReadLn) {
    // Address 0: the line is read and discarded.
    if (Kind() != tkLParen) {
      EmitInt(ocPushInt, 0);
      EmitOp(ocReadLn);
      return result;
    }
    Advance();
    if (Kind() == tkRParen) {
      EmitInt(ocPushInt, 0);
      EmitOp(ocReadLn);
      Advance();
      return result;
    }
    if (Kind() == tkIdentifier) {
      TTypeDescriptor *type = ResolveType(ParseDesignator());
      if (!type || (type->Kind != tyInteger && type->Kind != tyReal && type->Kind != tyString)) {
        Report(svError, ekIncorrectType, "Wrong type");
      } else {
        if (routine == biRead)
          Report(svError, ekUndeclaredIdentifier, "READ is not supported, use READLN instead");
        EmitOp(type->Kind == tyInteger ? ocReadLnInt
                                       : type->Kind == tyReal ? ocReadLnReal : ocReadLn);
      }
    } else {
      Report(svError, ekIncorrectType, "Parameter expected");
    }
    Expect(tkRParen);
    return result;
  }

  // The arguments, checked against the entered parameter like those of a declared routine.
  const TParmDescriptor *formal = proc->Parameters;
  TValueDescriptor argument;
  if (Kind() == tkLParen) {
    Expect(tkLParen);
    if (Kind() != tkRParen) {
      argument = ParseActualParameter(formal);
      while (Kind() == tkComma) {
        Expect(tkComma);
        ParseActualParameter(formal);
      }
    }
    Expect(tkRParen);
  }
  if (formal) {
    Report(svError, ekIncorrectType, "The numbers of actual and formal parameters differ");
    return result;
  }

  // Emits op and, for a constant argument, replaces the call by the push of the folded value.
  const auto realFunction = [&](TOpcode op, double (*f)(double)) {
    EmitOp(op);
    result.ValueType = PredeclaredType("Real");
    if (argument.IsConstant) {
      result.IsConstant = true;
      result.RealValue = f(argument.RealValue);
      Truncate(start);
      EmitReal(ocPushReal, result.RealValue);
    }
  };
  const auto stringFunction = [&](TOpcode op, const std::string &folded) {
    EmitOp(op);
    result.ValueType = PredeclaredType("String");
    if (argument.IsConstant) {
      result.IsConstant = true;
      result.StrValue = folded.substr(0, 255);
      Truncate(start);
      EmitStr(ocPushStr, result.StrValue);
    }
  };

  switch (routine) {
    case biSin: realFunction(ocSin, uvm::SinOf); break;
    case biCos: realFunction(ocCos, uvm::CosOf); break;
    case biArcTan: realFunction(ocArcTan, [](double x) { return std::atan(x); }); break;
    case biRound: {
      EmitOp(ocRound);
      result.ValueType = PredeclaredType("Integer");
      std::int64_t rounded = 0;
      if (argument.IsConstant && uvm::RoundToInt64(argument.RealValue, rounded)) {
        result.IsConstant = true;
        result.IntValue = rounded;
        Truncate(start);
        EmitInt(ocPushInt, Low32(rounded));
      }
      break;
    }
    case biIntToStr:
      stringFunction(ocIntToStr, argument.IsConstant ? std::to_string(argument.IntValue) : "");
      break;
    case biFloatToStr:
      stringFunction(ocFloatToStr, argument.IsConstant ? FloatToStr(argument.RealValue) : "");
      break;
    case biOdd:
      EmitOp(ocOdd);
      result.ValueType = PredeclaredType("Boolean");
      if (argument.IsConstant) {
        result.IsConstant = true;
        result.BoolValue = (static_cast<std::uint64_t>(argument.IntValue) & 1u) != 0 ? 1 : 0;
        Truncate(start);
        EmitBool(ocPushBool, result.BoolValue != 0);
      }
      break;
    case biWrite: EmitOp(ocWrite); break;
    case biWriteLn: EmitOp(ocWriteLn); break;
    case biExit: EmitOp(ocRet); break;
    case biHalt: EmitOp(ocHalt); break;
    case biInc:
    case biDec:
      EmitInt(ocDup, 4);
      EmitInt(ocDeref, 4);
      EmitInt(ocIncInt, routine == biInc ? 1 : -1);
      EmitInt(ocSto, 4);
      break;
    case biRandom:
      EmitOp(ocRandom);
      result.ValueType = PredeclaredType("Integer");
      break;
    case biBreak:
      if (BreakLabel == -1)
        Report(svError, ekSyntaxError, "Cannot BREAK here");
      else
        EmitInt(ocJump, BreakLabel);
      break;
    case biContinue:
      if (ContinueLabel == -1)
        Report(svError, ekSyntaxError, "Cannot CONTINUE here");
      else
        EmitInt(ocJump, ContinueLabel);
      break;
    default: break;
  }
  return result;
}

// conversion -> type-identifier ( expression )
bool TUVParser::ParseTypeConversion(std::int32_t &resultSize, TValueDescriptor &result) {
  resultSize = 0;
  result = TValueDescriptor();
  TTypeDescriptor *target = nullptr;
  if (!SymbolTable->FindType(Token().Text, target)) {
    Advance();
    return false;
  }
  target = ResolveType(target);  // an alias converts like the type it names
  Advance();
  if (Kind() != tkLParen) {
    Report(svError, ekSyntaxError, "Parameter expected for a type-conversion procedure");
    return true;
  }
  Advance();
  const TValueDescriptor value = ParseExpression(target);
  TTypeDescriptor *source = ResolveType(value.ValueType);
  if (!source) {
    Report(svError, ekIncompatibleTypes, "Incompatible types");
  } else if (source->Kind == tyInteger && target->Kind == tyReal) {
    EmitOp(ocIntToReal);
    result.ValueType = target;
    if (value.IsConstant) {
      result.IsConstant = true;
      result.RealValue = static_cast<double>(value.IntValue);
    }
    resultSize = 8;
  } else if (source->Size == target->Size) {
    result.ValueType = target;
    resultSize = target->Size;
  } else {
    Report(svError, ekIncompatibleTypes, "Incompatible types");
  }
  if (Kind() != tkRParen) {
    Report(svError, ekSyntaxError, ") expected");
    int depth = 0;
    while (Kind() != tkEOF && !(Kind() == tkRParen && depth == 0)) {
      if (Kind() == tkLParen) ++depth;
      if (Kind() == tkRParen) --depth;
      Advance();
    }
  }
  Advance();
  return true;
}

// Code and constant folding of the binary operators: the type rules of each operator, the
// Integer-to-Real conversions, the instruction, the result type and the folded value.
#include <cmath>
#include <string_view>

#include "Arithmetic.h"
#include "UVParser.h"

namespace {

// Integer folding is 64-bit two's complement without overflow checks.
std::int64_t Wrap(std::uint64_t v) { return static_cast<std::int64_t>(v); }
std::uint64_t U(std::int64_t v) { return static_cast<std::uint64_t>(v); }

int CompareStrings(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// The outcome of a three-way comparison under a relational operator.
bool Holds(TTokenKind op, int cmp) {
  switch (op) {
    case tkEqual: return cmp == 0;
    case tkNotEqual: return cmp != 0;
    case tkLess: return cmp < 0;
    case tkLessEqual: return cmp <= 0;
    case tkGreater: return cmp > 0;
    default: return cmp >= 0;
  }
}

template <typename T>
int Compare(T a, T b) {
  return a < b ? -1 : (a > b ? 1 : 0);
}

// Real comparison: every relation with a NaN is false except <>.
bool HoldsReal(TTokenKind op, double a, double b) {
  switch (op) {
    case tkEqual: return a == b;
    case tkNotEqual: return a != b;
    case tkLess: return a < b;
    case tkLessEqual: return a <= b;
    case tkGreater: return a > b;
    default: return a >= b;
  }
}

TOpcode RelationOp(TTokenKind op, TOpcode lt) {
  // The six opcodes of each family lie in the order LT, LE, GT, GE, EQ, NE.
  int offset = 0;
  switch (op) {
    case tkLess: offset = 0; break;
    case tkLessEqual: offset = 1; break;
    case tkGreater: offset = 2; break;
    case tkGreaterEqual: offset = 3; break;
    case tkEqual: offset = 4; break;
    default: offset = 5; break;
  }
  return static_cast<TOpcode>(lt + offset);
}

bool IsEquality(TTokenKind op) { return op == tkEqual || op == tkNotEqual; }

bool IsIntegerAndReal(const TTypeDescriptor *l, const TTypeDescriptor *r) {
  return (l->Kind == tyReal && r->Kind == tyInteger) || (l->Kind == tyInteger && r->Kind == tyReal);
}

}  // namespace

// An Integer operand next to a Real one: the Warning and the conversion of the Integer side,
// with Swap 8 to restore the operand order where it matters. The left descriptor takes the
// Real type; a and b are the two operands' values as doubles, for folding.
void TUVParser::ConvertMixedOperands(TValueDescriptor &left, const TValueDescriptor &right, bool orderMatters,
                                     double &a, double &b) {
  Report(svWarning, ekAutomaticTypeConversion, "Converting Integer to Real");
  if (IsKind(right.ValueType, tyInteger)) {
    EmitOp(ocIntToReal);
    a = left.RealValue;
    b = static_cast<double>(right.IntValue);
  } else {
    EmitOp(ocSwapIntReal);
    EmitOp(ocIntToReal);
    if (orderMatters) EmitInt(ocSwap, 8);
    a = static_cast<double>(left.IntValue);
    b = right.RealValue;
    left.ValueType = right.ValueType;
  }
}

void TUVParser::GenerateRelation(TValueDescriptor &left, TValueDescriptor &right, TTokenKind op) {
  const bool bothConstant = left.IsConstant && right.IsConstant;
  bool folded = false;
  bool value = false;
  TTypeDescriptor *l = ResolveType(left.ValueType);
  TTypeDescriptor *r = ResolveType(right.ValueType);
  if (!TUSymbolTable::SameType(left.ValueType, right.ValueType)) {
    if (!l || !r) {
      Report(svError, ekIncorrectType, "Incorrect types in expression");
    } else if (IsIntegerAndReal(l, r)) {
      double a = 0, b = 0;
      ConvertMixedOperands(left, right, true, a, b);
      EmitOp(RelationOp(op, ocLTReal));
      folded = bothConstant;
      value = HoldsReal(op, a, b);
    } else if (l->Size == r->Size && IsEquality(op)) {
      Report(svWarning, ekIncorrectType, "Comparing different types");
      EmitInt(op == tkEqual ? ocEQ : ocNE, l->Size);
    } else {
      Report(svError, ekIncorrectType, "Can't compare different types");
    }
  } else {
    switch (l->Kind) {
      case tyInteger:
        EmitOp(RelationOp(op, ocLTInt));
        folded = bothConstant;
        value = Holds(op, Compare(left.IntValue, right.IntValue));
        break;
      case tyReal:
        EmitOp(RelationOp(op, ocLTReal));
        folded = bothConstant;
        value = HoldsReal(op, left.RealValue, right.RealValue);
        break;
      case tyString:
        EmitOp(RelationOp(op, ocLTStr));
        folded = bothConstant;
        value = Holds(op, CompareStrings(left.StrValue, right.StrValue));
        break;
      case tyBoolean:
        if (IsEquality(op)) {
          EmitOp(op == tkEqual ? ocEQBool : ocNEBool);
          folded = bothConstant;
          value = (left.BoolValue != 0) == (right.BoolValue != 0);
          if (op == tkNotEqual) value = !value;
        } else {
          Report(svError, ekIncorrectType, "Can't compare booleans");
        }
        break;
      default:
        if (IsEquality(op))
          EmitInt(op == tkEqual ? ocEQ : ocNE, l->Size);
        else
          Report(svError, ekIncorrectType, "Can't compare");
        break;
    }
  }
  left.ValueType = PredeclaredType("Boolean");
  left.IsConstant = folded;
  left.BoolValue = folded && value ? 1 : 0;
}

void TUVParser::GenerateAddition(TValueDescriptor &left, TValueDescriptor &right, TTokenKind op) {
  const bool bothConstant = left.IsConstant && right.IsConstant;
  TTypeDescriptor *l = ResolveType(left.ValueType);
  TTypeDescriptor *r = ResolveType(right.ValueType);
  auto notApplicable = [this] {
    Report(svError, ekIncorrectType, "Operator not applicable to operands of this type");
  };
  if (!TUSymbolTable::SameType(left.ValueType, right.ValueType)) {
    if (!l || !r) {
      Report(svError, ekIncorrectType, "Incorrect types in expression");
      left.IsConstant = false;
    } else if (IsIntegerAndReal(l, r)) {
      if (op != tkPlus && op != tkMinus) {
        notApplicable();
        return;
      }
      double a = 0, b = 0;
      ConvertMixedOperands(left, right, op == tkMinus, a, b);
      EmitOp(op == tkPlus ? ocAddReal : ocSubReal);
      left.RealValue = op == tkPlus ? a + b : a - b;
      // A sum beyond the range of a double is left to the machine, which reports it.
      left.IsConstant = bothConstant && std::isfinite(left.RealValue);
    } else {
      Report(svError, ekIncorrectType, "Irrelevant types");
      left.IsConstant = false;
    }
    return;
  }
  switch (l->Kind) {
    case tyInteger:
      switch (op) {
        case tkPlus: EmitOp(ocAddInt); left.IntValue = Wrap(U(left.IntValue) + U(right.IntValue)); break;
        case tkMinus: EmitOp(ocSubInt); left.IntValue = Wrap(U(left.IntValue) - U(right.IntValue)); break;
        case tkOR: EmitOp(ocOrInt); left.IntValue |= right.IntValue; break;
        default: EmitOp(ocXorInt); left.IntValue ^= right.IntValue; break;
      }
      left.IsConstant = bothConstant;
      break;
    case tyReal:
      if (op == tkPlus || op == tkMinus) {
        EmitOp(op == tkPlus ? ocAddReal : ocSubReal);
        left.RealValue = op == tkPlus ? left.RealValue + right.RealValue : left.RealValue - right.RealValue;
        left.IsConstant = bothConstant && std::isfinite(left.RealValue);
      } else {
        notApplicable();
        left.IsConstant = bothConstant;
      }
      break;
    case tyBoolean:
      if (op == tkOR || op == tkXOR) {
        EmitOp(op == tkOR ? ocOrBool : ocXorBool);
        if (op == tkOR)
          left.BoolValue = (left.BoolValue != 0 || right.BoolValue != 0) ? 1 : 0;
        else
          left.BoolValue = left.BoolValue ^ right.BoolValue;
      } else {
        notApplicable();
      }
      left.IsConstant = bothConstant;
      break;
    case tyString:
      if (op == tkPlus) {
        EmitOp(ocAddStr);
        left.StrValue += right.StrValue;
        if (left.StrValue.size() > 255) left.StrValue.resize(255);
        left.IsConstant = bothConstant;
      } else {
        notApplicable();
      }
      break;
    default:
      notApplicable();
      break;
  }
}

void TUVParser::GenerateMultiplication(TValueDescriptor &left, TValueDescriptor &right, TTokenKind op) {
  const bool bothConstant = left.IsConstant && right.IsConstant;
  TTypeDescriptor *l = ResolveType(left.ValueType);
  TTypeDescriptor *r = ResolveType(right.ValueType);
  auto notApplicable = [this] {
    Report(svError, ekIncorrectType, "Operator not applicable to operands of this type");
  };
  auto divisionByZero = [this, &left] {
    Report(svError, ekSyntaxError, "Division by 0");
    left.IsConstant = false;
  };
  // Folds a real product or quotient; a result beyond the range of a double is left unfolded
  // for the machine to report.
  auto foldReal = [&](double a, double b) {
    left.IsConstant = bothConstant;
    if (op == tkSlash && bothConstant && b == 0.0) {
      divisionByZero();
      return;
    }
    left.RealValue = op == tkStar ? a * b : a / b;
    if (!std::isfinite(left.RealValue)) left.IsConstant = false;
  };
  if (!TUSymbolTable::SameType(left.ValueType, right.ValueType)) {
    if (!l || !r) {
      Report(svError, ekIncorrectType, "Incorrect types in expression");
      left.IsConstant = false;
    } else if (IsIntegerAndReal(l, r)) {
      if (op != tkStar && op != tkSlash) {
        notApplicable();
        return;
      }
      double a = 0, b = 0;
      ConvertMixedOperands(left, right, op == tkSlash, a, b);
      EmitOp(op == tkStar ? ocMulReal : ocDivReal);
      foldReal(a, b);
    } else {
      Report(svError, ekIncorrectType, "Irrelevant types");
      left.IsConstant = false;
    }
    return;
  }
  switch (l->Kind) {
    case tyInteger: {
      const std::int64_t a = left.IntValue;
      const std::int64_t b = right.IntValue;
      left.IsConstant = bothConstant;
      switch (op) {
        case tkStar:
          EmitOp(ocMulInt);
          left.IntValue = Wrap(U(a) * U(b));
          break;
        case tkSlash:
          EmitOp(ocIntToReal);
          EmitOp(ocSwapIntReal);
          EmitOp(ocIntToReal);
          EmitInt(ocSwap, 8);
          EmitOp(ocDivReal);
          left.ValueType = PredeclaredType("Real");
          if (bothConstant && b == 0)
            divisionByZero();
          else
            left.RealValue = static_cast<double>(a) / static_cast<double>(b);
          break;
        case tkDIV:
        case tkMOD:
          EmitOp(op == tkDIV ? ocDivInt : ocModInt);
          if (bothConstant && b == 0) {
            divisionByZero();
          } else if (b != 0) {
            left.IntValue = op == tkDIV ? uvm::DivInt(a, b) : uvm::ModInt(a, b);
          }
          break;
        case tkAND:
          EmitOp(ocAndInt);
          left.IntValue = a & b;
          break;
        case tkSHL:
        case tkSHR:
          EmitOp(op == tkSHL ? ocShlInt : ocShrInt);
          // A count outside 0..63 shifts every bit out.
          if (b < 0 || b > 63)
            left.IntValue = 0;
          else
            left.IntValue = Wrap(op == tkSHL ? U(a) << b : U(a) >> b);
          break;
        default:
          break;
      }
      break;
    }
    case tyReal:
      if (op == tkStar || op == tkSlash) {
        EmitOp(op == tkStar ? ocMulReal : ocDivReal);
        foldReal(left.RealValue, right.RealValue);
      } else {
        notApplicable();
        left.IsConstant = bothConstant;
      }
      break;
    case tyBoolean:
      if (op == tkAND) {
        EmitOp(ocAndBool);
        left.BoolValue = (left.BoolValue != 0 && right.BoolValue != 0) ? 1 : 0;
        left.IsConstant = bothConstant;
      } else {
        notApplicable();
        left.IsConstant = false;
      }
      break;
    default:
      notApplicable();
      break;
  }
}

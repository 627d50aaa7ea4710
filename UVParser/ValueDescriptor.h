// TValueDescriptor: what every expression routine hands back, and what a constant holds.
#pragma once

#include <cstdint>
#include <string>

struct TTypeDescriptor;

// Copied by value. The value field that counts is chosen by the kind of ValueType and is
// meaningful only while IsConstant is set. ValueType is owned by the symbol table.
struct TValueDescriptor {
  TTypeDescriptor *ValueType = nullptr;  // nullptr: unknown type (after an error)
  bool IsConstant = false;
  std::int64_t IntValue = 0;   // Integer (also the 0 of NIL)
  double RealValue = 0.0;      // Real
  std::uint8_t BoolValue = 0;  // Boolean, 0 or 1
  std::string StrValue;        // String, at most 255 characters
};

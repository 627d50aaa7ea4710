// Exceptions of the machine. A run-time error ends a run and carries the message the user sees.
#pragma once

#include <stdexcept>
#include <string>

// Base of every error that ends a run.
class ERunError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TIllegalInstruction : public ERunError {
 public:
  using ERunError::ERunError;
};

class TStoreOverflow : public ERunError {
 public:
  using ERunError::ERunError;
};

// The arithmetic errors: integer division by zero, real division by zero, invalid real
// operation, real overflow.
class EDivByZero : public ERunError {
 public:
  EDivByZero() : ERunError("Division by zero") {}
};

class EZeroDivide : public ERunError {
 public:
  EZeroDivide() : ERunError("Floating point division by zero") {}
};

class EInvalidOp : public ERunError {
 public:
  EInvalidOp() : ERunError("Invalid floating point operation") {}
};

class EOverflow : public ERunError {
 public:
  EOverflow() : ERunError("Floating point overflow") {}
};

// Input ended while a number was being read from a console that is not a terminal.
class EEndOfInput : public ERunError {
 public:
  EEndOfInput() : ERunError("Unexpected end of input") {}
};

// A file could not be created or written. ErrorCode is the operating system's code, or 101
// when a write could not be completed.
class EInOutError : public std::runtime_error {
 public:
  explicit EInOutError(int code) : std::runtime_error(MessageFor(code)), ErrorCode(code) {}
  int ErrorCode;

  static std::string MessageFor(int code) {
    switch (code) {
      case 2: return "File not found";
      case 3: return "Invalid filename";
      case 4: return "Too many open files";
      case 5: return "File access denied";
      case 101: return "Disk full";
      default: return "I/O error " + std::to_string(code);
    }
  }
};

// The program as the run loop executes it: one 16-byte slot per instruction (superinstructions
// in place, Superinstructions.h), and at every stop PC a slot that ends the run before that
// instruction. Internal to the machine.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "Instruction.h"
#include "Interpreter.h"
#include "native/NativeLoops.h"
#include "StoreAccess.h"
#include "Superinstructions.h"

#if defined(__GNUC__) && !defined(ULVAN_SWITCH_DISPATCH)
#define ULVAN_COMPUTED_GOTO 1
#else
#define ULVAN_COMPUTED_GOTO 0
#endif

struct TUVCInterpreter::TDecoded {
#if ULVAN_COMPUTED_GOTO
  using TTarget = const void *;  // a label of the run loop
#else
  using TTarget = std::uintptr_t;  // a case of the run loop's switch
#endif
  std::vector<uvm::TSlot> Code;         // one per instruction and one past the end
  std::vector<TShortString> Strings;    // PushStr operands; reserved first, so their addresses hold
  std::vector<TTarget> Original;        // what a stop PC's slot runs when a resume starts there
  std::vector<uvm::TFused> Counted;     // with a superinstruction counter: each counted slot's kind
  std::vector<std::int32_t> Stops;      // the stop set this was decoded for
  std::vector<std::uint8_t> Ops;        // each instruction's opcode, for a native loop's way out
  std::unique_ptr<uvm::TNativeLoops> Native;       // the loops run as native code, if any
  std::vector<uvm::TNativeEntry> NativeAt;         // per instruction: the native loop starting there
  bool Counting = false;                // decoded with a superinstruction counter
  bool Ready = false;                   // false: to be decoded before the next run
};

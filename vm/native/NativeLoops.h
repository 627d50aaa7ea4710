// Native loops: the program's innermost-to-outermost loops whose instructions are all plain
// integer and Boolean work (locals, elements, arithmetic, comparisons, jumps) translated at
// decode time into x86-64 code that runs them as the instructions would, leaving every register
// and store byte as they do. The values travel in machine registers; the stack bytes the
// instructions leave above SP are written once per straight run of code, before anything could
// see them. Whatever the code cannot prove safe (a store address below 0 or in the stack, a
// division by 0 or -1, a store about to overflow, the countdown to the next Poll running out)
// returns to the run loop before that instruction, with the store exact, and the run loop runs
// the instruction itself. Internal to the machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace uvm {

// The registers a loop's code starts from and leaves: in, S, SP, MP and Countdown; out, SP,
// Countdown, PC (where the run loop goes on) and Plain (nonzero: run the instruction at PC on
// its own, not the slot's code: the code stopped before it).
struct TNativeFrame {
  std::uint8_t *S;
  std::int64_t SP;
  std::int64_t MP;
  std::uint32_t Countdown;  // backward jumps until the next Poll; never reaches 0 in the code
  std::int32_t PC;
  std::int32_t Plain;
};

using TNativeEntry = void (*)(TNativeFrame *);

// Runs a loop's code (the call of generated code, kept out of the function-type sanitizer).
void RunNative(TNativeEntry entry, TNativeFrame &frame);

class TNativeLoops {
 public:
  // Translates the loops of a program (opcodes, integer operands and PushReal's doubles as bits,
  // for its `count` instructions) whose instructions `barrier` does not mark (it may be empty).
  // Null when the machine has no native code or no loop qualifies.
  static std::unique_ptr<TNativeLoops> Compile(const std::uint8_t *ops, const std::int32_t *operands,
                                               const std::uint64_t *reals, std::int32_t count,
                                               const std::vector<bool> &barrier);
  ~TNativeLoops();
  TNativeLoops(const TNativeLoops &) = delete;
  TNativeLoops &operator=(const TNativeLoops &) = delete;

  struct TLoop {
    std::int32_t Head;  // the instruction the code starts at
    TNativeEntry Entry;
  };
  const std::vector<TLoop> &Loops() const { return Entries; }

 private:
  TNativeLoops() = default;
  void *Memory = nullptr;
  std::size_t MemorySize = 0;
  std::vector<TLoop> Entries;
};

}  // namespace uvm

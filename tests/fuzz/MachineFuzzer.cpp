// Fuzz target of the machine: any sequence of instructions, any operands (format in
// MachineCode.h). The program runs instruction by instruction with Step (at most StepLimit
// steps) and, when that run ended, once more with Run from the same state; each run may only
// end normally or with a known run-time error, SP never leaves the store, and both runs must
// agree on the error, the registers, the output and every byte of the store.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "MachineCode.h"

namespace {

// Few enough that an endless loop costs little; a run that ended within the bound never
// reached the console's poll (every 65536 backward jumps).
constexpr int StepLimit = 4000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::uint8_t flags = 0;
  IProgramRef program = fuzz::DecodeMachineCode(data, size, flags);
  fuzz::RunBothWays(program, "12\n-7\nabc\n2.5\n", (flags & fuzz::FlagInteractive) != 0, StepLimit, 12345);
  return 0;
}

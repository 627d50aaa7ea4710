// Generates a valid Ulvan program from a sequence of choices (the round-trip fuzzer's input):
// declarations of every kind of type, a recursive function with a VAR parameter, a procedure
// with a record parameter, and statements and expressions of every kind, nested to a bounded
// depth. Loops may run forever and indexes and pointers may point anywhere: the program only
// has to compile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

std::string GenerateProgram(const std::uint8_t *data, std::size_t size);

}  // namespace fuzz

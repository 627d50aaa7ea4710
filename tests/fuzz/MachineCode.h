// The machine fuzzer's input format: a flags byte, then instructions until the bytes run out.
// Each instruction is an opcode byte (taken modulo 79, so 78 stands for every opcode the
// machine does not know) followed by its operand: 4 bytes little-endian for an integer operand,
// 8 for a real, 1 for a boolean, a length byte and that many characters for a string; none for
// the others. Missing operand bytes read as zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "Program.h"

namespace fuzz {

constexpr std::uint8_t FlagInteractive = 1;  // the console has a person at the keyboard

inline IProgramRef DecodeMachineCode(const std::uint8_t *data, std::size_t size, std::uint8_t &flags) {
  IProgramRef program = NewProgram();
  std::size_t i = 0;
  flags = size > 0 ? data[i++] : 0;
  auto take = [&](void *out, std::size_t n) {
    std::memset(out, 0, n);
    const std::size_t have = size - i < n ? size - i : n;
    std::memcpy(out, data + i, have);
    i += have;
  };
  while (i < size) {
    TInstruction instr;
    instr.Opcode = static_cast<std::uint8_t>(data[i++] % (OpcodeCount + 1));
    instr.Line = static_cast<std::int32_t>(program->GetCount() + 1);
    switch (instr.Opcode < OpcodeCount ? OpcodeOperands[instr.Opcode] : okNone) {
      case okInt: take(&instr.IntValue, 4); break;
      case okReal: take(&instr.RealValue, 8); break;
      case okBool: take(&instr.BoolValue, 1); break;
      case okStr: {
        std::uint8_t len = 0;
        take(&len, 1);
        const std::size_t n = size - i < len ? size - i : len;
        instr.StrValue.Assign(std::string(reinterpret_cast<const char *>(data + i), n));
        i += n;
        break;
      }
      case okNone: break;
    }
    program->AddInstruction(instr);
  }
  return program;
}

// The inverse, for seeding the corpus from compiled programs.
inline std::string EncodeMachineCode(const IProgram &program, std::uint8_t flags) {
  std::string out(1, static_cast<char>(flags));
  TInstruction instr;
  for (std::int32_t k = 0; k < program.GetCount(); ++k) {
    program.GetInstruction(k, instr);
    out += static_cast<char>(instr.Opcode);
    switch (OpcodeOperands[instr.Opcode]) {
      case okInt: out.append(reinterpret_cast<const char *>(&instr.IntValue), 4); break;
      case okReal: out.append(reinterpret_cast<const char *>(&instr.RealValue), 8); break;
      case okBool: out += static_cast<char>(instr.BoolValue); break;
      case okStr:
        out += static_cast<char>(instr.StrValue.Len);
        out.append(instr.StrValue.Chars, instr.StrValue.Len);
        break;
      case okNone: break;
    }
  }
  return out;
}

}  // namespace fuzz

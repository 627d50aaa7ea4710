// The register form of a superinstruction: for sequences of integer instructions, a body that
// passes each value from the instruction that pushes it to the one that pops it in a C++ local
// instead of through the store. See RegisterForm.cpp.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace gen {

struct TFormStep {
  std::string Op;  // opcode name without "oc"
  bool Fixed = false;
  long Value = 0;
};

// The body of kind `name` (its enum name) in register form, ending in an open block at
// NAME_slow: that the composed body completes; or nothing when one of its instructions has no
// register form (the kind then has only its composed body).
std::optional<std::string> RegisterBody(const std::string &name, const std::vector<TFormStep> &steps);

}  // namespace gen

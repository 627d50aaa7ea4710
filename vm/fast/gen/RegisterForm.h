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

// The body of kind `name` (its enum name) in register form; when its fast path cannot prove it
// may run, it runs its first instruction on its own (the rest follow from their own slots). With
// a `target`, the sequence ends in a Jump or JifF and the target's instructions, found where the
// jump leads, run in register form after it, in the same dispatch. Nothing when one of the
// instructions has no register form (the kind then has only its composed body).
std::optional<std::string> RegisterBody(const std::string &name, const std::vector<TFormStep> &steps,
                                        const std::vector<TFormStep> &target = {});

}  // namespace gen

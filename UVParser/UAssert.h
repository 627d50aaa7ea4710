// Internal invariants of the compiler. A broken one throws EAssertionFailed whose text is
// "<message> (<unit>, line <n>)"; it is never turned into a diagnostic.
#pragma once

#include <stdexcept>
#include <string>

class EAssertionFailed : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

[[noreturn]] inline void AssertionFailed(const char *message, const char *unit, int line) {
  throw EAssertionFailed(std::string(message) + " (" + unit + ", line " + std::to_string(line) + ")");
}

// UV_ASSERT(condition, "UnitName", "message")
#define UV_ASSERT(cond, unit, message)                                   \
  do {                                                                   \
    if (!(cond)) ::AssertionFailed((message), (unit), __LINE__);         \
  } while (0)

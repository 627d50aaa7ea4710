// The run-time error report: its first line, and how runs of identical callers fold.
#include <gtest/gtest.h>

#include "CallTrace.h"

namespace {

TEST(CallTrace, FormatFoldsRunsOfIdenticalCallersOnly) {
  using F = TCallFrame;
  struct Case {
    std::vector<TCallFrame> calls;
    const char *report;
  };
  const Case cases[] = {
      {{}, "[Run-time error] d.pas: Boom.\n"},
      {{F{"Main", 0}}, "[Run-time error] d.pas: Boom.\n  in Main, d.pas\n"},
      // two alike stay two lines; the innermost is never folded with its callers
      {{F{"A", 3}, F{"A", 3}, F{"A", 3}, F{"Main", 9}},
       "[Run-time error] d.pas(3): Boom.\n  in A, d.pas(3)\n  called from A, d.pas(3)\n"
       "  called from A, d.pas(3)\n  called from Main, d.pas(9)\n"},
      {{F{"A", 3}, F{"A", 4}, F{"A", 4}, F{"A", 4}, F{"A", 4}, F{"B", 7}, F{"A", 4}, F{"Main", 9}},
       "[Run-time error] d.pas(3): Boom.\n  in A, d.pas(3)\n  called from A, d.pas(4)\n"
       "  ... 3 more calls of A\n  called from B, d.pas(7)\n  called from A, d.pas(4)\n"
       "  called from Main, d.pas(9)\n"},
  };
  for (const Case &c : cases) EXPECT_EQ(FormatRunError("d.pas", "Boom.", c.calls), c.report);
}

}  // namespace

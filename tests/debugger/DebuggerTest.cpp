// The debugger's engine on small programs, driven by scripts of commands and their expected
// answers: breakpoints, the run commands, the call stack, values and designators, post mortem.
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../parser/CompileHelper.h"
#include "Debugger.h"
#include "StoreAccess.h"

namespace {

const char *const ReasonNames[] = {"Start", "Breakpoint", "Step", "Pause", "RunError", "Ended", "Stopped"};

std::string StopText(const TStopInfo &s) {
  std::string text = ReasonNames[static_cast<int>(s.Reason)];
  if (s.Reason == TStopReason::Ended || s.Reason == TStopReason::Stopped) return text;
  text += " " + std::to_string(s.Line) + " " + s.Routine;
  if (!s.Message.empty()) text += " " + s.Message;
  return text;
}

// One command of a script and its answer as text.
std::string Do(TUVDebugger &d, const std::string &line) {
  std::istringstream in(line);
  std::string cmd, arg;
  in >> cmd;
  std::getline(in >> std::ws, arg);
  std::int32_t frame = 0;
  if (cmd.size() > 2 && cmd.compare(0, 2, "p@") == 0) {
    frame = std::stoi(cmd.substr(2));
    cmd = "p";
  }
  if (cmd == "start") return StopText(d.Start());
  if (cmd == "b") return std::to_string(d.SetBreakpoint(std::stoi(arg)));
  if (cmd == "delete") return d.ClearBreakpoint(std::stoi(arg)) ? "deleted" : "none";
  if (cmd == "c") return StopText(d.Continue());
  if (cmd == "s") return StopText(d.StepInto());
  if (cmd == "n") return StopText(d.StepOver());
  if (cmd == "finish") return StopText(d.StepOut());
  if (cmd == "si") return StopText(d.StepInstruction());
  if (cmd == "until") return StopText(d.RunToLine(std::stoi(arg)));
  if (cmd == "p" || cmd == "changed") {
    const TEvaluation e = d.Evaluate(arg, frame);
    if (!e.Ok) return "error: " + e.Error;
    return cmd == "p" ? e.Node.Value : e.Node.Changed ? "yes" : "no";
  }
  if (cmd == "bt") {
    std::string text;
    for (const TStackFrame &f : d.CallStack()) text += (text.empty() ? "" : ", ") + f.Routine + " " + std::to_string(f.Line);
    return text;
  }
  if (cmd == "kids") {  // kids DESIGNATOR FIRST COUNT
    std::istringstream a(arg);
    std::string name;
    std::int32_t first = 0, count = 0;
    a >> name >> first >> count;
    std::string text;
    for (const TValueNode &n : d.Children(d.Evaluate(name).Node, first, count))
      text += (text.empty() ? "" : "; ") + n.Name + "=" + n.Value;
    return text;
  }
  if (cmd == "locals") {
    std::string text;
    for (const auto &list : {d.Parameters(0), d.Locals(0)})
      for (const TValueNode &n : list) text += (text.empty() ? "" : "; ") + n.Name + ": " + n.TypeName + "=" + n.Value;
    return text;
  }
  if (cmd == "top") {  // the Integer on top of the stack
    return std::to_string(uvm::LoadInt(d.Interpreter().GetStore() + d.Interpreter().GetSP() - 3));
  }
  return "bad script command " + cmd;
}

struct TScript {
  const char *name;
  const char *source;
  std::vector<std::pair<std::string, std::string>> steps;  // command, answer
};

const TScript Scripts[] = {
    {"recursion, function results, step over a recursive call",
     "PROGRAM Rec;\n"                               // 1
     "VAR r: Integer;\n"                            // 2
     "FUNCTION Fact(n: Integer): Integer;\n"        // 3
     "BEGIN\n"                                      // 4
     "  IF n <= 1 THEN Result := 1\n"               // 5
     "  ELSE Fact := n * Fact(n - 1)\n"             // 6
     "END;\n"                                       // 7
     "BEGIN\n"                                      // 8
     "  r := Fact(4);\n"                            // 9
     "  WriteLn(IntToStr(r))\n"                     // 10
     "END.\n",                                      // 11
     {{"start", "Start 9 Rec"}, {"b 5", "5"}, {"c", "Breakpoint 5 Fact"}, {"p n", "4"},
      {"c", "Breakpoint 5 Fact"}, {"p n", "3"}, {"p@1 n", "4"}, {"bt", "Fact 5, Fact 6, Rec 9"},
      {"delete 5", "deleted"}, {"delete 5", "none"}, {"n", "Step 6 Fact"}, {"n", "Step 10 Rec"},
      {"p r", "24"}, {"b 5", "5"}, {"c", "Ended"}, {"c", "Ended"}}},
    {"next and finish over long calls run to the return, breakpoints in them still stop",
     "PROGRAM Deep;\n"                              // 1
     "VAR r, calls: Integer;\n"                     // 2
     "FUNCTION Fib(n: Integer): Integer;\n"         // 3
     "BEGIN\n"                                      // 4
     "  calls := calls + 1;\n"                      // 5
     "  IF calls = 3000 THEN\n"                     // 6
     "    calls := calls + 0;\n"                    // 7
     "  IF n < 2 THEN Fib := n ELSE Fib := Fib(n - 1) + Fib(n - 2)\n"  // 8
     "END;\n"                                       // 9
     "PROCEDURE Twice;\n"                           // 10
     "BEGIN\n"                                      // 11
     "  r := Fib(17) + r\n"                         // 12
     "END;\n"                                       // 13
     "BEGIN\n"                                      // 14
     "  r := 0; calls := 0;\n"                      // 15
     "  Twice;\n"                                   // 16
     "  r := r + 1\n"                               // 17
     "END.\n",                                      // 18
     {{"start", "Start 15 Deep"}, {"n", "Step 15 Deep"}, {"n", "Step 16 Deep"}, {"b 7", "7"},
      {"n", "Breakpoint 7 Fib"}, {"p calls", "3000"}, {"delete 7", "deleted"}, {"n", "Step 8 Fib"},
      {"until 17", "Step 17 Deep"}, {"p r", "1597"}, {"p calls", "5167"},
      {"start", "Start 15 Deep"}, {"until 12", "Step 12 Twice"}, {"finish", "Step 17 Deep"}, {"p r", "1597"},
      {"start", "Start 15 Deep"}, {"n", "Step 15 Deep"}, {"n", "Step 16 Deep"}, {"n", "Step 17 Deep"}}},
    {"a result by Result and by the function's name",
     "PROGRAM Res;\n"                               // 1
     "VAR r: Integer;\n"                            // 2
     "FUNCTION Twice(n: Integer): Integer;\n"       // 3
     "BEGIN\n"                                      // 4
     "  Result := n;\n"                             // 5
     "  Twice := Result + n\n"                      // 6
     "END;\n"                                       // 7
     "BEGIN r := Twice(21) END.\n",                 // 8
     {{"start", "Start 8 Res"}, {"s", "Step 5 Twice"}, {"s", "Step 6 Twice"}, {"p Result", "21"},
      {"p twice", "21"}, {"locals", "n: Integer=21; Result: Integer=21"}, {"si", "Step 6 Twice"},
      {"finish", "Ended"}, {"p r", "42"}}},
    {"nested routines, static links, VAR parameters, step out, lines without code",
     "PROGRAM Nest;\n"                              // 1
     "VAR g: Integer;\n"                            // 2
     "PROCEDURE Outer(VAR acc: Integer; k: Integer);\n"  // 3
     "VAR local: Integer;\n"                        // 4
     "  PROCEDURE Inner(m: Integer);\n"             // 5
     "  BEGIN\n"                                    // 6
     "    local := local + m;\n"                    // 7
     "    acc := acc + local\n"                     // 8
     "  END;\n"                                     // 9
     "BEGIN\n"                                      // 10
     "  local := k;\n"                              // 11
     "  Inner(2);\n"                                // 12
     "  Inner(3)\n"                                 // 13
     "END;\n"                                       // 14
     "BEGIN\n"                                      // 15
     "  g := 1;\n"                                  // 16
     "  Outer(g, 10);\n"                            // 17
     "  WriteLn(IntToStr(g))\n"                     // 18
     "END.\n",                                      // 19
     {{"start", "Start 16 Nest"}, {"b 1", "7"}, {"b 9", "11"}, {"b 19", "0"}, {"c", "Breakpoint 11 Outer"},
      {"c", "Breakpoint 7 Inner"}, {"p local", "10"}, {"p acc", "1"}, {"p m", "2"}, {"p@1 k", "10"},
      {"p@2 local", "error: Unknown variable: local"}, {"bt", "Inner 7, Outer 12, Nest 17"},
      {"n", "Step 8 Inner"}, {"changed local", "yes"}, {"changed acc", "no"},
      {"finish", "Step 13 Outer"}, {"changed acc", "yes"}, {"p acc", "13"}, {"delete 7", "deleted"},
      {"s", "Step 7 Inner"}, {"finish", "Step 18 Nest"}, {"p g", "28"}, {"c", "Ended"}}},
    {"FOR with its limit on the stack, EXIT, GOTO, HALT",
     "PROGRAM Flow;\n"                              // 1
     "LABEL again;\n"                               // 2
     "VAR i, s: Integer;\n"                         // 3
     "PROCEDURE Check(v: Integer);\n"               // 4
     "BEGIN\n"                                      // 5
     "  IF v > 2 THEN EXIT;\n"                      // 6
     "  s := s + v\n"                               // 7
     "END;\n"                                       // 8
     "BEGIN\n"                                      // 9
     "  s := 0;\n"                                  // 10
     "  again:\n"                                   // 11
     "  FOR i := 1 TO 4 DO\n"                       // 12
     "    Check(i);\n"                              // 13
     "  IF s < 10 THEN GOTO again;\n"               // 14
     "  HALT;\n"                                    // 15
     "  WriteLn('never')\n"                         // 16
     "END.\n",                                      // 17
     {{"start", "Start 10 Flow"}, {"until 13", "Step 13 Flow"}, {"top", "4"}, {"n", "Step 12 Flow"},
      {"n", "Step 13 Flow"}, {"n", "Step 12 Flow"}, {"n", "Step 13 Flow"}, {"s", "Step 6 Check"}, {"p v", "3"},
      {"n", "Step 6 Check"}, {"n", "Step 12 Flow"}, {"until 14", "Step 14 Flow"}, {"p i", "5"}, {"p s", "3"},
      {"n", "Step 14 Flow"}, {"n", "Step 12 Flow"}, {"b 15", "15"}, {"c", "Breakpoint 15 Flow"}, {"p s", "12"},
      {"n", "Ended"}}},
    {"values as the debugger writes them, designators, children in pages",
     "PROGRAM Val;\n"                                                     // 1
     "TYPE PNode = ^TNode; TNode = RECORD key: Integer; next: PNode END;\n"  // 2
     "VAR a: ARRAY[1..150] OF Integer; m: ARRAY[1..2, 1..3] OF Integer;\n"   // 3
     "  nodes: ARRAY[1..2] OF TNode; p: PNode; s: String; x: Real; ok: Boolean; i: Integer;\n"  // 4
     "BEGIN\n"                                                            // 5
     "  FOR i := 1 TO 150 DO a[i] := i; m[2, 3] := 7;\n"                  // 6
     "  nodes[1].key := 5; nodes[2].key := 6; p := @nodes[2]; p^.next := @nodes[1];\n"  // 7
     "  s := 'it''s'; x := 2.5; ok := TRUE; i := 2\n"                     // 8
     "END.\n",                                                            // 9
     {{"start", "Start 6 Val"}, {"until 9", "Ended"}, {"p s", "'it''s'"}, {"p x", "2.5"}, {"p ok", "TRUE"},
      {"p nodes[1]", "(key: 5; next: NIL)"}, {"p p^.next^.key", "5"}, {"p P^.Next^.Next", "NIL"},
      {"p p^.next^.next^", "error: p^.next^.next is NIL"}, {"p m[2, 3]", "7"}, {"p m[2][i]", "0"},
      {"p m[i]", "[0, 0, 7]"}, {"p a[i + 1]", "error: ] expected after the index of a[2]"},
      {"p a[151]", "error: Index 151 out of 1..150"}, {"p nodes[1].size", "error: No field size in nodes[1]"},
      {"p q", "error: Unknown variable: q"}, {"p i^", "error: i is not a pointer"},
      {"kids a 148 5", "a[149]=149; a[150]=150"}, {"kids nodes[2] 0 9", "nodes[2].key=6; nodes[2].next=^" },
      {"p a", "...98, 99, 100, ..., 50 more]"}, {"p m", "[[0, 0, 0], [0, 0, 7]]"}}},
    {"a run-time error post mortem",
     "PROGRAM Err;\n"                               // 1
     "VAR d: Integer;\n"                            // 2
     "FUNCTION Ratio(n: Integer): Integer;\n"       // 3
     "BEGIN Ratio := n DIV d END;\n"                // 4
     "BEGIN\n"                                      // 5
     "  d := 0;\n"                                  // 6
     "  WriteLn(IntToStr(Ratio(7)))\n"              // 7
     "END.\n",                                      // 8
     {{"start", "Start 6 Err"}, {"c", "RunError 4 Ratio Division by zero."}, {"bt", "Ratio 4, Err 7"},
      {"p n", "7"}, {"p d", "0"}, {"s", "RunError 4 Ratio Division by zero."}}},
};

TEST(Debugger, ScriptsGiveTheirAnswers) {
  for (const TScript &script : Scripts) {
    SCOPED_TRACE(script.name);
    const TCompiled c = CompileSource(script.source);
    ASSERT_TRUE(c.Ok) << (c.Errors.empty() ? "" : c.Errors.front());
    TMemoryConsole console;
    TUVCInterpreter machine(&console);
    TUVDebugger debugger(machine);
    debugger.Load(c.Program);
    for (const auto &[command, answer] : script.steps) {
      const std::string got = Do(debugger, command);
      // "x^": the answer begins with x; "...x": it ends with x.
      if (answer.back() == '^')
        EXPECT_EQ(got.substr(0, answer.size() - 1), answer.substr(0, answer.size() - 1)) << command;
      else if (answer.compare(0, 3, "...") == 0)
        EXPECT_TRUE(got.size() >= answer.size() - 3 && got.compare(got.size() - (answer.size() - 3), std::string::npos,
                                                               answer.substr(3)) == 0)
            << command << ": " << got;
      else
        EXPECT_EQ(got, answer) << command;
    }
  }
}

}  // namespace

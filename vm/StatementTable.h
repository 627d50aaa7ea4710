// The statement table kept beside a compiled program: where each statement's code begins and on
// which source line the statement begins, and the code range of every routine. The code and the
// listing do not depend on it; it lets a run-time error be shown at its source line, inside the
// routines that were active.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TStatementEntry {
  std::int32_t First;  // index of the statement's first instruction
  std::int32_t Line;   // line of the statement's first token
  bool Glue = false;   // compiler glue (a frame's set-up, a jump back to a loop's test, a jump
                       // over an ELSE): shown at that line, but a step never stops there
};

struct TRoutineEntry {
  std::string Name;    // as declared; the main program by its PROGRAM name
  std::int32_t First;  // entry instruction
  std::int32_t End;    // one past its last instruction (nested routines lie inside)
};

class TStatementTable {
 public:
  // Statements are added in code order while their code is emitted; a statement with no code
  // of its own shares First with the next one, and the later entry wins.
  void AddStatement(std::int32_t first, std::int32_t line, bool glue = false);
  void AddRoutine(std::string name, std::int32_t first, std::int32_t end);
  // The code from `count` on was taken out again: the statements that began after it go.
  void Truncate(std::int32_t count);
  void Clear();

  // The line of the statement that contains instruction `index`: the last one to begin at or
  // before it. 0 when none does.
  std::int32_t LineAt(std::int32_t index) const;
  // The innermost routine whose code contains `index`, nullptr when none.
  const TRoutineEntry *RoutineAt(std::int32_t index) const;

  const std::vector<TStatementEntry> &Statements() const { return StatementList; }
  const std::vector<TRoutineEntry> &Routines() const { return RoutineList; }

 private:
  std::vector<TStatementEntry> StatementList;
  std::vector<TRoutineEntry> RoutineList;
};

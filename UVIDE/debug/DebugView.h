// Fills the debugger's panels from the engine at a stop: the call stack, the chosen frame's
// variables (records, arrays in pages of 100 and pointer targets fetched when opened), the
// listing with the current instruction, and the labelled stack of the frame.
#pragma once

#include <vector>

#include "CallStackPanel.h"
#include "MachinePanel.h"
#include "VariablesPanel.h"

class TDebugPanels;
class TUVDebugger;
struct TStackCell;
struct TValueNode;

class TDebugView {
 public:
  static constexpr int PageSize = 100;

  TDebugView(TDebugPanels &panels, const TUVDebugger &engine) : Panels(panels), Engine(engine) {}

  // The program's listing, once per session.
  void ShowListing();
  // Everything at a stop, frame 0 chosen.
  void ShowStop();
  // The variables and the stack of a frame (0: the innermost).
  void ShowFrame(int frame);

  // The rows of values; an array of more than PageSize elements opens into pages.
  static std::vector<TVariableRow> Rows(const TUVDebugger &engine,
                                        const std::vector<TValueNode> &nodes);
  // A labelled piece of the store as the Machine panel shows it.
  static TStackRow StackRow(const TStackCell &cell, const unsigned char *store);

 private:
  TDebugPanels &Panels;
  const TUVDebugger &Engine;
};

#include "DebugView.h"

#include <algorithm>
#include <cstring>

#include "DebugPanels.h"
#include "Debugger.h"
#include "SourceText.h"

namespace {

QString Text(const std::string &text) { return BytesToText(text); }

bool IsArray(const TValueNode &node) { return node.TypeName.rfind("ARRAY", 0) == 0; }

// The rows of one page of an array's elements, or of all its children.
std::function<std::vector<TVariableRow>()> Fetch(const TUVDebugger &engine, TValueNode node,
                                                 int first, int count) {
  return [&engine, node = std::move(node), first, count] {
    return TDebugView::Rows(engine, engine.Children(node, first, count));
  };
}

TVariableRow Row(const TUVDebugger &engine, const TValueNode &node) {
  TVariableRow row{Text(node.Name), Text(node.Value), Text(node.TypeName), node.Changed, {}};
  if (node.VarParameter) row.Type += QStringLiteral(" (VAR)");
  if (!node.HasChildren) return row;
  const int count = node.ChildCount;
  if (!IsArray(node) || count <= TDebugView::PageSize) {
    row.Children = Fetch(engine, node, 0, -1);
    return row;
  }
  row.Children = [&engine, node, count] {
    std::vector<TVariableRow> pages;
    for (int first = 0; first < count; first += TDebugView::PageSize) {
      const int size = std::min(TDebugView::PageSize, count - first);
      // Named by its first and last elements' names ("a[1] .. a[100]").
      const std::vector<TValueNode> low = engine.Children(node, first, 1);
      const std::vector<TValueNode> high = engine.Children(node, first + size - 1, 1);
      const QString name = low.empty() || high.empty()
                               ? QStringLiteral("%1 .. %2").arg(first).arg(first + size - 1)
                               : Text(low.front().Name) + QStringLiteral(" .. ") +
                                     Text(high.front().Name);
      TVariableRow page{name, {}, {}, false, Fetch(engine, node, first, size)};
      pages.push_back(std::move(page));
    }
    return pages;
  };
  return row;
}

}  // namespace

std::vector<TVariableRow> TDebugView::Rows(const TUVDebugger &engine,
                                           const std::vector<TValueNode> &nodes) {
  std::vector<TVariableRow> rows;
  rows.reserve(nodes.size());
  for (const TValueNode &node : nodes) rows.push_back(Row(engine, node));
  return rows;
}

TStackRow TDebugView::StackRow(const TStackCell &cell, const unsigned char *store) {
  constexpr int Shown = 16;  // bytes written out; longer cells (strings, records) end in "..."
  if (cell.Address < 0 || cell.Size < 0 || cell.Address + cell.Size > TUVCInterpreter::StoreSize)
    return {cell.Address, {}, {}, Text(cell.Label)};
  QString bytes;
  for (int i = 0; i < std::min(cell.Size, Shown); ++i)
    bytes += QStringLiteral("%1 ").arg(store[cell.Address + i], 2, 16, QLatin1Char('0'));
  bytes = bytes.trimmed();
  if (cell.Size > Shown) bytes += QStringLiteral(" ...");
  QString word;
  if (cell.Size == 4) {
    std::int32_t value = 0;
    std::memcpy(&value, store + cell.Address, 4);  // the machine's words are little-endian
    word = QString::number(value);
  }
  return {cell.Address, bytes, word, Text(cell.Label)};
}

void TDebugView::ShowListing() {
  std::vector<QString> texts;
  std::vector<int> lines;
  const int count = Engine.InstructionCount();
  texts.reserve(static_cast<std::size_t>(count));
  lines.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    QString text = Text(Engine.InstructionText(i));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    texts.push_back(QStringLiteral("%1  %2").arg(i, 5).arg(text));
    lines.push_back(Engine.LineOfInstruction(i));
  }
  Panels.Machine()->SetListing(texts, std::move(lines));
}

void TDebugView::ShowStop() {
  std::vector<TFrameRow> frames;
  for (const TStackFrame &frame : Engine.CallStack())
    frames.push_back({Text(frame.Routine), frame.Line});
  Panels.CallStack()->Show(frames);
  ShowFrame(0);
}

void TDebugView::ShowFrame(int frame) {
  std::vector<TValueNode> locals = Engine.Parameters(frame);
  const std::vector<TValueNode> own = Engine.Locals(frame);
  locals.insert(locals.end(), own.begin(), own.end());
  Panels.Variables()->Show(Rows(Engine, locals), Rows(Engine, Engine.Globals()));

  const TMachineState machine = Engine.Machine();
  const unsigned char *store = Engine.Interpreter().GetStore();
  std::vector<TStackRow> stack;
  for (const TStackCell &cell : Engine.StackCells(frame)) stack.push_back(StackRow(cell, store));
  Panels.Machine()->ShowState(machine.PC, machine.SP, machine.MP, stack);
}

// The Machine panel: the registers, the program's listing with the current instruction
// highlighted and the instructions of the selected source line shaded, and the stack between
// the frame and SP, each cell with the name of what it holds.
#pragma once

#include <unordered_map>
#include <vector>

#include <QString>
#include <QWidget>

class QLabel;
class QListWidget;
class QTreeWidget;

struct TStackRow {
  int Address = 0;
  QString Bytes;  // the cell's bytes in hex
  QString Value;  // as its type reads them, empty when it has none
  QString Label;  // "i: Integer", "saved MP", "return address", ...
};

class TMachinePanel final : public QWidget {
  Q_OBJECT
 public:
  explicit TMachinePanel(QWidget *parent = nullptr);

  // The listing text of every instruction and its source line (0: none), once per program.
  void SetListing(const std::vector<QString> &instructions, std::vector<int> lines);
  void Clear();
  // The machine at a stop.
  void ShowState(int pc, int sp, int mp, const std::vector<TStackRow> &stack);
  // Shades the instructions of a source line (1-based; 0 shades none).
  void ShadeLine(int line);

  int CurrentInstruction() const { return Current; }
  // The instructions shaded now, ascending.
  std::vector<int> ShadedInstructions() const;
  QListWidget *Listing() const { return ListingView; }
  QTreeWidget *Stack() const { return StackView; }
  QString RegistersText() const;

 signals:
  // The user chose an instruction in the listing; `line` is its source line (0: none).
  void InstructionChosen(int index, int line);

 private:
  void Paint(int index);

  QLabel *Registers = nullptr;
  QListWidget *ListingView = nullptr;
  QTreeWidget *StackView = nullptr;
  std::vector<int> Lines;
  std::unordered_map<int, std::vector<int>> InstructionsOfLine;  // ascending
  int Current = -1;
  int ShadedLine = 0;
};

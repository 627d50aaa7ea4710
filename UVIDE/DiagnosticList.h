// The diagnostics list under the editor: one item per diagnostic line, showing its kind by icon
// and colour, wrapping long messages and holding the whole line in its tool tip.
#pragma once

#include <string>
#include <vector>

#include <QListWidget>

class TDiagnosticList final : public QListWidget {
  Q_OBJECT
 public:
  static constexpr int FittingRows = 6;

  explicit TDiagnosticList(QWidget *parent = nullptr);

  void SetLines(const std::vector<std::string> &lines);
  // The row of the first Error, -1 when there is none.
  int FirstErrorRow() const;
  // The line number the diagnostic of a row names, 0 when it names none.
  int LineOf(int row) const;
  // The height that shows the first rows up to FittingRows whole; 0 for an empty list.
  int FittingHeight();
  // The hint on the usual mistake behind the selected diagnostic; empty when none.
  QString CurrentHint() const;

 signals:
  // A double click or Enter on an item.
  void JumpRequested();

 protected:
  void keyPressEvent(QKeyEvent *event) override;
};

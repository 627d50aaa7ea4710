// The Call stack panel: one row per active call, innermost first; choosing a row selects that
// frame (its line in the editor, its variables in the Variables panel).
#pragma once

#include <vector>

#include <QString>
#include <QTreeWidget>

struct TFrameRow {
  QString Routine;
  int Line = 0;  // 0: unknown
};

class TCallStackPanel final : public QTreeWidget {
  Q_OBJECT
 public:
  explicit TCallStackPanel(QWidget *parent = nullptr);

  // The frames, the innermost selected.
  void Show(const std::vector<TFrameRow> &frames);
  void Clear() { clear(); }
  // The selected frame, 0 for the innermost; -1 when empty.
  int SelectedFrame() const;

 signals:
  void FrameSelected(int frame);
};

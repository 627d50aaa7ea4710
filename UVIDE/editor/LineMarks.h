// Marks of whole lines shown in the editor's gutter: breakpoints, the current statement and a
// run-time error's line. A line's marks live in its text block's user data, so they move with
// the line as lines are inserted or removed above it; TLineMarks keeps them there through the
// edits that Qt's block bookkeeping alone would get wrong (see LineMarks.cpp).
#pragma once

#include <memory>
#include <vector>

#include <QList>

class QTextDocument;

enum class TGutterMark {
  gmBreakpoint,        // a red dot
  gmHollowBreakpoint,  // a red ring: a breakpoint on a line without a statement
  gmCurrentStatement,  // an arrow: the statement that runs next
  gmRunError           // a red cross: where a run-time error happened
};

class TLineMarks {
 public:
  explicit TLineMarks(QTextDocument *document);
  ~TLineMarks();
  TLineMarks(const TLineMarks &) = delete;
  TLineMarks &operator=(const TLineMarks &) = delete;

  // Lines are 0-based indexes (block numbers); one outside the text does nothing.
  void Set(int line, TGutterMark kind, bool on);
  bool Has(int line, TGutterMark kind) const;
  // Every mark of the line, one bit per TGutterMark.
  unsigned MarksOf(int line) const;
  void ClearAll(TGutterMark kind);
  // The lines with the mark, ascending.
  QList<int> LinesWith(TGutterMark kind) const;

  static unsigned Bit(TGutterMark kind) { return 1u << static_cast<unsigned>(kind); }

  struct TLedger;

 private:
  void ContentsChange(int position, int removed, int added);

  QTextDocument *Document;
  std::shared_ptr<TLedger> Ledger;
};

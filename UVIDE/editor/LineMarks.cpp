// Qt keeps a block's user data with the block object, which is nearly "with the line":
//   - lines inserted or removed above a line leave its block alone;
//   - removing whole lines destroys their blocks and their marks with them;
//   - joining two lines (a line break removed) keeps the upper block and destroys the lower.
// Two edits need help:
//   - a line break inserted at the very start of a line (Enter at column 0, a paste) leaves
//     the old block, and its marks, on the new empty line above the text; the marks are moved
//     down to the block that now holds the line's text, and the upper block remembers what it
//     lent, because undoing the insertion destroys the lower block and keeps the upper one;
//   - a join destroys the lower line's block although its text lives on in the joined line;
//     the joined line takes the lower line's marks.
// The data of a destroyed block reports its marks to the ledger, which the next contentsChange
// reads.
#include "LineMarks.h"

#include <QTextBlock>
#include <QTextDocument>

struct TLineMarks::TLedger {
  std::vector<unsigned> Destroyed;  // marks of the blocks destroyed since the last change
};

namespace {

class TMarkData final : public QTextBlockUserData {
 public:
  explicit TMarkData(std::shared_ptr<TLineMarks::TLedger> ledger) : Ledger(std::move(ledger)) {}
  ~TMarkData() override { Ledger->Destroyed.push_back(Marks); }

  unsigned Marks = 0;
  unsigned Lent = 0;  // marks moved down to the next block by a line break inserted before them

 private:
  std::shared_ptr<TLineMarks::TLedger> Ledger;
};

TMarkData *DataOf(const QTextBlock &block) {
  return block.isValid() ? dynamic_cast<TMarkData *>(block.userData()) : nullptr;
}

}  // namespace

TLineMarks::TLineMarks(QTextDocument *document)
    : Document(document), Ledger(std::make_shared<TLedger>()) {
  QObject::connect(Document, &QTextDocument::contentsChange, Document,
                   [this](int position, int removed, int added) {
                     ContentsChange(position, removed, added);
                   });
}

TLineMarks::~TLineMarks() {
  QObject::disconnect(Document, &QTextDocument::contentsChange, Document, nullptr);
}

void TLineMarks::Set(int line, TGutterMark kind, bool on) {
  QTextBlock block = Document->findBlockByNumber(line);
  if (line < 0 || !block.isValid()) return;
  TMarkData *data = DataOf(block);
  if (data == nullptr) {
    if (!on) return;
    data = new TMarkData(Ledger);
    block.setUserData(data);
  }
  if (on) data->Marks |= Bit(kind);
  else data->Marks &= ~Bit(kind);
}

unsigned TLineMarks::MarksOf(int line) const {
  const TMarkData *data = line >= 0 ? DataOf(Document->findBlockByNumber(line)) : nullptr;
  return data != nullptr ? data->Marks : 0;
}

bool TLineMarks::Has(int line, TGutterMark kind) const { return (MarksOf(line) & Bit(kind)) != 0; }

void TLineMarks::ClearAll(TGutterMark kind) {
  for (QTextBlock block = Document->begin(); block.isValid(); block = block.next())
    if (TMarkData *data = DataOf(block)) {
      data->Marks &= ~Bit(kind);
      data->Lent &= ~Bit(kind);
    }
}

QList<int> TLineMarks::LinesWith(TGutterMark kind) const {
  QList<int> lines;
  for (QTextBlock block = Document->begin(); block.isValid(); block = block.next())
    if (const TMarkData *data = DataOf(block); data != nullptr && (data->Marks & Bit(kind)))
      lines.append(block.blockNumber());
  return lines;
}

void TLineMarks::ContentsChange(int position, int removed, int added) {
  std::vector<unsigned> destroyed;
  destroyed.swap(Ledger->Destroyed);
  QTextBlock block = Document->findBlock(position);
  TMarkData *data = DataOf(block);
  const bool atLineStart = block.isValid() && block.position() == position;

  if (removed == 0 && added > 0 && atLineStart && data != nullptr && data->Marks != 0) {
    // Line breaks inserted before the line's text: the marks go down with the text.
    QTextBlock text = Document->findBlock(position + added);
    if (text.isValid() && text != block) {
      auto *moved = new TMarkData(Ledger);
      moved->Marks = data->Marks;
      text.setUserData(moved);  // replaces nothing: the block was just made
      Ledger->Destroyed.clear();
      data->Lent = data->Marks;
      data->Marks = 0;
    }
    return;
  }
  if (destroyed.empty() || added != 0 || !block.isValid() || Document->isEmpty()) return;
  // Lines were joined or removed; the last destroyed block is the lowest line involved.
  const unsigned lower = destroyed.back();
  if (atLineStart) {
    // Whole lines removed: the line here kept its own block, unless an insertion before its
    // text was undone, which destroyed the block the marks had been lent to.
    if (data != nullptr && data->Lent != 0) {
      data->Marks |= lower & data->Lent;
      data->Lent = 0;
    }
    return;
  }
  if (lower == 0) return;
  if (data == nullptr) {
    data = new TMarkData(Ledger);
    block.setUserData(data);
  }
  data->Marks |= lower;
}

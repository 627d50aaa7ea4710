// The editor's QTextEdit as the highlighter's rich-text control.
#include "QtRichText.h"

#include <QFont>
#include <QPalette>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include <algorithm>

#include "EditorFont.h"

namespace {

TColor FromQColor(const QColor &c) {
  return RGB(static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
             static_cast<std::uint8_t>(c.blue()));
}

QColor ToQColor(TColor c) { return QColor(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF)); }

QTextCharFormat FormatOf(const TQtRichText::TCharAttr &a) {
  QTextCharFormat f;
  f.setFontWeight(a.Style & fsBold ? QFont::Bold : QFont::Normal);
  f.setFontItalic(a.Style & fsItalic);
  f.setFontUnderline(a.Style & fsUnderline);
  f.setFontStrikeOut(a.Style & fsStrikeOut);
  if (a.Color != clDefault) f.setForeground(ToQColor(a.Color));
  return f;
}

TQtRichText::TCharAttr AttrOf(const QTextCharFormat &f) {
  TQtRichText::TCharAttr a;
  if (f.hasProperty(QTextFormat::FontWeight) && f.fontWeight() >= QFont::Bold) a.Style |= fsBold;
  if (f.fontItalic()) a.Style |= fsItalic;
  if (f.fontUnderline()) a.Style |= fsUnderline;
  if (f.fontStrikeOut()) a.Style |= fsStrikeOut;
  if (f.hasProperty(QTextFormat::ForegroundBrush)) a.Color = FromQColor(f.foreground().color());
  return a;
}

}  // namespace

TQtRichText::TQtRichText(QTextEdit *edit) : Edit(edit), Doc(edit->document()) {
  KnownLineCount = Doc->blockCount();
}

TQtRichText::~TQtRichText() { QObject::disconnect(Watch); }

void TQtRichText::ConfigureEditor(QTextEdit *edit) {
  edit->setAcceptRichText(false);
  edit->setLineWrapMode(QTextEdit::NoWrap);
  edit->setWordWrapMode(QTextOption::NoWrap);
  edit->setTabChangesFocus(false);
  const QFont font = EditorFont(13);
  edit->setFont(font);
  edit->document()->setDefaultFont(font);
  // The colours are chosen for black text on white, whatever the desktop's theme.
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  edit->setPalette(palette);
}

void TQtRichText::InitHighlighter() {
  QObject::disconnect(Watch);
  KnownLineCount = Doc->blockCount();
  H.InitHighlighter();
  Watch = QObject::connect(Doc, &QTextDocument::contentsChange, Edit,
                           [this](int position, int removed, int added) {
                             ContentsChange(position, removed, added);
                           });
  Following = true;
}

void TQtRichText::DoneHighlighter() {
  QObject::disconnect(Watch);
  Following = false;
  H.DoneHighlighter();
}

void TQtRichText::RecolorLines(int firstLine, int lastLine) { H.RecolorLines(firstLine, lastLine); }

void TQtRichText::RecolorAll() { H.RecolorLines(0, LineCount() - 1); }

void TQtRichText::ContentsChange(int position, int removed, int added) {
  // The cache and the selection are settled at the end of every colouring, so nothing is
  // pending here.
  const int before = KnownLineCount;
  KnownLineCount = Doc->blockCount();
  if (!Following || !Attached) return;
  H.NoteChangeDone(position, removed, added, before);
  H.HighlightAfterChange();
}

int TQtRichText::LineCount() const { return Doc->blockCount(); }

std::string TQtRichText::LineText(int line) const {
  return LineBytes(Doc->findBlockByNumber(line).text());
}

std::string TQtRichText::LineBytes(const QString &text) {
  std::string bytes(static_cast<std::size_t>(text.size()), '\0');
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t u = text[i].unicode();
    bytes[static_cast<std::size_t>(i)] = u < 0x80 ? static_cast<char>(u) : static_cast<char>(0x80);
  }
  return bytes;
}

int TQtRichText::LineIndex(int line) const {
  const QTextBlock block = Doc->findBlockByNumber(line);
  return block.isValid() ? block.position() : -1;
}

int TQtRichText::LineFromChar(int position) const {
  const QTextBlock block = Doc->findBlock(std::max(position, 0));
  return block.isValid() ? block.blockNumber() : Doc->blockCount() - 1;
}

int TQtRichText::Clamp(int position) const {
  return std::clamp(position, 0, std::max(Doc->characterCount() - 1, 0));
}

int TQtRichText::SelStart() const {
  return PendingSelection ? SelBegin : Edit->textCursor().selectionStart();
}

void TQtRichText::SetSelStart(int position) {
  SelBegin = Clamp(position);
  SelLen = 0;
  PendingSelection = true;
}

void TQtRichText::SetSelLength(int length) {
  if (!PendingSelection) {
    SelBegin = SelStart();
    PendingSelection = true;
  }
  SelLen = Clamp(SelBegin + std::max(length, 0)) - SelBegin;
}

void TQtRichText::ApplySelection() {
  if (!PendingSelection) return;
  PendingSelection = false;
  QTextCursor cursor = Edit->textCursor();
  if (cursor.anchor() == SelBegin && cursor.position() == SelBegin + SelLen) return;
  cursor.setPosition(SelBegin);
  if (SelLen > 0) cursor.setPosition(SelBegin + SelLen, QTextCursor::KeepAnchor);
  Edit->setTextCursor(cursor);
}

// The few formats in use are built once and shared.
QTextCharFormat TQtRichText::CachedFormat(const TCharAttr &a) const {
  for (const auto &[attr, format] : Formats)
    if (attr == a) return format;
  Formats.emplace_back(a, FormatOf(a));
  return Formats.back().second;
}

std::vector<TQtRichText::TCharAttr> TQtRichText::DisplayedLine(const QTextBlock &block) {
  std::vector<TCharAttr> attrs(static_cast<std::size_t>(std::max(block.length() - 1, 0)));
  const int size = static_cast<int>(attrs.size());
  for (const QTextLayout::FormatRange &r : block.layout()->formats()) {
    const TCharAttr a = AttrOf(r.format);
    for (int i = std::max(r.start, 0); i < std::min(r.start + r.length, size); ++i)
      attrs[static_cast<std::size_t>(i)] = a;
  }
  return attrs;
}

std::vector<TQtRichText::TCharAttr> &TQtRichText::Cached(const QTextBlock &block) const {
  if (block.blockNumber() != CacheBlock) {
    FlushCache();
    CacheAttrs = DisplayedLine(block);
    CacheBlock = block.blockNumber();
    CachePos = block.position();
  }
  return CacheAttrs;
}

void TQtRichText::FlushCache() const {
  if (!CacheDirty) return;
  CacheDirty = false;
  const QTextBlock block = Doc->findBlockByNumber(CacheBlock);
  if (!block.isValid()) return;
  QList<QTextLayout::FormatRange> ranges;
  const int size = static_cast<int>(CacheAttrs.size());
  for (int i = 0; i < size;) {
    const TCharAttr a = CacheAttrs[static_cast<std::size_t>(i)];
    int j = i + 1;
    while (j < size && CacheAttrs[static_cast<std::size_t>(j)] == a) ++j;
    if (!(a == TCharAttr{})) ranges.append({i, j - i, CachedFormat(a)});
    i = j;
  }
  block.layout()->setFormats(ranges);
  // Lays the block out again with its new formats; this changes no text and emits no
  // contentsChange.
  Doc->markContentsDirty(block.position(), block.length());
}

// Calls visit(attrs, from, to) for the part of the selection in each block it touches.
template <typename F>
void TQtRichText::ForSelection(F visit) const {
  const int begin = SelStart();
  const int end = PendingSelection ? SelBegin + SelLen : Edit->textCursor().selectionEnd();
  const int cachedEnd = CachePos + static_cast<int>(CacheAttrs.size());
  if (CacheBlock >= 0 && begin >= CachePos && end <= cachedEnd) {
    // The usual case: a run inside the block in hand.
    visit(CacheAttrs, begin - CachePos, std::max(end, begin) - CachePos);
    return;
  }
  for (QTextBlock block = Doc->findBlock(begin); block.isValid() && block.position() < std::max(end, begin + 1);
       block = block.next()) {
    std::vector<TCharAttr> &attrs = Cached(block);
    const int from = std::max(begin - block.position(), 0);
    const int to = std::min(end - block.position(), static_cast<int>(attrs.size()));
    visit(attrs, from, std::max(to, from));
  }
}

TFontStyles TQtRichText::SelStyle() const {
  TFontStyles style = 0;
  bool found = false;
  ForSelection([&](std::vector<TCharAttr> &attrs, int from, int) {
    if (!found && from < static_cast<int>(attrs.size())) {
      style = attrs[static_cast<std::size_t>(from)].Style;
      found = true;
    }
  });
  return style;
}

TColor TQtRichText::SelColor() const {
  TColor color = clDefault;
  bool found = false;
  ForSelection([&](std::vector<TCharAttr> &attrs, int from, int) {
    if (!found && from < static_cast<int>(attrs.size())) {
      color = attrs[static_cast<std::size_t>(from)].Color;
      found = true;
    }
  });
  return color;
}

void TQtRichText::SetSelStyle(TFontStyles style) {
  ForSelection([&](std::vector<TCharAttr> &attrs, int from, int to) {
    for (int i = from; i < to; ++i) attrs[static_cast<std::size_t>(i)].Style = style;
    CacheDirty |= from < to;
  });
}

void TQtRichText::SetSelColor(TColor color) {
  ForSelection([&](std::vector<TCharAttr> &attrs, int from, int to) {
    for (int i = from; i < to; ++i) attrs[static_cast<std::size_t>(i)].Color = color;
    CacheDirty |= from < to;
  });
}

TConsistentAttributes TQtRichText::SelConsistentAttributes() const {
  TConsistentAttributes ca = caBold | caColor | caItalic | caUnderline | caStrikeOut;
  bool haveFirst = false;
  TCharAttr first;
  ForSelection([&](std::vector<TCharAttr> &attrs, int from, int to) {
    for (int i = from; i < to; ++i) {
      const TCharAttr a = attrs[static_cast<std::size_t>(i)];
      if (!haveFirst) {
        first = a;
        haveFirst = true;
        continue;
      }
      const TFontStyles diff = a.Style ^ first.Style;
      if (diff & fsBold) ca &= ~caBold;
      if (diff & fsItalic) ca &= ~caItalic;
      if (diff & fsUnderline) ca &= ~caUnderline;
      if (diff & fsStrikeOut) ca &= ~caStrikeOut;
      if (a.Color != first.Color) ca &= ~caColor;
    }
  });
  return ca;
}

void TQtRichText::EndOfColouring() {
  // The cache lives for one colouring only: between two, the document may change.
  FlushCache();
  CacheBlock = -1;
  CacheAttrs.clear();
  ApplySelection();
}

void TQtRichText::SetChangeHandlerAttached(bool attached) {
  EndOfColouring();
  Attached = attached;
}

bool TQtRichText::Enabled() const { return Edit->viewport()->updatesEnabled(); }

void TQtRichText::SetEnabled(bool enabled) {
  EndOfColouring();
  Edit->viewport()->setUpdatesEnabled(enabled);
}

void TQtRichText::SetFocus() {
  EndOfColouring();
  Edit->setFocus();
}

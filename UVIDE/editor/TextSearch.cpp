#include "TextSearch.h"

#include <algorithm>

#include <QTextBlock>
#include <QTextDocument>

namespace {

bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

bool WholeWordAt(const QString &line, qsizetype at, qsizetype length) {
  return (at == 0 || !IsWordChar(line[at - 1])) &&
         (at + length >= line.size() || !IsWordChar(line[at + length]));
}

Qt::CaseSensitivity Case(TFindOptions options) {
  return options.MatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

// The first match in the line starting at or after `from`; -1 when none.
qsizetype FirstInLine(const QString &line, const QString &text, TFindOptions options, qsizetype from) {
  for (qsizetype at = line.indexOf(text, from, Case(options)); at >= 0;
       at = line.indexOf(text, at + 1, Case(options)))
    if (!options.WholeWord || WholeWordAt(line, at, text.size())) return at;
  return -1;
}

// The last match in the line ending at or before `end`; -1 when none.
qsizetype LastInLine(const QString &line, const QString &text, TFindOptions options, qsizetype end) {
  qsizetype from = end - text.size();
  if (from < 0) return -1;
  for (qsizetype at = line.lastIndexOf(text, from, Case(options)); at >= 0;
       at = at == 0 ? -1 : line.lastIndexOf(text, at - 1, Case(options)))
    if (!options.WholeWord || WholeWordAt(line, at, text.size())) return at;
  return -1;
}

QTextCursor Selecting(QTextDocument *document, int position, qsizetype length) {
  QTextCursor cursor(document);
  cursor.setPosition(position);
  cursor.setPosition(position + static_cast<int>(length), QTextCursor::KeepAnchor);
  return cursor;
}

}  // namespace

QList<QTextCursor> FindAll(QTextDocument *document, const QString &text, TFindOptions options,
                           int firstLine, int lastLine) {
  QList<QTextCursor> found;
  if (text.isEmpty()) return found;
  for (QTextBlock block = document->findBlockByNumber(std::max(firstLine, 0));
       block.isValid() && (lastLine < 0 || block.blockNumber() <= lastLine); block = block.next()) {
    const QString line = block.text();
    for (qsizetype at = FirstInLine(line, text, options, 0); at >= 0;
         at = FirstInLine(line, text, options, at + text.size()))
      found.append(Selecting(document, block.position() + static_cast<int>(at), text.size()));
  }
  return found;
}

QTextCursor FindFrom(QTextDocument *document, const QString &text, TFindOptions options, int from,
                     bool backward, bool &wrapped) {
  wrapped = false;
  if (text.isEmpty()) return {};
  const QTextBlock start = document->findBlock(from);
  if (!start.isValid()) return {};
  // Each line once from the start line on, then the start line again for the part skipped.
  QTextBlock block = start;
  for (int round = 0; round <= document->blockCount(); ++round) {
    const QString line = block.text();
    qsizetype at;
    if (!backward) {
      const qsizetype after = round == 0 ? from - block.position() : 0;
      at = FirstInLine(line, text, options, after);
      if (round == document->blockCount() && at >= from - block.position()) at = -1;
    } else {
      const qsizetype before = round == 0 ? from - block.position() : line.size();
      at = LastInLine(line, text, options, before);
      if (round == document->blockCount() && at + text.size() <= from - block.position()) at = -1;
    }
    if (at >= 0) return Selecting(document, block.position() + static_cast<int>(at), text.size());
    block = backward ? block.previous() : block.next();
    if (!block.isValid()) {
      block = backward ? document->lastBlock() : document->firstBlock();
      wrapped = true;
    }
  }
  return {};
}

bool SelectsMatch(const QTextCursor &cursor, const QString &text, TFindOptions options) {
  if (!cursor.hasSelection() || text.isEmpty()) return false;
  const QTextBlock block = cursor.document()->findBlock(cursor.selectionStart());
  const qsizetype at = cursor.selectionStart() - block.position();
  return cursor.selectionEnd() - cursor.selectionStart() == text.size() &&
         FirstInLine(block.text(), text, options, at) == at;
}

int ReplaceAll(QTextDocument *document, const QString &text, const QString &replacement,
               TFindOptions options) {
  const QList<QTextCursor> matches = FindAll(document, text, options);
  if (matches.isEmpty()) return 0;
  // The cursors follow the earlier replacements by themselves.
  QTextCursor edit(document);
  edit.beginEditBlock();
  for (QTextCursor match : matches) match.insertText(replacement);
  edit.endEditBlock();
  return static_cast<int>(matches.size());
}

// Finding a text in the editor's document: one line at a time (the searched text holds no line
// break), optionally matching case, optionally whole words only (a word being letters, digits
// and _ as in a program's names).
#pragma once

#include <QList>
#include <QString>
#include <QTextCursor>

class QTextDocument;

struct TFindOptions {
  bool MatchCase = false;
  bool WholeWord = false;
  bool operator==(const TFindOptions &) const = default;
};

// Every match in the lines first..last (0-based, all lines by default), in text order, each
// as a cursor selecting it.
QList<QTextCursor> FindAll(QTextDocument *document, const QString &text, TFindOptions options,
                           int firstLine = 0, int lastLine = -1);

// The first match starting at or after `from` (backward: the last one ending at or before it),
// going round the end of the text when there is none; null when the text has no match at all.
// `wrapped` tells whether the search went round.
QTextCursor FindFrom(QTextDocument *document, const QString &text, TFindOptions options, int from,
                     bool backward, bool &wrapped);

// Whether the cursor's selection is exactly a match.
bool SelectsMatch(const QTextCursor &cursor, const QString &text, TFindOptions options);

// Replaces every match as one undo step; the number replaced.
int ReplaceAll(QTextDocument *document, const QString &text, const QString &replacement,
               TFindOptions options);

#include "EditorPane.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>

#include "CodeEditor.h"
#include "FindBar.h"

TEditorPane::TEditorPane(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("EditorPane"));
  EditorWidget = new TCodeEditor(this);
  Bar = new TFindBar(this);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(EditorWidget, 1);
  layout->addWidget(Bar);

  connect(Bar, &TFindBar::FindTextChanged, this, [this] {
    // Finding while typing: the first match from where the selection starts.
    HighlightMatches();
    Find(false, EditorWidget->textCursor().selectionStart());
  });
  connect(Bar, &TFindBar::OptionsChanged, this, [this] {
    HighlightMatches();
    emit FindOptionsChanged(Bar->Options());
  });
  connect(Bar, &TFindBar::NextRequested, this, &TEditorPane::FindNext);
  connect(Bar, &TFindBar::PreviousRequested, this, &TEditorPane::FindPrevious);
  connect(Bar, &TFindBar::ReplaceRequested, this, &TEditorPane::ReplaceOne);
  connect(Bar, &TFindBar::ReplaceAllRequested, this, &TEditorPane::ReplaceEvery);
  connect(Bar, &TFindBar::CloseRequested, this, &TEditorPane::CloseFind);
  // Matches come and go with edits; they are looked for again once typing pauses.
  RefreshTimer.setSingleShot(true);
  RefreshTimer.setInterval(150);
  connect(&RefreshTimer, &QTimer::timeout, this, &TEditorPane::HighlightMatches);
  connect(EditorWidget->document(), &QTextDocument::contentsChange, this,
          [this](int, int removed, int added) {
            if (Bar->isVisible() && (removed != 0 || added != 0)) RefreshTimer.start();
          });
  ScrollTimer.setSingleShot(true);
  ScrollTimer.setInterval(0);
  connect(&ScrollTimer, &QTimer::timeout, this, &TEditorPane::HighlightMatches);
  connect(EditorWidget->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
    if (Bar->isVisible()) ScrollTimer.start();
  });
}

void TEditorPane::OpenFind(bool replace) {
  const QTextCursor caret = EditorWidget->textCursor();
  QString text;
  if (caret.hasSelection() && caret.block().contains(caret.selectionEnd()) &&
      caret.block().contains(caret.selectionStart()))
    text = caret.selectedText();
  const QSignalBlocker quiet(Bar);  // opening is not typing: the selection stays
  Bar->Open(replace, text);
  HighlightMatches();
}

void TEditorPane::CloseFind() {
  RefreshTimer.stop();
  Bar->hide();
  EditorWidget->SetSelections(TSelectionLayer::slFindMatches, {});
  EditorWidget->setFocus();
}

void TEditorPane::HighlightMatches() {
  QList<QTextEdit::ExtraSelection> marks;
  if (Bar->isVisible()) {
    const auto [first, last] = EditorWidget->VisibleLines();
    const QList<QTextCursor> found = FindAll(EditorWidget->document(), Bar->FindText(),
                                             Bar->Options(), first - MatchMargin, last + MatchMargin);
    marks.reserve(found.size());
    for (const QTextCursor &match : found) {
      QTextEdit::ExtraSelection mark;
      mark.cursor = match;
      mark.format.setBackground(MatchColour());
      marks.append(mark);
    }
  }
  EditorWidget->SetSelections(TSelectionLayer::slFindMatches, marks);
}

void TEditorPane::Find(bool backward, int from) {
  const QString text = Bar->FindText();
  if (text.isEmpty()) {
    emit Message({});
    return;
  }
  bool wrapped = false;
  const QTextCursor match =
      FindFrom(EditorWidget->document(), text, Bar->Options(), from, backward, wrapped);
  if (match.isNull()) {
    emit Message(QStringLiteral("Not found"));
    return;
  }
  EditorWidget->setTextCursor(match);
  EditorWidget->ensureCursorVisible();
  emit Message(wrapped ? QStringLiteral("Search wrapped") : QString());
}

void TEditorPane::FindNext() {
  if (Bar->FindText().isEmpty()) {
    OpenFind(false);
    return;
  }
  Find(false, EditorWidget->textCursor().selectionEnd());
}

void TEditorPane::FindPrevious() {
  if (Bar->FindText().isEmpty()) {
    OpenFind(false);
    return;
  }
  Find(true, EditorWidget->textCursor().selectionStart());
}

void TEditorPane::ReplaceOne() {
  QTextCursor caret = EditorWidget->textCursor();
  if (!EditorWidget->isReadOnly() && SelectsMatch(caret, Bar->FindText(), Bar->Options())) {
    caret.insertText(Bar->ReplaceText());
    EditorWidget->setTextCursor(caret);
  }
  FindNext();
}

void TEditorPane::ReplaceEvery() {
  if (EditorWidget->isReadOnly()) return;
  const int count =
      ReplaceAll(EditorWidget->document(), Bar->FindText(), Bar->ReplaceText(), Bar->Options());
  HighlightMatches();
  if (count == 0) emit Message(QStringLiteral("Not found"));
  else if (count == 1) emit Message(QStringLiteral("Replaced 1 occurrence"));
  else emit Message(QStringLiteral("Replaced %1 occurrences").arg(count));
}

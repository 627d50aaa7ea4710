// The editor's QTextEdit as the highlighter's rich-text control, and the highlighter that
// colours it while the user types.
//
// Attaching it (the editor window, RichEdit1):
//   - The editor is a QTextEdit holding plain text (setAcceptRichText(false)), without line
//     wrapping, in a monospace font; ConfigureEditor sets exactly that. A line of the
//     highlighter is a block of the document.
//   - FormCreate: construct a TQtRichText for the editor and call InitHighlighter(). From then
//     on every change of the document (typing, paste, cut, delete, undo, redo, setPlainText,
//     clear) is followed through the document's contentsChange signal and recoloured; the
//     window makes no call of its own for an edit. RichEdit1Change (textChanged) stays the
//     window's: it only enables Save.
//   - LoadFile: after setPlainText, call RecolorAll() (RecolorLines(0, LineCount() - 1)).
//     The document change has already recoloured the text, so this only confirms it.
//   - New (clear()): nothing to call.
//   - FormDestroy: DoneHighlighter(), or just destroy the TQtRichText before the editor.
//   - The editor's document must stay the same QTextDocument while the TQtRichText lives.
//
// The colours are display only. They are kept as additional formats of each block's layout
// (as QSyntaxHighlighter keeps its own), never as character formats of the document, so they
// are not in the undo history, do not set the document's modified flag, emit no textChanged,
// and toPlainText/toRawText carry none of them.
//
// The control's "disabled" state while colouring holds back the viewport's repainting; the
// widget's own enabled state is left alone, since disabling it would take the keyboard focus
// away on every key. The "selection" the highlighter moves over each run is kept here and
// reaches the editor's cursor only when the colouring ends, collapsed at the old selection
// start, as the highlighter asks.
#pragma once

#include <QMetaObject>
#include <QTextBlock>
#include <QTextCharFormat>

#include <utility>
#include <vector>

#include "RichText.h"
#include "UWRichEdit.h"

class QTextEdit;
class QTextDocument;

class TQtRichText : public IRichText {
 public:
  explicit TQtRichText(QTextEdit *edit);
  ~TQtRichText() override;
  TQtRichText(const TQtRichText &) = delete;
  TQtRichText &operator=(const TQtRichText &) = delete;

  // Plain-text content, no wrapping, tab inserts a tab, the fixed-pitch EditorFont 13 pixels
  // high, black text on white (the colours are chosen for that).
  static void ConfigureEditor(QTextEdit *edit);

  // Colours the whole text and starts following the document's changes.
  void InitHighlighter();
  // Stops following changes and releases the highlighter's per-line state.
  void DoneHighlighter();
  void RecolorLines(int firstLine, int lastLine);
  void RecolorAll();

  TUWHighlighter &Highlighter() { return H; }
  const TUWHighlighter &Highlighter() const { return H; }
  // A line as the highlighter reads it: one byte per character, 0x80 for one outside ASCII.
  static std::string LineBytes(const QString &text);

  int LineCount() const override;
  std::string LineText(int line) const override;
  int LineIndex(int line) const override;
  int LineFromChar(int position) const override;
  int SelStart() const override;
  void SetSelStart(int position) override;
  void SetSelLength(int length) override;
  TFontStyles SelStyle() const override;
  void SetSelStyle(TFontStyles style) override;
  TColor SelColor() const override;
  void SetSelColor(TColor color) override;
  TConsistentAttributes SelConsistentAttributes() const override;
  bool ChangeHandlerAttached() const override { return Attached; }
  void SetChangeHandlerAttached(bool attached) override;
  bool Enabled() const override;
  void SetEnabled(bool enabled) override;
  void SetFocus() override;

  struct TCharAttr {
    TFontStyles Style = 0;
    TColor Color = clDefault;
    bool operator==(const TCharAttr &) const = default;
  };
  // The colouring of one line as it is displayed, a style and colour per character.
  static std::vector<TCharAttr> DisplayedLine(const QTextBlock &block);

 private:
  void ContentsChange(int position, int removed, int added);
  // The attributes of the characters [from, to) of a block pass through a cache of one
  // block, written back to its layout when another block is needed or the colouring ends.
  std::vector<TCharAttr> &Cached(const QTextBlock &block) const;
  void FlushCache() const;
  QTextCharFormat CachedFormat(const TCharAttr &a) const;
  template <typename F>
  void ForSelection(F visit) const;
  void ApplySelection();
  void EndOfColouring();
  int Clamp(int position) const;

  QTextEdit *Edit;
  QTextDocument *Doc;
  TUWHighlighter H{*this};
  QMetaObject::Connection Watch;
  int KnownLineCount = 1;
  bool Attached = true;
  bool Following = false;

  bool PendingSelection = false;
  int SelBegin = 0;
  int SelLen = 0;

  mutable int CacheBlock = -1;
  mutable int CachePos = 0;
  mutable std::vector<TCharAttr> CacheAttrs;
  mutable bool CacheDirty = false;
  mutable std::vector<std::pair<TCharAttr, QTextCharFormat>> Formats;
};

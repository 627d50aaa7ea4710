#include "HelpWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

QByteArray GuideSource() {
  QFile file(QStringLiteral(":/help/LanguageGuide.md"));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

THelpWindow::THelpWindow(QWidget *owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Ulvan Language Guide"));
  setAttribute(Qt::WA_QuitOnClose, false);
  SearchField = new QLineEdit(this);
  SearchField->setObjectName(QStringLiteral("GuideSearch"));
  SearchField->setPlaceholderText(QStringLiteral("Search"));
  SearchField->setClearButtonEnabled(true);
  Topics = new QListWidget(this);
  Topics->setObjectName(QStringLiteral("GuideTopics"));
  Text = new QTextBrowser(this);
  Text->setObjectName(QStringLiteral("GuideText"));
  auto *split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(Topics);
  split->addWidget(Text);
  split->setStretchFactor(1, 1);
  split->setSizes({200, 520});
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(SearchField);
  layout->addWidget(split, 1);
  resize(760, 560);

  const QByteArray source = GuideSource();
  if (source.isEmpty()) {
    Text->setPlainText(QStringLiteral("The Language Guide is missing from this build of Ulvan."));
    return;
  }
  Text->setMarkdown(QString::fromUtf8(source));
  EntryList = GuideEntries(source.toStdString());
  // The headings of the shown text, in order, are the entries; each entry's text runs to the
  // next heading.
  for (QTextBlock block = Text->document()->begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() > 0) {
      HeadingBlocks.push_back(block.blockNumber());
      Bodies.append(QString());
    }
    if (!Bodies.isEmpty()) Bodies.back() += block.text() + QLatin1Char('\n');
  }
  if (HeadingBlocks.size() != EntryList.size()) {
    // Not expected: then the list goes by the shown headings alone.
    EntryList.clear();
    for (int number : HeadingBlocks) {
      const QTextBlock block = Text->document()->findBlockByNumber(number);
      EntryList.push_back({block.blockFormat().headingLevel(), block.text().toStdString(), {}});
    }
  }
  for (const TGuideEntry &entry : EntryList)
    Topics->addItem(QString(2 * std::max(entry.Level - 1, 0), QLatin1Char(' ')) +
                    QString::fromStdString(entry.Title));

  connect(SearchField, &QLineEdit::textChanged, this, &THelpWindow::Filter);
  connect(SearchField, &QLineEdit::returnPressed, this, [this] {
    const std::vector<int> visible = VisibleEntries();
    if (!visible.empty()) ShowEntry(visible.front());
  });
  connect(Topics, &QListWidget::itemClicked, this,
          [this](QListWidgetItem *item) { ShowEntry(Topics->row(item)); });
  connect(Topics, &QListWidget::itemActivated, this,
          [this](QListWidgetItem *item) { ShowEntry(Topics->row(item)); });
}

std::vector<int> THelpWindow::VisibleEntries() const {
  std::vector<int> visible;
  for (int i = 0; i < Topics->count(); ++i)
    if (!Topics->item(i)->isHidden()) visible.push_back(i);
  return visible;
}

void THelpWindow::Filter(const QString &text) {
  const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  for (int i = 0; i < Topics->count(); ++i) {
    bool shown = true;
    for (const QString &word : words)
      shown = shown && Bodies.value(i).contains(word, Qt::CaseInsensitive);
    Topics->item(i)->setHidden(!shown);
  }
}

bool THelpWindow::ShowWord(const QString &word) {
  const int index = word.isEmpty() ? -1 : FindGuideEntry(EntryList, word.toStdString());
  if (index < 0) {
    Present();
    return false;
  }
  ShowEntry(index);
  return true;
}

void THelpWindow::ShowEntry(int index) {
  if (index < 0 || index >= static_cast<int>(HeadingBlocks.size())) return;
  Current = index;
  Topics->setCurrentRow(index);
  // The heading at the top of the text.
  const QTextBlock block = Text->document()->findBlockByNumber(HeadingBlocks[static_cast<std::size_t>(index)]);
  QTextCursor caret(block);
  Text->setTextCursor(caret);
  Present();
  const QRectF where = Text->document()->documentLayout()->blockBoundingRect(block);
  Text->verticalScrollBar()->setValue(static_cast<int>(where.top()));
}

void THelpWindow::Present() {
  show();
  raise();
  activateWindow();
}

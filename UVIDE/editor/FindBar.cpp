#include "FindBar.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFindBar::TFindBar(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("FindBar"));
  auto *grid = new QGridLayout(this);
  grid->setContentsMargins(4, 2, 4, 2);
  grid->setVerticalSpacing(2);
  auto button = [this](const char *name, const QString &caption, const QString &tip) {
    auto *b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
  };
  FindField = new QLineEdit(this);
  FindField->setObjectName(QStringLiteral("FindField"));
  FindField->setClearButtonEnabled(true);
  ReplaceField = new QLineEdit(this);
  ReplaceField->setObjectName(QStringLiteral("ReplaceField"));
  MatchCase = new QCheckBox(QStringLiteral("Match &case"), this);
  WholeWord = new QCheckBox(QStringLiteral("&Whole word"), this);
  PreviousButton = button("FindPrevious", QStringLiteral("Previous"), QStringLiteral("Find Previous (Shift+F3)"));
  NextButton = button("FindNext", QStringLiteral("Next"), QStringLiteral("Find Next (F3)"));
  ReplaceButton = button("Replace", QStringLiteral("Replace"), QStringLiteral("Replace this match and find the next"));
  ReplaceAllButton = button("ReplaceAll", QStringLiteral("Replace All"), QStringLiteral("Replace every match"));
  CloseButton = button("CloseFind", QStringLiteral("Close"), QStringLiteral("Close the find bar (Escape)"));
  ReplaceLabel = new QLabel(QStringLiteral("Replace with:"), this);

  grid->addWidget(new QLabel(QStringLiteral("Find:"), this), 0, 0);
  grid->addWidget(FindField, 0, 1);
  grid->addWidget(PreviousButton, 0, 2);
  grid->addWidget(NextButton, 0, 3);
  grid->addWidget(MatchCase, 0, 4);
  grid->addWidget(WholeWord, 0, 5);
  grid->addWidget(CloseButton, 0, 6);
  grid->addWidget(ReplaceLabel, 1, 0);
  grid->addWidget(ReplaceField, 1, 1);
  grid->addWidget(ReplaceButton, 1, 2);
  grid->addWidget(ReplaceAllButton, 1, 3);
  grid->setColumnStretch(1, 1);

  connect(FindField, &QLineEdit::textChanged, this, &TFindBar::FindTextChanged);
  connect(MatchCase, &QCheckBox::toggled, this, &TFindBar::OptionsChanged);
  connect(WholeWord, &QCheckBox::toggled, this, &TFindBar::OptionsChanged);
  connect(NextButton, &QPushButton::clicked, this, &TFindBar::NextRequested);
  connect(PreviousButton, &QPushButton::clicked, this, &TFindBar::PreviousRequested);
  connect(ReplaceButton, &QPushButton::clicked, this, &TFindBar::ReplaceRequested);
  connect(ReplaceAllButton, &QPushButton::clicked, this, &TFindBar::ReplaceAllRequested);
  connect(CloseButton, &QPushButton::clicked, this, &TFindBar::CloseRequested);
  for (QWidget *w : std::initializer_list<QWidget *>{FindField, ReplaceField, MatchCase, WholeWord,
                                                     PreviousButton, NextButton, ReplaceButton,
                                                     ReplaceAllButton, CloseButton})
    w->installEventFilter(this);
  hide();
}

QString TFindBar::FindText() const { return FindField->text(); }
QString TFindBar::ReplaceText() const { return ReplaceField->text(); }

TFindOptions TFindBar::Options() const { return {MatchCase->isChecked(), WholeWord->isChecked()}; }

void TFindBar::SetOptions(TFindOptions options) {
  MatchCase->setChecked(options.MatchCase);
  WholeWord->setChecked(options.WholeWord);
}

bool TFindBar::ReplaceShown() const { return ReplaceField->isVisibleTo(this); }

void TFindBar::Open(bool replace, const QString &text) {
  for (QWidget *w : std::initializer_list<QWidget *>{ReplaceLabel, ReplaceField, ReplaceButton,
                                                     ReplaceAllButton})
    w->setVisible(replace);
  if (!text.isEmpty()) FindField->setText(text);
  show();
  FindField->setFocus();
  FindField->selectAll();
}

bool TFindBar::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  auto *key = static_cast<QKeyEvent *>(event);
  if (key->key() == Qt::Key_Escape) {
    emit CloseRequested();
    return true;
  }
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    if (watched == ReplaceField) emit ReplaceRequested();
    else if (watched == FindField && (key->modifiers() & Qt::ShiftModifier)) emit PreviousRequested();
    else if (watched == FindField) emit NextRequested();
    else return QWidget::eventFilter(watched, event);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

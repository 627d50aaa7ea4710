#include "MachinePanel.h"

#include <algorithm>

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "EditorFont.h"
#include "LineMarker.h"

namespace {

const QColor CurrentColour = TLineMarker::MarkColour(TLineMarkKind::lmCurrentStatement);
const QColor ShadeColour(214, 230, 250);

}  // namespace

TMachinePanel::TMachinePanel(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("MachinePanel"));
  const QFont font = EditorFont(12);
  Registers = new QLabel(this);
  Registers->setObjectName(QStringLiteral("MachineRegisters"));
  Registers->setFont(font);
  Registers->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto *split = new QSplitter(Qt::Vertical, this);
  ListingView = new QListWidget(split);
  ListingView->setObjectName(QStringLiteral("MachineListing"));
  ListingView->setFont(font);
  ListingView->setUniformItemSizes(true);
  StackView = new QTreeWidget(split);
  StackView->setObjectName(QStringLiteral("MachineStack"));
  StackView->setFont(font);
  StackView->setColumnCount(4);
  StackView->setHeaderLabels({QStringLiteral("Address"), QStringLiteral("Bytes"),
                              QStringLiteral("Value"), QStringLiteral("Holds")});
  StackView->setRootIsDecorated(false);
  StackView->setUniformRowHeights(true);
  StackView->header()->setStretchLastSection(true);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(Registers);
  layout->addWidget(split);

  connect(ListingView, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
    const int index = ListingView->row(item);
    emit InstructionChosen(index, index < static_cast<int>(Lines.size()) ? Lines[index] : 0);
  });
}

void TMachinePanel::SetListing(const std::vector<QString> &instructions, std::vector<int> lines) {
  Clear();
  Lines = std::move(lines);
  Lines.resize(instructions.size(), 0);
  for (int i = 0; i < static_cast<int>(Lines.size()); ++i)
    if (Lines[i] != 0) InstructionsOfLine[Lines[i]].push_back(i);
  for (const QString &text : instructions) ListingView->addItem(text);
}

void TMachinePanel::Clear() {
  ListingView->clear();
  StackView->clear();
  Registers->clear();
  Lines.clear();
  InstructionsOfLine.clear();
  Current = -1;
  ShadedLine = 0;
}

void TMachinePanel::ShowState(int pc, int sp, int mp, const std::vector<TStackRow> &stack) {
  Registers->setText(QStringLiteral("PC %1   SP %2   MP %3").arg(pc).arg(sp).arg(mp));
  const int previous = Current;
  Current = pc >= 0 && pc < ListingView->count() ? pc : -1;
  Paint(previous);
  Paint(Current);
  if (Current >= 0) ListingView->scrollToItem(ListingView->item(Current));

  StackView->clear();
  for (const TStackRow &row : stack)
    new QTreeWidgetItem(StackView, {QString::number(row.Address), row.Bytes, row.Value, row.Label});
  // The stack's top is where things happen.
  if (StackView->topLevelItemCount() > 0)
    StackView->scrollToItem(StackView->topLevelItem(StackView->topLevelItemCount() - 1));
}

void TMachinePanel::ShadeLine(int line) {
  const std::vector<int> before = ShadedInstructions();
  ShadedLine = line;
  for (const int index : before) Paint(index);
  const std::vector<int> now = ShadedInstructions();
  for (const int index : now) Paint(index);
  if (!now.empty() && std::find(now.begin(), now.end(), Current) == now.end())
    ListingView->scrollToItem(ListingView->item(now.front()));
}

void TMachinePanel::Paint(int index) {
  if (index < 0 || index >= ListingView->count()) return;
  QListWidgetItem *item = ListingView->item(index);
  if (index == Current) item->setBackground(CurrentColour);
  else if (ShadedLine != 0 && Lines[index] == ShadedLine) item->setBackground(ShadeColour);
  else item->setBackground(QBrush());
}

std::vector<int> TMachinePanel::ShadedInstructions() const {
  const auto found = InstructionsOfLine.find(ShadedLine);
  return found == InstructionsOfLine.end() ? std::vector<int>() : found->second;
}

QString TMachinePanel::RegistersText() const { return Registers->text(); }

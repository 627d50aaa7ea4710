// The debugger's panels on plain data: the listing's highlight and shading, the tree of
// variables fetched on demand and kept open from stop to stop.
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "MachinePanel.h"
#include "VariablesPanel.h"

namespace {

std::vector<int> Painted(const TMachinePanel &panel) {
  std::vector<int> rows;
  for (int i = 0; i < panel.Listing()->count(); ++i)
    if (panel.Listing()->item(i)->background().style() != Qt::NoBrush) rows.push_back(i);
  return rows;
}

}  // namespace

TEST(MachinePanel, CurrentInstructionAndShadedLineAreTheOnlyPaintedRows) {
  struct TCase {
    int Pc;
    int Line;
    std::vector<int> Shaded;
    std::vector<int> Painted;
  };
  const TCase cases[] = {
      {2, 2, {1, 2}, {1, 2}},
      {2, 3, {3}, {2, 3}},  // the previous line's shade is gone
      {0, 0, {}, {0}},
      {4, 9, {}, {4}},      // a line without code shades nothing
      {7, 1, {0}, {0}},     // a PC outside the listing highlights nothing
  };
  TMachinePanel panel;
  panel.SetListing({"0 Enter", "1 PushInt 1", "2 StoreLocal", "3 Jmp 1", "4 Ret"},
                   {1, 2, 2, 3, 0});
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.Pc);
    panel.ShowState(c.Pc, 100, 90, {{96, "01 00 00 00", "1", "i: Integer"}});
    panel.ShadeLine(c.Line);
    EXPECT_EQ(panel.ShadedInstructions(), c.Shaded);
    EXPECT_EQ(Painted(panel), c.Painted);
  }
  EXPECT_EQ(panel.RegistersText(), "PC 7   SP 100   MP 90");
  EXPECT_EQ(panel.Stack()->topLevelItem(0)->text(3), "i: Integer");
}

TEST(MachinePanel, ClickingAnInstructionNamesItsLine) {
  TMachinePanel panel;
  panel.SetListing({"0 Enter", "1 PushInt 1", "2 Ret"}, {4, 5});  // the last has no line
  QSignalSpy chosen(&panel, &TMachinePanel::InstructionChosen);
  panel.show();
  for (int row : {1, 2}) {
    const QRect rect = panel.Listing()->visualItemRect(panel.Listing()->item(row));
    QTest::mouseClick(panel.Listing()->viewport(), Qt::LeftButton, {}, rect.center());
  }
  ASSERT_EQ(chosen.count(), 2);
  EXPECT_EQ(chosen[0], QVariantList({1, 5}));
  EXPECT_EQ(chosen[1], QVariantList({2, 0}));
}

TEST(VariablesPanel, ChildrenComeOnDemandAndOpenRowsStayOpen) {
  int fetches = 0;
  auto stop = [&](const QString &value, bool changed) {
    TVariableRow leaf{"key", value, "Integer", changed, {}};
    TVariableRow record{"r", "(key: " + value + ")", "TNode", changed, [&fetches, leaf] {
                          ++fetches;
                          return std::vector<TVariableRow>{leaf};
                        }};
    return std::vector<TVariableRow>{record, {"i", "3", "Integer", false, {}}};
  };
  TVariablesPanel panel;
  panel.Show(stop("5", false), {{"count", "0", "Integer", false, {}}});
  EXPECT_EQ(fetches, 0);
  ASSERT_NE(panel.Find("Globals/count"), nullptr);
  EXPECT_TRUE(panel.Find("Globals")->isExpanded());
  panel.Find("r")->setExpanded(true);
  panel.Find("Globals")->setExpanded(false);
  EXPECT_EQ(fetches, 1);

  panel.Show(stop("6", true), {{"count", "0", "Integer", false, {}}});
  EXPECT_EQ(fetches, 2);  // r is open again, with its new children
  ASSERT_NE(panel.Find("r/key"), nullptr);
  EXPECT_EQ(panel.Find("r/key")->text(1), "6");
  EXPECT_TRUE(TVariablesPanel::IsChanged(panel.Find("r/key")));
  EXPECT_FALSE(TVariablesPanel::IsChanged(panel.Find("i")));
  EXPECT_FALSE(panel.Find("Globals")->isExpanded());  // as the user left it
}

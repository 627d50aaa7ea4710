// The diagnostics list: what it shows, how it grows, where it leads and when it empties.
#include <set>

#include <QAction>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>

#include "DiagnosticHints.h"
#include "LineMarker.h"
#include "WindowFixture.h"

namespace {

class DiagnosticListTest : public WindowTest {
 protected:
  // A 20-line file, run with the given diagnostics from a failing compile.
  void RunWithDiagnostics(const std::vector<std::string> &lines, bool success = false) {
    QString text;
    for (int i = 1; i <= 20; ++i) text += QStringLiteral("line %1\n").arg(i);
    WriteBytes(Path("demo.pas"), text.toUtf8());
    Window->LoadFile(Path("demo.pas"));
    Parser->Success = success;
    Parser->Errors = lines;
    Parser->Program = HelloProgram("");
    Window->FileRun->trigger();
  }
  int CaretLine() const { return Window->RichEdit1->textCursor().blockNumber(); }
};

const std::string Hint2 = "[Hint] demo.pas(2): Converting Integer to Real";
const std::string Warning3 = "[Warning] demo.pas(3): Comparing different types";
const std::string Error7 = "[Error] demo.pas(7): ; missing";
const std::string Error9 = "[Error] demo.pas(9): Bad factor";

}  // namespace

TEST_F(DiagnosticListTest, FailedCompileSelectsTheFirstErrorAndMarksItsLine) {
  RunWithDiagnostics({Hint2, Warning3, Error7, Error9});
  EXPECT_EQ(Window->lstErrors->currentRow(), 2);
  EXPECT_EQ(CaretLine(), 6);
  EXPECT_EQ(Window->Marker()->MarkedLine(), 6);
  EXPECT_EQ(Window->Marker()->MarkedKind(), TLineMarkKind::lmDiagnostic);
  EXPECT_EQ(Window->statusBar()->currentMessage().toStdString(),
            "2 errors, 1 warning, 1 hint - " + std::string(DiagnosticHint("; missing")));

  // A compile with hints and warnings only selects nothing and leaves the caret.
  Window->RichEdit1->moveCursor(QTextCursor::End);
  RunWithDiagnostics({Hint2, Warning3}, true);
  EXPECT_EQ(Window->lstErrors->currentRow(), -1);
  EXPECT_EQ(CaretLine(), 0);
  EXPECT_EQ(Window->Marker()->MarkedLine(), -1);
}

TEST_F(DiagnosticListTest, EnterJumpsLikeADoubleClickAndSelectingShowsTheHint) {
  RunWithDiagnostics({Error7, Hint2, Error9});
  QListWidget *list = Window->lstErrors;
  const QString counts = "2 errors, 1 hint";
  const struct {
    int Row;
    Qt::Key Key;
    int Line;
    QString Status;
  } cases[] = {
      {2, Qt::Key_Return, 8, counts + " - " + QString::fromUtf8(DiagnosticHint("Bad factor"))},
      {1, Qt::Key_Enter, 1, counts},  // no hint for this message
      {0, Qt::Key_Return, 6, counts + " - " + QString::fromUtf8(DiagnosticHint("; missing"))},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Row);
    list->setFocus();
    list->setCurrentRow(c.Row);
    EXPECT_EQ(Window->statusBar()->currentMessage(), c.Status);
    QTest::keyClick(list, c.Key);
    EXPECT_EQ(CaretLine(), c.Line);
    EXPECT_EQ(Window->Marker()->MarkedLine(), c.Line);
    EXPECT_TRUE(Window->RichEdit1->hasFocus());
  }
}

TEST_F(DiagnosticListTest, ItemsShowTheirKindAndTheirWholeText) {
  std::string longError = "[Warning] demo.pas(4):";
  for (int i = 0; i < 6; ++i)
    longError += " The type of the left part of an assignment differs from the type of the "
                 "expression to be assigned";
  RunWithDiagnostics({Error7, "[Fatal Error] demo.pas(1): y", Warning3, Hint2, longError,
                      "no diagnostic at all"});
  QListWidget *list = Window->lstErrors;
  ASSERT_EQ(list->count(), 6);
  // Error and Fatal Error look alike; Warning and Hint differ from them and from each other.
  const auto colour = [&](int row) { return list->item(row)->foreground().color(); };
  EXPECT_EQ(colour(1), colour(0));
  EXPECT_EQ((std::set<QRgb>{colour(0).rgb(), colour(2).rgb(), colour(3).rgb()}).size(), 3u);
  for (int row = 0; row < 6; ++row) EXPECT_EQ(list->item(row)->icon().isNull(), row == 5) << row;
  EXPECT_EQ(list->item(4)->toolTip().toStdString(), longError);
  // The long message wraps: its item is higher than a one-line one and no wider than the view.
  EXPECT_GT(list->visualItemRect(list->item(4)).height(),
            list->visualItemRect(list->item(0)).height());
  EXPECT_LE(list->visualItemRect(list->item(4)).width(), list->viewport()->width());
}

TEST_F(DiagnosticListTest, ListGrowsToShowSixItemsButNotBelowTheDraggedHeight) {
  std::vector<std::string> ten;
  for (int i = 1; i <= 10; ++i) ten.push_back("[Error] demo.pas(" + std::to_string(i) + "): x");
  RunWithDiagnostics(ten);
  QListWidget *list = Window->lstErrors;
  list->scrollToTop();
  const int view = list->viewport()->height();
  EXPECT_LE(list->visualItemRect(list->item(5)).bottom(), view);
  EXPECT_GT(list->visualItemRect(list->item(6)).bottom(), view);
  EXPECT_GT(list->verticalScrollBar()->maximum(), 0);

  RunWithDiagnostics({Error7});  // still shown: it keeps its height
  EXPECT_EQ(Window->ErrorListShownHeight(), list->height());
  EXPECT_GT(Window->ErrorListShownHeight(), 60);

  const QList<int> sizes = Window->Splitter1->sizes();
  Window->Splitter1->setSizes({sizes[0] + sizes[1] - 200, 200});  // the user drags
  RunWithDiagnostics(ten);
  EXPECT_EQ(Window->ErrorListShownHeight(), 200);
}

TEST_F(DiagnosticListTest, NewAndOpenClearTheListAndTheMark) {
  for (const bool open : {false, true}) {
    SCOPED_TRACE(open ? "Open" : "New");
    RunWithDiagnostics({Error7});
    ASSERT_EQ(Window->lstErrors->count(), 1);
    ASSERT_EQ(Window->Marker()->MarkedLine(), 6);
    if (open) {
      Dialogs->FileNames = {Path("demo.pas")};
      Window->FileOpen->trigger();
    } else {
      Window->FileNew->trigger();
    }
    EXPECT_EQ(Window->lstErrors->count(), 0);
    EXPECT_EQ(Window->ErrorListShownHeight(), 0);
    EXPECT_EQ(Window->Marker()->MarkedLine(), -1);
  }
}

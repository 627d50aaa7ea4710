// Send through a stand-in xdg-email, and the About box with its decoded picture.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include "JpegImage.h"
#include "frmUVAbout.h"
#include "WindowFixture.h"

namespace {

// Puts a folder first on PATH for the life of the object.
class TPathPrefix {
 public:
  explicit TPathPrefix(const QString &folder, bool only = false) : Old(qgetenv("PATH")) {
    qputenv("PATH", only ? folder.toLocal8Bit() : folder.toLocal8Bit() + ":" + Old);
  }
  ~TPathPrefix() { qputenv("PATH", Old); }

 private:
  QByteArray Old;
};

// A stand-in mail program that writes its arguments, each ended by a NUL byte, into args.bin
// and exits with the given status; with `waitForGo`, only once a file "go" is beside it.
void MakeStandIn(const QString &folder, int status, bool waitForGo = false) {
  const QString path = folder + "/xdg-email";
  WriteBytes(path, "#!/bin/sh\n"
                   "here=$(dirname \"$0\")\n"
                   "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$here/args.bin\"\n" +
                   QByteArray(waitForGo ? "until [ -e \"$here/go\" ]; do sleep 0.02; done\n" : "") +
                   "exit " + QByteArray::number(status) + "\n");
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Sends the text and waits for the mail program to end.
void SendAndWait(TUVIDEMain &window) {
  window.FileSend->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window.IsSendingMail(); }, 5000));
}

}  // namespace

TEST_F(WindowTest, SendHandsTheTextToTheMailProgramAsOneArgument) {
  const QString bin = Path("bin");
  ASSERT_TRUE(QDir().mkpath(bin));
  MakeStandIn(bin, 0);
  TPathPrefix path(bin);
  const QString evil = QStringLiteral(
      "writeln('it''s \"quoted\"');\n$(touch %1/p1)\n`touch %1/p2`; touch %1/p3\n$HOME \\ *")
                           .arg(Dir.path());
  Window->RichEdit1->setPlainText(evil);
  SendAndWait(*Window);
  EXPECT_TRUE(Dialogs->Calls.empty());
  QByteArray expected = "--body";
  expected += '\0';
  expected += evil.toUtf8() + "\n";  // LF line ends: the mail program makes them CR LF
  expected += '\0';
  EXPECT_EQ(ReadBytes(bin + "/args.bin"), expected);
  for (const char *name : {"p1", "p2", "p3"}) EXPECT_FALSE(QFile::exists(Path(name))) << name;
}

TEST_F(WindowTest, SendReportsEveryFailureWithItsReason) {
  const QString bin = Path("bin"), empty = Path("empty");
  ASSERT_TRUE(QDir().mkpath(bin));
  ASSERT_TRUE(QDir().mkpath(empty));
  Type("x");
  const struct {
    int Status;  // -1: no xdg-email on PATH
    const char *Reason;
  } cases[] = {
      {3, "No mail program is set up."},
      {1, "The mail program ended with exit status 1."},
      {-1, "No mail program is set up (xdg-email was not found)."},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Reason);
    Dialogs->Calls.clear();
    if (c.Status >= 0) MakeStandIn(bin, c.Status);
    TPathPrefix path(c.Status >= 0 ? bin : empty, c.Status < 0);
    SendAndWait(*Window);
    ASSERT_EQ(Dialogs->Calls.size(), 1u);
    EXPECT_EQ(Dialogs->Calls[0].Kind, "Error");
    EXPECT_EQ(Dialogs->Calls[0].Caption, "Error");
    EXPECT_EQ(Dialogs->Calls[0].Text, QString("Error sending mail\n") + c.Reason);
    EXPECT_TRUE(Window->FileSend->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  }
}

TEST_F(WindowTest, SendLeavesTheWindowWorkingWhileTheMailProgramRuns) {
  const QString bin = Path("bin");
  ASSERT_TRUE(QDir().mkpath(bin));
  MakeStandIn(bin, 0, true);
  TPathPrefix path(bin);
  Type("sent");
  Window->FileSend->trigger();  // returns while the mail program waits
  ASSERT_TRUE(Window->IsSendingMail());
  EXPECT_FALSE(Window->FileSend->isEnabled());
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
  Window->FileSend->trigger();  // disabled: nothing more starts
  Type(" more");
  EXPECT_EQ(Window->EditorText(), "sent more");

  WriteBytes(bin + "/go", "");
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Window->IsSendingMail(); }, 5000));
  EXPECT_TRUE(Window->FileSend->isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(Window->EditorText(), "sent more");  // nothing typed comes again
  EXPECT_TRUE(ReadBytes(bin + "/args.bin").contains("sent\n"));
  EXPECT_TRUE(Dialogs->Calls.empty());
}

TEST_F(WindowTest, AboutBoxShowsTheDecodedPicture) {
  TAboutBox *box = Window->AboutBox();
  EXPECT_EQ(box->windowTitle(), "About Ulvan");
  EXPECT_EQ(box->size(), QSize(256, 174));
  EXPECT_TRUE(box->isHidden());
  const QImage &picture = box->Picture();
  ASSERT_EQ(picture.size(), QSize(64, 64));
  const QColor ground = picture.pixelColor(2, 2);  // the plain sea-blue ground
  EXPECT_NEAR(ground.red(), 0, 6);
  EXPECT_NEAR(ground.green(), 96, 6);
  EXPECT_NEAR(ground.blue(), 160, 6);
  const QColor leaf = picture.pixelColor(26, 26);
  EXPECT_GT(leaf.green(), leaf.red());
  EXPECT_GT(leaf.green(), leaf.blue());

  QStringList texts;
  for (QLabel *label : box->findChildren<QLabel *>()) texts << label->text();
  EXPECT_TRUE(texts.contains("Ulvan Version 0.1"));
  EXPECT_TRUE(texts.contains("Version 0.1"));
  EXPECT_EQ(box->OKButton()->text(), "OK");
  EXPECT_TRUE(box->OKButton()->isDefault());

  bool shownCentred = false;
  QTimer::singleShot(0, box, [&] {
    const QPoint offset = box->frameGeometry().center() - Window->frameGeometry().center();
    shownCentred = box->isVisible() && box->isModal() && offset.manhattanLength() <= 2;
    box->OKButton()->click();
  });
  Window->HelpAbout->trigger();
  EXPECT_TRUE(shownCentred);
  EXPECT_TRUE(box->isHidden());
}

TEST(JpegImage, RefusesWhatIsNoJpeg) {
  const unsigned char junk[] = {0xff, 0xd8, 0xff, 0x00, 1, 2, 3};
  EXPECT_TRUE(DecodeJpeg(junk, sizeof junk).isNull());
  EXPECT_TRUE(DecodeJpeg(nullptr, 0).isNull());
}

// The About box, laid out on a fixed 256 x 174 client area.
#include "frmUVAbout.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>

#include "AboutPicture.h"
#include "JpegImage.h"

namespace {

QLabel *AddLabel(QWidget *parent, const QString &text, const QRect &where) {
  auto *label = new QLabel(text, parent);
  label->setGeometry(where);
  return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("About Ulvan"));
  setFixedSize(256, 174);
  setModal(true);

  auto *panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Sunken);
  panel->setAutoFillBackground(true);
  QPalette white = panel->palette();
  white.setColor(QPalette::Window, Qt::white);
  white.setColor(QPalette::WindowText, Qt::black);
  panel->setPalette(white);
  panel->setGeometry(8, 8, 240, 124);

  PictureImage = DecodeJpeg(AboutPictureJpeg, AboutPictureJpegSize);
  auto *picture = new QLabel(panel);
  picture->setObjectName(QStringLiteral("ProgramIcon"));
  picture->setGeometry(8, 8, 64, 64);
  picture->setAlignment(Qt::AlignCenter);
  if (!PictureImage.isNull()) picture->setPixmap(QPixmap::fromImage(PictureImage));

  QFont bold = font();
  bold.setBold(true);
  QLabel *product = AddLabel(panel, QStringLiteral("Ulvan Version 0.1"), QRect(84, 12, 148, 18));
  product->setObjectName(QStringLiteral("ProductName"));
  product->setFont(bold);
  AddLabel(panel, QStringLiteral("Version 0.1"), QRect(84, 36, 148, 18))
      ->setObjectName(QStringLiteral("Version"));
  QLabel *notice = AddLabel(panel,
                            QStringLiteral("Made by the Ulvan developers.\n"
                                           "A small Pascal for learning."),
                            QRect(8, 80, 224, 36));
  notice->setObjectName(QStringLiteral("Copyright"));

  OKButtonWidget = new QPushButton(QStringLiteral("OK"), this);
  OKButtonWidget->setObjectName(QStringLiteral("OKButton"));
  OKButtonWidget->setGeometry(90, 140, 75, 25);
  OKButtonWidget->setDefault(true);
  connect(OKButtonWidget, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent *event) {
  if (QWidget *owner = parentWidget()) {
    QRect box = frameGeometry();
    box.moveCenter(owner->frameGeometry().center());
    move(box.topLeft());
  }
  QDialog::showEvent(event);
}

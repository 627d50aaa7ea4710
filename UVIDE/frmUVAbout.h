// The About box: picture, product name, version and the maker's notice.
#pragma once

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;

class TAboutBox final : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget *parent = nullptr);

  // The decoded picture shown in the box.
  const QImage &Picture() const { return PictureImage; }
  QPushButton *OKButton() const { return OKButtonWidget; }

 protected:
  void showEvent(QShowEvent *event) override;

 private:
  QImage PictureImage;
  QPushButton *OKButtonWidget = nullptr;
};

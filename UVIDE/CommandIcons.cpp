// Theme icons with fallbacks from the widget style or drawn here.
#include "CommandIcons.h"

#include <QAction>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace {

// Small line drawings for the commands the widget style has no picture for.
QIcon Drawn(TCommandIcon which) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(40, 40, 40), 1.2));
  switch (which) {
    case TCommandIcon::ciCut:
      p.drawEllipse(QRectF(2.5, 10.5, 4, 4));
      p.drawEllipse(QRectF(9.5, 10.5, 4, 4));
      p.drawLine(QPointF(5.5, 10.5), QPointF(11, 1.5));
      p.drawLine(QPointF(10.5, 10.5), QPointF(5, 1.5));
      break;
    case TCommandIcon::ciCopy:
      p.setBrush(Qt::white);
      p.drawRect(QRectF(1.5, 1.5, 8, 10));
      p.drawRect(QRectF(6.5, 4.5, 8, 10));
      break;
    case TCommandIcon::ciPaste:
      p.setBrush(QColor(200, 160, 100));
      p.drawRect(QRectF(2.5, 2.5, 11, 12));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(5.5, 1.5, 5, 3));
      p.drawRect(QRectF(5.5, 6.5, 7, 7));
      break;
    case TCommandIcon::ciSend: {
      p.setBrush(Qt::white);
      p.drawRect(QRectF(1.5, 3.5, 13, 9));
      QPainterPath flap;
      flap.moveTo(1.5, 3.5);
      flap.lineTo(8, 9);
      flap.lineTo(14.5, 3.5);
      p.drawPath(flap);
      break;
    }
    case TCommandIcon::ciStop:
      p.setBrush(QColor(190, 30, 30));
      p.drawRoundedRect(QRectF(3.5, 3.5, 9, 9), 1.5, 1.5);
      break;
    default: {
      p.setBrush(QColor(0, 120, 60));
      QPainterPath play;
      play.moveTo(4, 2);
      play.lineTo(13, 8);
      play.lineTo(4, 14);
      play.closeSubpath();
      p.drawPath(play);
      break;
    }
  }
  p.end();
  return QIcon(pixmap);
}

}  // namespace

QIcon CommandIcon(TCommandIcon which, const QStyle *style) {
  struct TEntry {
    const char *Theme;
    QStyle::StandardPixmap Standard;  // SP_CustomBase: none, draw one
  };
  static const TEntry entries[] = {
      {"document-new", QStyle::SP_FileIcon},
      {"document-open", QStyle::SP_DialogOpenButton},
      {"document-save", QStyle::SP_DialogSaveButton},
      {"document-save-as", QStyle::SP_DialogSaveButton},
      {"mail-send", QStyle::SP_CustomBase},
      {"media-playback-start", QStyle::SP_MediaPlay},
      {"media-playback-stop", QStyle::SP_CustomBase},
      {"application-exit", QStyle::SP_DialogCloseButton},
      {"edit-cut", QStyle::SP_CustomBase},
      {"edit-copy", QStyle::SP_CustomBase},
      {"edit-paste", QStyle::SP_CustomBase},
      {"help-about", QStyle::SP_MessageBoxInformation},
      {"edit-undo", QStyle::SP_ArrowBack},
      {"edit-redo", QStyle::SP_ArrowForward},
  };
  if (which == TCommandIcon::ciNone) return {};
  const TEntry &entry = entries[static_cast<int>(which)];
  QIcon themed = QIcon::fromTheme(QString::fromLatin1(entry.Theme));
  if (!themed.isNull()) return themed;
  if (entry.Standard != QStyle::SP_CustomBase && style != nullptr)
    return style->standardIcon(entry.Standard);
  return Drawn(which);
}

QAction *MakeAction(QObject *owner, const char *name, const QString &caption, const QString &tip,
                    const QString &status, const QList<QKeySequence> &shortcuts,
                    TCommandIcon icon, const QStyle *style) {
  auto *action = new QAction(CommandIcon(icon, style), caption, owner);
  action->setObjectName(QString::fromLatin1(name));
  action->setToolTip(tip);
  action->setStatusTip(status);
  action->setShortcuts(shortcuts);
  return action;
}

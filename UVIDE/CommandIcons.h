// Icons of the editor window's commands: the desktop theme's icon when there is one, else a
// built-in picture; and the commands' actions.
#pragma once

#include <QIcon>
#include <QKeySequence>
#include <QList>

class QAction;
class QObject;

class QStyle;

enum class TCommandIcon { ciNew, ciOpen, ciSave, ciSaveAs, ciSend, ciRun, ciStop, ciExit, ciCut, ciCopy,
                          ciPaste, ciAbout, ciUndo, ciRedo, ciNone };

QIcon CommandIcon(TCommandIcon which, const QStyle *style);

// An action named `name` (its object name) with its caption, tool tip, status text, shortcuts
// and icon (none for ciNone).
QAction *MakeAction(QObject *owner, const char *name, const QString &caption, const QString &tip,
                    const QString &status, const QList<QKeySequence> &shortcuts,
                    TCommandIcon icon, const QStyle *style);

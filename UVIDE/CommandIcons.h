// Icons of the editor window's commands: the desktop theme's icon when there is one, else a
// built-in picture.
#pragma once

#include <QIcon>
#include <QKeySequence>

class QAction;
class QObject;
class QStyle;

enum class TCommandIcon { ciNew, ciOpen, ciSave, ciSaveAs, ciSend, ciRun, ciStop, ciExit, ciCut, ciCopy,
                          ciPaste, ciAbout, ciStepInto, ciStepOver, ciStepOut, ciRunToCursor,
                          ciPause, ciBreakpoint, ciStepInstruction };

QIcon CommandIcon(TCommandIcon which, const QStyle *style);

// A command with its caption, tool tip, status bar text, shortcut and icon, named `name`.
QAction *MakeCommandAction(QObject *owner, const char *name, const QString &caption,
                           const QString &tip, const QString &status,
                           const QKeySequence &shortcut, const QIcon &icon);

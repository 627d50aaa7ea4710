// The debugger's three dockable panels around the editor window: Variables, Call stack and
// Machine. Hidden until the first stop; where the user puts them is kept with the window's
// state.
#pragma once

#include <QObject>

class QAction;
class QDockWidget;
class QMainWindow;
class TCallStackPanel;
class TMachinePanel;
class TVariablesPanel;

class TDebugPanels final : public QObject {
  Q_OBJECT
 public:
  explicit TDebugPanels(QMainWindow *window);

  TVariablesPanel *Variables() const { return VariablesView; }
  TCallStackPanel *CallStack() const { return CallStackView; }
  TMachinePanel *Machine() const { return MachineView; }
  QDockWidget *VariablesDock() const { return Docks[0]; }
  QDockWidget *CallStackDock() const { return Docks[1]; }
  QDockWidget *MachineDock() const { return Docks[2]; }

  // Hides the docks whatever a restored window state said; they come at the first stop.
  void HideAll();
  // At a stop: the first one shows every panel; later ones leave those the user closed.
  void ShowAtStop();
  // Empties every panel.
  void Clear();
  // The actions that show and hide each panel.
  QList<QAction *> ToggleActions() const;

 private:
  // Sizes the docks for the window when they have no sensible size of their own yet.
  void Arrange();
  QDockWidget *Dock(QMainWindow *window, const QString &name, const QString &title,
                    QWidget *content, Qt::DockWidgetArea area);

  TVariablesPanel *VariablesView = nullptr;
  TCallStackPanel *CallStackView = nullptr;
  TMachinePanel *MachineView = nullptr;
  QDockWidget *Docks[3] = {};
  QMainWindow *Window;
  bool Shown = false;
};

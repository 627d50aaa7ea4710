#include "DebugPanels.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>

#include "CallStackPanel.h"
#include "MachinePanel.h"
#include "VariablesPanel.h"

TDebugPanels::TDebugPanels(QMainWindow *window) : QObject(window) {
  VariablesView = new TVariablesPanel;
  CallStackView = new TCallStackPanel;
  MachineView = new TMachinePanel;
  Docks[0] = Dock(window, QStringLiteral("VariablesDock"), QStringLiteral("Variables"),
                  VariablesView, Qt::BottomDockWidgetArea);
  Docks[1] = Dock(window, QStringLiteral("CallStackDock"), QStringLiteral("Call stack"),
                  CallStackView, Qt::BottomDockWidgetArea);
  Docks[2] = Dock(window, QStringLiteral("MachineDock"), QStringLiteral("Machine"), MachineView,
                  Qt::RightDockWidgetArea);
  window->splitDockWidget(Docks[0], Docks[1], Qt::Horizontal);
  window->resizeDocks({Docks[0], Docks[1]}, {3, 2}, Qt::Horizontal);
  HideAll();
}

QDockWidget *TDebugPanels::Dock(QMainWindow *window, const QString &name, const QString &title,
                                QWidget *content, Qt::DockWidgetArea area) {
  auto *dock = new QDockWidget(title, window);
  dock->setObjectName(name);
  dock->setWidget(content);
  window->addDockWidget(area, dock);
  return dock;
}

void TDebugPanels::HideAll() {
  for (QDockWidget *dock : Docks) dock->hide();
}

void TDebugPanels::ShowAtStop() {
  if (Shown) return;
  Shown = true;
  for (QDockWidget *dock : Docks) dock->show();
}

void TDebugPanels::Clear() {
  VariablesView->Clear();
  CallStackView->Clear();
  MachineView->Clear();
}

QList<QAction *> TDebugPanels::ToggleActions() const {
  QList<QAction *> actions;
  for (QDockWidget *dock : Docks) actions << dock->toggleViewAction();
  return actions;
}

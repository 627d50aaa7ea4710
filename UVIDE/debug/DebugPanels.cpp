#include "DebugPanels.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>

#include "CallStackPanel.h"
#include "MachinePanel.h"
#include "VariablesPanel.h"

TDebugPanels::TDebugPanels(QMainWindow *window) : QObject(window), Window(window) {
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
  Arrange();
}

void TDebugPanels::Arrange() {
  // Docks that were never shown come out as narrow as their contents allow; those the user
  // sized (kept with the window's state) are left alone.
  const int width = Window->width(), height = Window->height();
  const bool floating = Docks[0]->isFloating() || Docks[1]->isFloating() || Docks[2]->isFloating();
  if (floating || (Docks[1]->width() >= width / 6 && Docks[0]->height() >= height / 5 &&
                   Docks[2]->width() >= width / 5))
    return;
  Window->resizeDocks({Docks[2]}, {width * 3 / 10}, Qt::Horizontal);
  Window->resizeDocks({Docks[0]}, {height * 3 / 10}, Qt::Vertical);
  Window->resizeDocks({Docks[0], Docks[1]}, {width * 3 / 5, width * 2 / 5}, Qt::Horizontal);
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

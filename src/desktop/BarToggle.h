// The check mark of a view-menu item that shows or hides a bar: it follows the bar's
// visibility however that changes (the menu, the bar's own context menu, the placement
// restored at start).
#pragma once

class QAction;
class QWidget;

/// Makes the checkable action show and hide the bar, and keeps its check mark on the
/// bar's visibility.
void BindBarToggle(QAction* action, QWidget* bar);

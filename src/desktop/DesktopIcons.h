// The program's icons: the desktop theme's where it has one, our own drawings otherwise
// (icons/*.svg, drawn at the size and pixel ratio of each use, so they stay sharp on
// screens scaled by 1.5 or 2).
#pragma once

#include <QIcon>
#include <QString>

/// The theme's icon of that freedesktop name, or ours of the same name.
QIcon ThemedIcon(const QString& name);
/// Our own icon (icons/<name>.svg).
QIcon OwnIcon(const QString& name);
/// The application's icon, at every size it is drawn in.
QIcon AppIcon();

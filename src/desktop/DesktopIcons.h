// The program's icons: the desktop theme's where it has one, our own drawings otherwise
// (icons/*.svg, kept as PNG renderings because Qt's base modules cannot draw SVG).
#pragma once

#include <QIcon>
#include <QString>

/// The theme's icon of that freedesktop name, or ours of the same name.
QIcon ThemedIcon(const QString& name);
/// Our own icon (icons/png/<name>-16.png and -32.png).
QIcon OwnIcon(const QString& name);
/// The application's icon, at every size it is drawn in.
QIcon AppIcon();

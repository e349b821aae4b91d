#pragma once
// The toolbar's 32 x 32 icons: the desktop's icon theme where it has one, else our own drawing.
#include <QIcon>

enum class ToolbarIcon { engineSettings, engineCheck, options, help, donation };

QIcon toolbarIcon(ToolbarIcon icon);
// Our own drawing, also what a desktop without an icon theme shows.
QIcon drawnToolbarIcon(ToolbarIcon icon);

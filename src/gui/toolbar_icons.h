#pragma once
// The toolbar's 32 x 32 icons: the desktop's icon theme where it has one, else our own drawing.
#include <QIcon>

// The toolbar's buttons, in their order.
enum class ToolbarButton { engineSettings, engineCheck, options, help, donation };

QIcon toolbarIcon(ToolbarButton button);
// Our own drawing, also what a desktop without an icon theme shows.
QIcon drawnToolbarIcon(ToolbarButton button);

#pragma once
// The commands of the result lists' context menu, on a list's selected row.
#include <QString>

class ResultListModel;

enum class ResultCommand { copyMagnetLink, copyTitle, download };

// With no row selected (-1) the cell is empty: the copy commands put an empty text on the
// clipboard. "Download" hands only a magnet link to the system's handler.
void runResultCommand(ResultCommand command, const ResultListModel& list, int selectedRow);

QString resultCommandCaption(ResultCommand command);

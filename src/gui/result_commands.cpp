#include "result_commands.h"

#include "app/magnet_link.h"
#include "result_list_model.h"
#include "system_handler.h"
#include "program_text.h"

void runResultCommand(ResultCommand command, const ResultListModel& list, int selectedRow) {
    switch (command) {
    case ResultCommand::copyMagnetLink:
        setClipboardText(list.cell(selectedRow, ResultListModel::magnetColumn));
        break;
    case ResultCommand::copyTitle:
        setClipboardText(list.cell(selectedRow, ResultListModel::titleColumn));
        break;
    case ResultCommand::download: {
        const QString link = list.cell(selectedRow, ResultListModel::magnetColumn);
        if (ondrel::isMagnetLink(toProgramText(link))) openWithSystemHandler(link);
        break;
    }
    }
}

QString resultCommandCaption(ResultCommand command) {
    switch (command) {
    case ResultCommand::copyMagnetLink: return QStringLiteral("复制磁力链");
    case ResultCommand::copyTitle: return QStringLiteral("复制资源名");
    case ResultCommand::download: return QStringLiteral("下载");
    }
    return {};
}

#pragma once
// The engine settings window: the files of the engine folder on the left, the 22 values of the
// selected file on the right. Adding, deleting, renaming and editing work on the files alone;
// the running program's engine table changes only at the next start.
#include <QDialog>
#include <filesystem>
#include <vector>

#include "prompts.h"
#include "text/text.h"

class QListWidget;
class QMenu;
class QTreeWidget;

class EngineSettingsWindow : public QDialog {
    Q_OBJECT

public:
    EngineSettingsWindow(const std::filesystem::path& confFolder, QWidget* parent,
                         Prompts& prompts = dialogPrompts());

public slots:
    void addEngine();
    void deleteEngine();
    void renameEngine();
    void editSelectedValue();

private:
    void buildControls();
    // Re-reads the folder; the file that was current stays current, without being reloaded,
    // as long as a file of that name is still there.
    void refreshFileList(const std::filesystem::path& keepCurrent);
    void loadCurrentFile();
    void showValue(int row);
    void save();
    int selectedRow() const;
    // Empty when no file is current.
    std::filesystem::path currentFileName() const;
    void inform(const ondrel::Text& message);

    std::filesystem::path confFolder_;
    Prompts& prompts_;
    QListWidget* files_ = nullptr;
    QTreeWidget* settings_ = nullptr;
    QMenu* menu_ = nullptr;
    std::vector<std::filesystem::path> fileNames_;  // one per row of files_
    // The values as the file holds them, so a save writes back the bytes it read for every
    // value the user did not change, even bytes that do not decode.
    std::vector<ondrel::Text> values_;
};

#pragma once
// The program's one top-level window: the keyword box and the search, a tab per engine over
// the 99 result lists (list 0 the combined tab's, list i engine i's; exactly one shown), the
// toolbar, and the status bar with the search counts and the update notice.
#include <QMainWindow>
#include <array>
#include <filesystem>
#include <memory>

#include "app/result_lists.h"
#include "app/update_check.h"
#include "engines/engine_definition.h"
#include "result_commands.h"
#include "toolbar_icons.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolBar;
class QTreeView;
class KeywordBoxSource;
class ListAdapter;
class ResultListModel;
class TabIconLoader;
class UpdateCheckRunner;
namespace ondrel {
class SearchDispatcher;
}

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // baseDirectory: where the engine files live, in its "conf" folder (created when missing).
    explicit MainWindow(const std::filesystem::path& baseDirectory,
                        ondrel::UpdateAddresses updateAddresses = ondrel::builtInUpdateAddresses(),
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    const std::filesystem::path& confFolder() const { return confFolder_; }
    const ondrel::EngineTable& engineTable() const { return *engineTable_; }
    QAction* toolbarAction(ToolbarButton button) const;
    UpdateCheckRunner* updateCheck() const { return updateCheck_; }

    // The current tab's list number + 1, as the result commands use it.
    int shownListNumber() const { return shownListNumber_; }
    ResultListModel* resultModel(int list) const { return models_[size_t(list)]; }
    QTreeView* resultList(int list) const { return lists_[size_t(list)]; }

    void showCurrentTabList();
    void layoutMainWindow();
    void startSearch();
    void stopSearch();
    // The timer's work: the number of workers the latest search started, and the rows found.
    void showSearchCounts();
    // On the shown list's selected row.
    void runResultCommand(ResultCommand command);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createToolbar();
    void createSearchRow();
    void createResultLists();
    void createStatusBar();
    void loadEngines();
    void showUpdateNotice(bool newVersion);
    void openUpdateShare();
    void showOptionsMessage();

    std::filesystem::path confFolder_;
    ondrel::UpdateAddresses updateAddresses_;
    // Shared with the icon task, which may outlive the window by a moment.
    std::shared_ptr<const ondrel::EngineTable> engineTable_;
    int shownListNumber_ = 0;

    QWidget* client_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    std::array<QAction*, 5> toolbarActions_{};
    QLineEdit* keywordBox_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    std::array<ResultListModel*, ondrel::resultListCount> models_{};
    std::array<QTreeView*, ondrel::resultListCount> lists_{};
    QMenu* resultMenu_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    std::array<QLabel*, 3> statusParts_{};
    QTimer* timer_ = nullptr;

    ListAdapter* listAdapter_ = nullptr;
    KeywordBoxSource* keywordSource_ = nullptr;
    UpdateCheckRunner* updateCheck_ = nullptr;
    std::unique_ptr<TabIconLoader> tabIcons_;
    // Declared last: destroyed first, so no worker outlives the lists and the keyword it uses.
    std::unique_ptr<ondrel::SearchDispatcher> search_;
};

#include "main_window.h"

#include <QAction>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <algorithm>

#include "donation_window.h"
#include "engine_check_window.h"
#include "engine_settings_window.h"
#include "engines/engine_loader.h"
#include "help_window.h"
#include "keyword_source.h"
#include "list_adapter.h"
#include "main_layout.h"
#include "result_list_model.h"
#include "search/search_dispatch.h"
#include "system_handler.h"
#include "tab_icon_loader.h"
#include "program_text.h"
#include "update_check_runner.h"

namespace {

constexpr int tabControlTop = 86;
constexpr int resultListTop = 108;
constexpr int statusBarHeight = 20;
constexpr int toolbarHeight = 39;

QTreeView* createResultListView(ResultListModel* model, QWidget* parent) {
    auto* view = new QTreeView(parent);
    view->setModel(model);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QHeaderView* header = view->header();
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);
    // The magnet column holds the link for the commands and the accessibility bus; it is
    // never widened, so it stays invisible.
    header->setSectionResizeMode(ResultListModel::magnetColumn, QHeaderView::Fixed);
    header->resizeSection(ResultListModel::magnetColumn, 0);
    view->setGeometry(0, resultListTop, 760, 354);
    view->hide();
    return view;
}

int selectedRow(const QTreeView* view) {
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

}  // namespace

MainWindow::MainWindow(const std::filesystem::path& baseDirectory, ondrel::UpdateAddresses updateAddresses,
                       QWidget* parent)
    : QMainWindow(parent), confFolder_(baseDirectory / "conf"), updateAddresses_(std::move(updateAddresses)) {
    // The controls sit at fixed places inside the window, as designed; the window itself is a
    // main window so that the accessibility bus presents it as one.
    client_ = new QWidget(this);
    setCentralWidget(client_);
    setWindowTitle(QStringLiteral("Ondrel聚合搜索V1.0"));
    resize(791, 538);
    move(50, 50);
    createToolbar();
    createSearchRow();
    createResultLists();
    createStatusBar();

    // A folder that cannot be made leaves no engine files to find; the window still works.
    std::error_code ignored;
    std::filesystem::create_directories(confFolder_, ignored);
    tabs_->setCurrentIndex(0);
    showCurrentTabList();
    layoutMainWindow();
    loadEngines();
    tabIcons_ = std::make_unique<TabIconLoader>(tabs_, engineTable_);

    updateCheck_ = new UpdateCheckRunner(this);
    connect(updateCheck_, &UpdateCheckRunner::finished, this, &MainWindow::showUpdateNotice);
    updateCheck_->start(updateAddresses_.versionUrl);
}

MainWindow::~MainWindow() = default;

void MainWindow::createToolbar() {
    toolbar_ = new QToolBar(client_);
    toolbar_->setObjectName(QStringLiteral("toolbar"));
    toolbar_->setAccessibleName(QStringLiteral("工具条"));
    toolbar_->setGeometry(0, 0, 785, toolbarHeight);
    toolbar_->setIconSize(QSize(32, 32));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar_->setMovable(false);
    const char16_t* const texts[] = {u"引擎设置", u"引擎检测", u"选项", u"帮助", u"捐助"};
    for (size_t i = 0; i < toolbarActions_.size(); ++i)
        toolbarActions_[i] = toolbar_->addAction(toolbarIcon(ToolbarButton(i)), QString::fromUtf16(texts[i]));
    // Edits made in the settings window reach the engine table at the next start.
    connect(toolbarAction(ToolbarButton::engineSettings), &QAction::triggered, this,
            [this] { EngineSettingsWindow(confFolder_, this).exec(); });
    connect(toolbarAction(ToolbarButton::engineCheck), &QAction::triggered, this,
            [this] { EngineCheckWindow(*engineTable_, this).exec(); });
    connect(toolbarAction(ToolbarButton::options), &QAction::triggered, this, &MainWindow::showOptionsMessage);
    connect(toolbarAction(ToolbarButton::help), &QAction::triggered, this, [this] { HelpWindow(this).exec(); });
    connect(toolbarAction(ToolbarButton::donation), &QAction::triggered, this,
            [this] { DonationWindow(this).exec(); });
}

QAction* MainWindow::toolbarAction(ToolbarButton button) const { return toolbarActions_[size_t(button)]; }

void MainWindow::createSearchRow() {
    auto* label = new QLabel(QStringLiteral("输入关键字:"), client_);
    label->setGeometry(8, 54, 104, 24);
    keywordBox_ = new QLineEdit(client_);
    keywordBox_->setObjectName(QStringLiteral("keywordBox"));
    keywordBox_->setAccessibleName(QStringLiteral("关键字"));
    keywordBox_->setGeometry(104, 55, 224, 24);
    label->setBuddy(keywordBox_);
    searchButton_ = new QPushButton(QStringLiteral("搜索"), client_);
    searchButton_->setObjectName(QStringLiteral("searchButton"));
    searchButton_->setGeometry(342, 55, 96, 24);
    stopButton_ = new QPushButton(QStringLiteral("停止"), client_);
    stopButton_->setObjectName(QStringLiteral("stopButton"));
    stopButton_->setGeometry(446, 55, 96, 24);
    connect(searchButton_, &QPushButton::clicked, this, &MainWindow::startSearch);
    connect(keywordBox_, &QLineEdit::returnPressed, this, &MainWindow::startSearch);
    connect(stopButton_, &QPushButton::clicked, this, &MainWindow::stopSearch);
    keywordSource_ = new KeywordBoxSource(keywordBox_);
}

void MainWindow::createResultLists() {
    tabs_ = new QTabWidget(client_);
    tabs_->setObjectName(QStringLiteral("tabs"));
    tabs_->setAccessibleName(QStringLiteral("搜索引擎"));
    tabs_->setGeometry(0, tabControlTop, 760, 376);
    tabs_->addTab(new QWidget, QStringLiteral("综合搜索"));
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::showCurrentTabList);

    resultMenu_ = new QMenu(QStringLiteral("右键菜单"), this);
    resultMenu_->setObjectName(QStringLiteral("resultMenu"));
    for (ResultCommand command : {ResultCommand::copyMagnetLink, ResultCommand::copyTitle, ResultCommand::download})
        resultMenu_->addAction(resultCommandCaption(command), this, [this, command] { runResultCommand(command); });

    for (int i = 0; i < ondrel::resultListCount; ++i) {
        models_[size_t(i)] = new ResultListModel(this);
        QTreeView* list = createResultListView(models_[size_t(i)], client_);
        list->setObjectName(QStringLiteral("resultList%1").arg(i));
        connect(list, &QTreeView::customContextMenuRequested, this,
                [this, list](const QPoint& at) { resultMenu_->popup(list->viewport()->mapToGlobal(at)); });
        connect(list, &QTreeView::doubleClicked, this, [this] { runResultCommand(ResultCommand::download); });
        lists_[size_t(i)] = list;
    }
    listAdapter_ = new ListAdapter(models_, this);
}

void MainWindow::createStatusBar() {
    statusBar_ = new QStatusBar(client_);
    statusBar_->setObjectName(QStringLiteral("statusBar"));
    statusBar_->setSizeGripEnabled(false);
    statusBar_->setGeometry(0, 471, 785, statusBarHeight);
    const QString initialTexts[] = {QStringLiteral("搜索状态:"), QStringLiteral("搜索结果:"), QString()};
    for (size_t i = 0; i < statusParts_.size(); ++i) {
        statusParts_[i] = new QLabel(initialTexts[i], statusBar_);
        statusParts_[i]->setObjectName(QStringLiteral("statusPart%1").arg(i));
        statusBar_->addWidget(statusParts_[i]);
    }
    // A press on a part's label reaches the status bar too: the labels do not take presses.
    statusBar_->installEventFilter(this);
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &MainWindow::showSearchCounts);
    timer_->start(1000);
}

void MainWindow::loadEngines() {
    engineTable_ = std::make_shared<const ondrel::EngineTable>(ondrel::loadEngineTable(confFolder_));
    // The window has lists for 98 engines, and the loader leaves out files beyond them.
    const int tabbed = std::min(engineTable_->count(), ondrel::maxEngineCount);
    for (int i = 1; i <= tabbed; ++i) {
        tabs_->addTab(new QWidget, fromProgramText(engineTable_->engine(i).name));
        lists_[size_t(i)]->setAccessibleName(QStringLiteral("搜索结果: %1").arg(tabs_->tabText(i)));
    }
    lists_[0]->setAccessibleName(QStringLiteral("搜索结果: 综合搜索"));
    search_ = std::make_unique<ondrel::SearchDispatcher>(*engineTable_, *listAdapter_, *keywordSource_);
}


void MainWindow::showCurrentTabList() {
    for (QTreeView* list : lists_) list->hide();
    shownListNumber_ = tabs_->currentIndex() + 1;
    QTreeView* shown = lists_[size_t(shownListNumber_ - 1)];
    shown->raise();
    shown->show();
}

void MainWindow::layoutMainWindow() {
    // The status bar sits at the bottom of the window's inside, across its width.
    statusBar_->setGeometry(0, height() - statusBarHeight, width(), statusBarHeight);
    toolbar_->resize(width(), toolbarHeight);
    const MainLayout layout = computeMainLayout(
        {frameGeometry().size(), tabControlTop, resultListTop, statusBarHeight, statusBar_->width()});
    tabs_->resize(layout.tabControl);
    for (QTreeView* list : lists_) {
        list->resize(layout.resultList);
        for (int column = 0; column < int(layout.columnWidths.size()); ++column)
            list->header()->resizeSection(column, std::max(0, layout.columnWidths[size_t(column)]));
    }
    for (size_t part = 0; part < statusParts_.size(); ++part)
        statusParts_[part]->setFixedWidth(std::max(0, layout.statusPartWidths[part]));
}

void MainWindow::startSearch() { search_->startSearch(); }

void MainWindow::stopSearch() { search_->stop(); }

void MainWindow::showSearchCounts() {
    statusParts_[0]->setText(QStringLiteral("搜索状态:%1条线程").arg(search_->startedWorkers()));
    statusParts_[1]->setText(QStringLiteral("搜索结果:%1条结果").arg(search_->resultCount()));
}

void MainWindow::runResultCommand(ResultCommand command) {
    const int list = shownListNumber_ - 1;
    ::runResultCommand(command, *models_[size_t(list)], selectedRow(lists_[size_t(list)]));
}

void MainWindow::showUpdateNotice(bool newVersion) {
    if (newVersion) statusParts_[2]->setText(fromProgramText(ondrel::updateNotice));
}

void MainWindow::openUpdateShare() {
    if (!statusParts_[2]->text().isEmpty() && !updateAddresses_.shareUrl.empty())
        openWithSystemHandler(fromProgramText(updateAddresses_.shareUrl));
}

void MainWindow::showOptionsMessage() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("提示:"), QStringLiteral("暂无此功能,静待更新。"),
                    QMessageBox::Ok, this);
    box.exec();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layoutMainWindow();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) layoutMainWindow();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        openUpdateShare();
    return QMainWindow::eventFilter(watched, event);
}

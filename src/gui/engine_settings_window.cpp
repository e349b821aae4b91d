#include "engine_settings_window.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QTreeWidget>

#include "engines/engine_loader.h"
#include "engines/engine_names.h"
#include "engines/engine_settings.h"
#include "program_text.h"

namespace fs = std::filesystem;
using namespace ondrel;

namespace {
const QString boxTitle = QStringLiteral("提示");
const QString editPrompt = QStringLiteral("请输入要修改的内容");
const QString editTitle = QStringLiteral("引擎配置修改");
}  // namespace

EngineSettingsWindow::EngineSettingsWindow(const fs::path& confFolder, QWidget* parent, Prompts& prompts)
    : QDialog(parent), confFolder_(fs::absolute(confFolder)), prompts_(prompts) {
    setWindowTitle(QStringLiteral("引擎设置"));
    setFixedSize(620, 505);
    buildControls();
    refreshFileList({});
    // A focused file list would make its first file current, and load it, before any choice.
    settings_->setFocus();
}

void EngineSettingsWindow::buildControls() {
    auto* choice = new QGroupBox(QStringLiteral("引擎选择(右键添加)"), this);
    choice->setGeometry(0, 0, 184, 448);
    files_ = new QListWidget(choice);
    files_->setObjectName(QStringLiteral("fileList"));
    files_->setGeometry(5, 14, 171, 426);
    files_->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* values = new QGroupBox(QStringLiteral("引擎设置(双击编辑)"), this);
    values->setGeometry(182, 0, 434, 448);
    settings_ = new QTreeWidget(values);
    settings_->setObjectName(QStringLiteral("settingsList"));
    settings_->setGeometry(6, 15, 420, 425);
    settings_->setRootIsDecorated(false);
    settings_->setUniformRowHeights(true);
    settings_->setHeaderLabels({QStringLiteral("项目名"), QStringLiteral("内容")});
    settings_->header()->setStretchLastSection(false);
    settings_->setColumnWidth(0, 150);
    settings_->setColumnWidth(1, 260);

    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("engineMenu"));
    QAction* add = menu_->addAction(QStringLiteral("添加新引擎"));
    add->setObjectName(QStringLiteral("addEngineAction"));
    QAction* remove = menu_->addAction(QStringLiteral("删除引擎"));
    remove->setObjectName(QStringLiteral("deleteEngineAction"));

    connect(files_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) loadCurrentFile();
    });
    connect(files_, &QListWidget::itemDoubleClicked, this, &EngineSettingsWindow::renameEngine);
    connect(files_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { menu_->popup(files_->viewport()->mapToGlobal(at)); });
    connect(add, &QAction::triggered, this, &EngineSettingsWindow::addEngine);
    connect(remove, &QAction::triggered, this, &EngineSettingsWindow::deleteEngine);
    connect(settings_, &QTreeWidget::itemDoubleClicked, this, &EngineSettingsWindow::editSelectedValue);
}

void EngineSettingsWindow::refreshFileList(const fs::path& keepCurrent) {
    const QSignalBlocker quiet(files_);
    files_->clear();
    fileNames_.clear();
    for (const std::string& name : listMatchingFiles(confFolder_, "*", false)) fileNames_.emplace_back(name);
    for (size_t i = 0; i < fileNames_.size(); ++i) {
        files_->addItem(fromPath(fileNames_[i]));
        if (!keepCurrent.empty() && fileNames_[i] == keepCurrent) files_->setCurrentRow(int(i));
    }
}

fs::path EngineSettingsWindow::currentFileName() const {
    const int row = files_->currentRow();
    if (row < 0 || size_t(row) >= fileNames_.size()) return {};
    return fileNames_[size_t(row)];
}

void EngineSettingsWindow::loadCurrentFile() {
    values_ = loadSettingValues(confFolder_ / currentFileName());
    settings_->clear();
    const auto& labels = settingLabels();
    for (size_t k = 0; k < values_.size(); ++k) {
        auto* item = new QTreeWidgetItem(settings_);
        item->setText(0, fromProgramText(labels[k]));
        showValue(int(k));
    }
}

void EngineSettingsWindow::showValue(int row) {
    settings_->topLevelItem(row)->setText(1, fromProgramText(values_[size_t(row)]));
}

int EngineSettingsWindow::selectedRow() const {
    const auto selected = settings_->selectedItems();
    return selected.isEmpty() ? -1 : settings_->indexOfTopLevelItem(selected.first());
}

void EngineSettingsWindow::inform(const Text& message) {
    prompts_.inform(this, boxTitle, fromProgramText(message));
}

void EngineSettingsWindow::addEngine() {
    const fs::path current = currentFileName();
    const auto name = prompts_.askText(this, QStringLiteral("添加引擎"), QStringLiteral("请输入引擎名字"),
                                       fromPath(current));
    if (!name || name->isEmpty()) return;
    if (const auto message = addOutcomeMessage(addEngineFile(confFolder_, toPath(*name), toProgramText(*name))))
        inform(*message);
    refreshFileList(current);
}

void EngineSettingsWindow::deleteEngine() {
    const fs::path current = currentFileName();
    if (current.empty()) return;
    const QString question = QStringLiteral("是否删除") + fromPath(current) + QStringLiteral("引擎?");
    if (!prompts_.confirm(this, boxTitle, question)) return;
    deleteEngineFile(confFolder_ / current);
    refreshFileList(current);
}

void EngineSettingsWindow::renameEngine() {
    const fs::path current = currentFileName();
    if (current.empty()) return;
    const auto name = prompts_.askText(this, editTitle, editPrompt, fromPath(current));
    if (!name || name->isEmpty()) return;
    const bool renamed = renameEngineFile(confFolder_ / current, confFolder_, toPath(*name));
    // The renamed file stays current, so the values shown keep belonging to the current file.
    refreshFileList(renamed ? engineFilePath(confFolder_, toPath(*name)).filename() : current);
}

void EngineSettingsWindow::editSelectedValue() {
    const int row = selectedRow();
    const QString shown = row >= 0 ? settings_->topLevelItem(row)->text(1) : QString();
    const auto entered = prompts_.askText(this, editTitle, editPrompt, shown);
    if (!entered) return;
    // Confirming the offered text unchanged keeps the value's bytes as the file held them.
    const Text value = row >= 0 && *entered == shown ? values_[size_t(row)] : toProgramText(*entered);
    if (const auto refusal = editRefusal(row, value)) {
        inform(*refusal);
        return;
    }
    if (row >= 0) {
        values_[size_t(row)] = value;
        showValue(row);
    }
    save();
}

void EngineSettingsWindow::save() {
    if (const auto refusal = saveRefusal(values_)) {
        inform(*refusal);
        return;
    }
    const fs::path current = currentFileName();
    if (!current.empty()) saveEngineFile(confFolder_ / current, values_);
}

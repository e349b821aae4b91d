#include "result_list_model.h"

void ResultListModel::appendRows(std::vector<Row> rows) {
    if (rows.empty()) return;
    const int first = int(rows_.size());
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    endInsertRows();
}

void ResultListModel::clear() {
    if (rows_.empty()) return;
    beginResetModel();
    rows_.clear();
    endResetModel();
}

QString ResultListModel::cell(int row, int column) const {
    if (row < 0 || row >= int(rows_.size()) || column < 0 || column >= columns) return {};
    return rows_[size_t(row)][size_t(column)];
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns;
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    return cell(index.row(), index.column());
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    // The magnet column has no heading: it is kept at width 0 and never shown.
    static const std::array<QString, columns> headings = {
        QStringLiteral("资源名"), QStringLiteral("大小"), QStringLiteral("文件数"), QStringLiteral("日期"), QString()};
    return section >= 0 && section < columns ? headings[size_t(section)] : QVariant();
}

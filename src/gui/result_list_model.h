#pragma once
// One result list: five text columns (title, size, file count, date, magnet link), rows only
// ever appended or all removed at once.
#include <QAbstractTableModel>
#include <array>
#include <vector>

class ResultListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int columns = 5;
    static constexpr int titleColumn = 0;
    static constexpr int magnetColumn = 4;
    using Row = std::array<QString, columns>;

    using QAbstractTableModel::QAbstractTableModel;

    void appendRows(std::vector<Row> rows);
    void clear();
    // Empty for a row or column that does not exist.
    QString cell(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<Row> rows_;
};

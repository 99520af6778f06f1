#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <QString>

#include <vector>

namespace Kav {
namespace App {

// One line of a comparison table: what a restore would change in the scene.
struct DifferenceRow {
    QString object;
    QString property;
    QString snapshot;
    QString current;
};

// The differences of a snapshot and the scene, as the compare command writes them: UTF-8,
// tab-separated, the header line first; "\\", "\t", "\n" and "\r" escaped in values. Filtered
// by a text and sorted by a column without touching the rows themselves, so that a table of
// every element of a large scene opens at once: the view asks only for the rows it shows.
class DifferencesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { OBJECT, PROPERTY, SNAPSHOT, CURRENT, COLUMNS };
    // A bigger file is refused unread.
    static constexpr qint64 MAX_FILE_BYTES = qint64(256) << 20;

    explicit DifferencesModel(QObject* parent = nullptr);

    // Reads a table file; false with a text naming the file and the line when it cannot be
    // read or is malformed (nothing of it is taken then).
    static bool readFile(QString const& path, std::vector<DifferenceRow>* rows, QString* error);
    static bool parse(QByteArray const& bytes, std::vector<DifferenceRow>* rows, QString* error);

    void setRows(std::vector<DifferenceRow> rows);
    std::size_t totalRows() const { return rows_.size(); }
    // Shows the rows with `text` in any column (case ignored); all for an empty text.
    void setFilter(QString const& text);
    QString filter() const { return filter_; }
    // The row shown at `row`.
    DifferenceRow const& rowAt(int row) const { return rows_[shown_[static_cast<std::size_t>(row)]]; }

    int rowCount(QModelIndex const& parent = QModelIndex()) const override;
    int columnCount(QModelIndex const& parent = QModelIndex()) const override;
    QVariant data(QModelIndex const& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // A column below 0 gives the file's order back.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void arrange();

    std::vector<DifferenceRow> rows_;
    std::vector<std::size_t> shown_;   // indexes into rows_, filtered and sorted
    QString filter_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

} // namespace App
} // namespace Kav

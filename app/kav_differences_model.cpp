#include "kav_differences_model.h"

#include "core/kav_translate.h"

#include <QFile>

#include <algorithm>

namespace Kav {
namespace App {

namespace {

QByteArray const HEADER = QByteArrayLiteral("object\tproperty\tsnapshot\tcurrent");

QString const& field(DifferenceRow const& r, int column)
{
    switch (column) {
    case DifferencesModel::OBJECT:
        return r.object;
    case DifferencesModel::PROPERTY:
        return r.property;
    case DifferencesModel::SNAPSHOT:
        return r.snapshot;
    default:
        return r.current;
    }
}

// One value with its escapes undone; false for an escape the writer never makes.
bool unescape(QString const& text, QString* out)
{
    if (!text.contains(QLatin1Char('\\'))) {
        *out = text;
        return true;
    }
    out->clear();
    out->reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        QChar const c = text.at(i);
        if (c != QLatin1Char('\\')) {
            *out += c;
            continue;
        }
        if (++i >= text.size())
            return false;
        switch (text.at(i).unicode()) {
        case '\\': *out += QLatin1Char('\\'); break;
        case 't': *out += QLatin1Char('\t'); break;
        case 'n': *out += QLatin1Char('\n'); break;
        case 'r': *out += QLatin1Char('\r'); break;
        default: return false;
        }
    }
    return true;
}

} // namespace

DifferencesModel::DifferencesModel(QObject* parent) : QAbstractTableModel(parent) {}

bool DifferencesModel::readFile(QString const& path, std::vector<DifferenceRow>* rows, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = translate("MvpHost", "%1: cannot be opened: %2").arg(path, file.errorString());
        return false;
    }
    // Read at most the limit even if the file grows meanwhile.
    QByteArray const bytes = file.read(MAX_FILE_BYTES + 1);
    if (bytes.size() > MAX_FILE_BYTES) {
        *error = translate("MvpHost", "%1: too large (more than %2 bytes)").arg(path).arg(MAX_FILE_BYTES);
        return false;
    }
    QString why;
    if (!parse(bytes, rows, &why)) {
        *error = QStringLiteral("%1: %2").arg(path, why);
        return false;
    }
    return true;
}

bool DifferencesModel::parse(QByteArray const& bytes, std::vector<DifferenceRow>* rows, QString* error)
{
    QString const text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes) {
        *error = translate("MvpHost", "not UTF-8 text");
        return false;
    }
    int const headerEnd = text.indexOf(QLatin1Char('\n'));
    if (headerEnd < 0 || text.left(headerEnd) != QLatin1String(HEADER)) {
        *error = translate("MvpHost", "line 1: not the header \"object, property, snapshot, current\" of a comparison table");
        return false;
    }
    std::vector<DifferenceRow> read;
    // One row per line end: no more room than the file can fill.
    read.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')));
    int line = 1;
    int start = headerEnd + 1;
    while (start < text.size()) {
        ++line;
        int end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0) {
            *error = translate("MvpHost", "line %1: the last line does not end").arg(line);
            return false;
        }
        QStringList const cells = text.mid(start, end - start).split(QLatin1Char('\t'));
        DifferenceRow row;
        if (cells.size() != COLUMNS || !unescape(cells.at(0), &row.object) || !unescape(cells.at(1), &row.property)
            || !unescape(cells.at(2), &row.snapshot) || !unescape(cells.at(3), &row.current) || row.object.isEmpty()) {
            *error = translate("MvpHost", "line %1: not an object, a property and two values separated by tabs").arg(line);
            return false;
        }
        read.push_back(std::move(row));
        start = end + 1;
    }
    *rows = std::move(read);
    return true;
}

void DifferencesModel::setRows(std::vector<DifferenceRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    arrange();
    endResetModel();
}

void DifferencesModel::setFilter(QString const& text)
{
    if (text == filter_)
        return;
    beginResetModel();
    filter_ = text;
    arrange();
    endResetModel();
}

void DifferencesModel::sort(int column, Qt::SortOrder order)
{
    if (column >= COLUMNS)
        return;
    emit layoutAboutToBeChanged();
    QModelIndexList const before = persistentIndexList();
    std::vector<std::size_t> rowsBefore;
    for (QModelIndex const& i : before)
        rowsBefore.push_back(shown_[static_cast<std::size_t>(i.row())]);
    sortColumn_ = column;
    sortOrder_ = order;
    arrange();
    // The selection follows its rows to their new places.
    std::vector<int> placeOf(rows_.size(), -1);
    for (std::size_t i = 0; i < shown_.size(); ++i)
        placeOf[shown_[i]] = static_cast<int>(i);
    QModelIndexList after;
    for (int k = 0; k < before.size(); ++k)
        after << index(placeOf[rowsBefore[static_cast<std::size_t>(k)]], before.at(k).column());
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

void DifferencesModel::arrange()
{
    shown_.clear();
    shown_.reserve(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        DifferenceRow const& r = rows_[i];
        if (filter_.isEmpty() || r.object.contains(filter_, Qt::CaseInsensitive) || r.property.contains(filter_, Qt::CaseInsensitive)
            || r.snapshot.contains(filter_, Qt::CaseInsensitive) || r.current.contains(filter_, Qt::CaseInsensitive))
            shown_.push_back(i);
    }
    if (sortColumn_ < 0)
        return;
    int const column = sortColumn_;
    bool const descending = sortOrder_ == Qt::DescendingOrder;
    // Stable, so that rows equal in this column keep the file's order.
    std::stable_sort(shown_.begin(), shown_.end(), [this, column, descending](std::size_t a, std::size_t b) {
        int const c = QString::compare(field(rows_[a], column), field(rows_[b], column), Qt::CaseInsensitive);
        return descending ? c > 0 : c < 0;
    });
}

int DifferencesModel::rowCount(QModelIndex const& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int DifferencesModel::columnCount(QModelIndex const& parent) const
{
    return parent.isValid() ? 0 : COLUMNS;
}

QVariant DifferencesModel::data(QModelIndex const& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return QVariant();
    return field(rowAt(index.row()), index.column());
}

QVariant DifferencesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case OBJECT:
        return translate("MvpHost", "Object");
    case PROPERTY:
        return translate("MvpHost", "Property");
    case SNAPSHOT:
        return translate("MvpHost", "Snapshot value");
    case CURRENT:
        return translate("MvpHost", "Current value");
    default:
        return QVariant();
    }
}

} // namespace App
} // namespace Kav

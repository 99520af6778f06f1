#include "kav_differences_window.h"

#include "kav_app_commands.h"
#include "kav_differences_model.h"

#include "core/kav_translate.h"
#include "gtools/kav_dialogs.h"
#include "parse/kav_parse.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace Kav {
namespace App {

namespace {

QString const REMOVED = QStringLiteral("(removed)");

bool isElementRow(DifferenceRow const& r)
{
    return r.object != QLatin1String("view") && r.object != QLatin1String("legend") && r.property != REMOVED;
}

} // namespace

DifferencesWindow::DifferencesWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("differencesWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    model_ = new DifferencesModel(this);

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("differencesSummary"));
    summary_->setWordWrap(true);
    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("differencesFilter"));
    filter_->setPlaceholderText(Kav::translate("MvpHost", "Filter by object, property or value"));
    filter_->setClearButtonEnabled(true);
    connect(filter_, &QLineEdit::textChanged, this, [this](QString const& text) {
        model_->setFilter(text);
        updateSummary();
    });

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("differencesTable"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setAlternatingRowColors(true);
    table_->setWordWrap(false);
    table_->verticalHeader()->setVisible(false);
    // Fixed row heights: nothing is measured for rows out of sight.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->horizontalHeader()->setResizeContentsPrecision(200);
    // Shown in the file's order (the snapshot's order of objects) until a header is clicked.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &DifferencesWindow::updateButtons);
    connect(model_, &QAbstractItemModel::modelReset, this, &DifferencesWindow::updateButtons);

    restore_ = new QPushButton(Kav::translate("MvpHost", "Restore selected"), this);
    restore_->setObjectName(QStringLiteral("differencesRestore"));
    restore_->setToolTip(Kav::translate("MvpHost", "Restores the elements of the selected rows from the snapshot"));
    connect(restore_, &QPushButton::clicked, this, &DifferencesWindow::restoreSelected);
    auto* again = new QPushButton(Kav::translate("MvpHost", "Compare again"), this);
    again->setObjectName(QStringLiteral("differencesRefresh"));
    connect(again, &QPushButton::clicked, this, &DifferencesWindow::refresh);
    auto* buttons = new QDialogButtonBox(this);
    // Its own text: Qt's catalogue of standard buttons may not be installed.
    buttons->addButton(Kav::translate("MvpHost", "Close"), QDialogButtonBox::RejectRole);
    buttons->addButton(restore_, QDialogButtonBox::ActionRole);
    buttons->addButton(again, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(filter_);
    layout->addWidget(table_, 1);
    layout->addWidget(buttons);
    resize(760, 480);
    updateButtons();
}

DifferencesWindow::~DifferencesWindow() = default;

bool DifferencesWindow::showSnapshot(QString const& snapshot)
{
    snapshot_ = snapshot;
    setWindowTitle(Kav::translate("MvpHost", "Differences - %1").arg(snapshot));
    bool const done = refresh();
    show();
    raise();
    return done;
}

bool DifferencesWindow::refresh()
{
    if (snapshot_.isEmpty() || !dir_.isValid())
        return false;
    QString const file = dir_.filePath(QStringLiteral("differences.tsv"));
    bool done = runCommand(QStringLiteral("report.compare_snapshot"),
                           Parse::createString(QStringLiteral("snapshot"), snapshot_) + Parse::createFile(QStringLiteral("file"), file));
    std::vector<DifferenceRow> rows;
    if (done) {
        QString error;
        done = DifferencesModel::readFile(file, &rows, &error);
        if (!done)
            GTools::OkDialog(GTools::DIALOG_ERROR, Kav::translate("MvpHost", "Differences"),
                             Kav::translate("MvpHost", "The comparison table cannot be read."), error, QString());
    }
    model_->setRows(std::move(rows));
    if (model_->rowCount() > 0) {
        // Measured over the first rows only (the header's precision), however many there are.
        for (int c = 0; c < DifferencesModel::CURRENT; ++c) {
            table_->resizeColumnToContents(c);
            table_->setColumnWidth(c, std::min(table_->columnWidth(c) + 12, 260));
        }
    }
    updateSummary();
    return done;
}

void DifferencesWindow::updateSummary()
{
    int const shown = model_->rowCount();
    int const total = static_cast<int>(model_->totalRows());
    QString text = total == 0 ? Kav::translate("MvpHost", "Restoring \"%1\" whole would change nothing in the scene.").arg(snapshot_)
                              : Kav::translate("MvpHost", "Restoring \"%1\" whole would change %2 values in the scene.").arg(snapshot_).arg(total);
    if (shown != total)
        text += QLatin1Char(' ') + Kav::translate("MvpHost", "%1 shown.").arg(shown);
    summary_->setText(text);
}

void DifferencesWindow::updateButtons()
{
    restore_->setEnabled(!selectedElements().isEmpty() && hasCommand(QStringLiteral("report.restore_snapshot_elements")));
}

QStringList DifferencesWindow::selectedElements() const
{
    QModelIndexList rows = table_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](QModelIndex const& a, QModelIndex const& b) { return a.row() < b.row(); });
    QStringList names;
    QSet<QString> seen;
    for (QModelIndex const& i : rows) {
        DifferenceRow const& r = model_->rowAt(i.row());
        if (isElementRow(r) && !seen.contains(r.object)) {
            seen.insert(r.object);
            names << r.object;
        }
    }
    return names;
}

bool DifferencesWindow::restoreSelected()
{
    QStringList const elements = selectedElements();
    if (elements.isEmpty())
        return false;
    bool const done = runCommand(QStringLiteral("report.restore_snapshot_elements"),
                                 Parse::createString(QStringLiteral("snapshot"), snapshot_) +
                                     Parse::createStringVector(QStringLiteral("elements"), elements));
    refresh();
    return done;
}

} // namespace App
} // namespace Kav

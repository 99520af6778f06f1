#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace Kav {
namespace App {

class DifferencesModel;

// The Differences window (not modal): what restoring a snapshot whole would change in the
// scene, one row per property, sortable and filtered by a text. "Restore selected" restores
// the elements of the chosen rows from the snapshot as one step and compares again. Both run
// commands; the table comes from the compare command's file.
class DifferencesWindow : public QWidget {
    Q_OBJECT
public:
    explicit DifferencesWindow(QWidget* parent = nullptr);
    ~DifferencesWindow() override;

    // Compares `snapshot` with the scene and shows the table; false (the reason shown) when
    // the comparison or its file failed.
    bool showSnapshot(QString const& snapshot);
    bool refresh();
    QString snapshot() const { return snapshot_; }

    DifferencesModel* model() const { return model_; }
    QTableView* table() const { return table_; }
    QLineEdit* filterField() const { return filter_; }
    // The elements of the selected rows, in the table's order; the view, the legend and
    // elements the scene no longer has are left out (restored whole, or not at all).
    QStringList selectedElements() const;
    bool restoreSelected();

private:
    void updateSummary();
    void updateButtons();

    DifferencesModel* model_;
    QTableView* table_;
    QLineEdit* filter_;
    QLabel* summary_;
    QPushButton* restore_;
    QString snapshot_;
    QTemporaryDir dir_;
};

} // namespace App
} // namespace Kav

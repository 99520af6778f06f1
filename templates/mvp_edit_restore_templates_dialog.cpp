#include "mvp_edit_restore_templates_dialog.h"

#include "core/kav_filename.h"
#include "core/kav_translate.h"
#include "gapp/kav_app_status_manager.h"
#include "gapp/kav_command_container.h"
#include "gapp/kav_documentation.h"
#include "gapp/kav_main_window.h"
#include "gfile/kav_file_dialog.h"
#include "gicon/kav_icon_cache.h"
#include "gtools/kav_dialogs.h"
#include "gtools/kav_edit_name_dialog.h"
#include "mcadcmd/kav_command_interface.h"
#include "mvp_cmd_import_templates.h"
#include "mvp_prop_acc_template_view.h"
#include "mvp_restore_template_file.h"
#include "mvp_template_edits.h"
#include "mvp_template_names.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <array>

namespace Kav {
namespace MCADVisProp {

using PropertyAccess::PropAccTemplate;
using PropertyAccess::PropAccTemplateContainer;

namespace {

bool storeLocked()
{
    RestoreSnapshotTemplateFile* store = RestoreSnapshotTemplateFile::instance();
    return store != nullptr && store->isLocked();
}

// The size and pane split the dialog last closed with, in this session; empty before.
QSize rememberedSize;
QByteArray rememberedSplit;

// The width that shows every text of `tree`'s column, header included, and a scroll bar.
int paneWidth(QTreeWidget const* tree)
{
    // Public in the item view base only.
    int const items = static_cast<QAbstractItemView const*>(tree)->sizeHintForColumn(0);
    return std::max(items, tree->header()->sectionSizeHint(0)) + 2 * tree->frameWidth()
        + tree->verticalScrollBar()->sizeHint().width();
}

// The height that shows every row of `tree`, its header and frame. Measured on the laid-out
// tree: what it has besides the viewport, and the span of its rows.
int paneHeight(QTreeWidget const* tree)
{
    QTreeWidgetItem* first = tree->topLevelItem(0);
    QTreeWidgetItem* last = first;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it)
        last = *it;
    if (first == nullptr)
        return tree->height() - tree->viewport()->height();
    // One row more: a view that scrolls by rows counts a last row flush with its edge as cut.
    QRect const top = tree->visualItemRect(first);
    int const rows = tree->visualItemRect(last).bottom() - top.top() + 1 + top.height();
    return tree->height() - tree->viewport()->height() + rows;
}

// The host's selection stays off while a file dialog is open.
bool runFileDialog(GFile::FileDialog& dialog)
{
    GApp::AppStatusManager* smgr = GApp::MainWindow::main_win != nullptr ? GApp::MainWindow::smgr : nullptr;
    if (smgr != nullptr)
        smgr->setSelectionEnabled(false);
    bool const chosen = dialog.execFileDialog();
    if (smgr != nullptr)
        smgr->setSelectionEnabled(true);
    return chosen && !dialog.selectedFiles().isEmpty();
}

} // namespace

EditRestoreTemplatesDialog::EditRestoreTemplatesDialog() : QDialog(GApp::MainWindow::main_win)
{
    setupUi(this);
    GApp::Documentation::registerId(this, QStringLiteral("mcad_vis_prop_restore#edit_template"));
    // An unreadable store of another level is left out; the user's own must read.
    UnreadableLevel leftOut;
    templates = loadTemplatesToChange(&leftOut);
    warnLeftOut(leftOut);
    loaded = templates;
    for (unsigned int i = 0; i < templates.getNumberOfTemplates(); ++i)
        origins.push_back(static_cast<int>(i));

    delete _frame_w->layout();
    auto* frameLayout = new QGridLayout(_frame_w);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->setSpacing(10);
    templateView = new PropAccTemplateView(_frame_w);
    templateView->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    templateView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    templateView->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    frameLayout->addWidget(templateView, 0, 0);

    if (!templates.isEmpty()) {
        currentTemplate = templates.getTemplate(0);
        currentIndex = 0;
        templateView->setTemplate(&currentTemplate);
    }

    templateView->header()->setSectionsMovable(false);
    templateView->headerItem()->setText(0, translate("Kav_MCADVisPropEditRestoreTemplates_dlg", "template content"));
    templateView->headerItem()->setTextAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
    _list_w->header()->setSectionsMovable(false);
    _list_w->headerItem()->setText(0, translate("Kav_MCADVisPropEditRestoreTemplates_dlg", "template list"));
    _list_w->headerItem()->setTextAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
    _list_w->setSelectionMode(QAbstractItemView::ExtendedSelection);
    _list_w->setSortingEnabled(false);

    using GIcon::Cache;
    contextMenu = new QMenu(this);
    QAction* newAction = contextMenu->addAction(Cache::getIconSet(GIcon::ACT_NEW, Cache::ICON_SMALL),
        translate("Kav_MCADVisPropEditRestoreTemplates_dlg", "new"));
    connect(newAction, &QAction::triggered, this, &EditRestoreTemplatesDialog::addRestoreTemplate);
    renameAction = contextMenu->addAction(Cache::getIconSet(GIcon::ACT_RENAME, Cache::ICON_SMALL),
        translate("Kav_MCADVisPropEditRestoreTemplates_dlg", "rename"));
    connect(renameAction, &QAction::triggered, this, &EditRestoreTemplatesDialog::renameRestoreTemplate);
    contextMenu->addSeparator();
    deleteAction = contextMenu->addAction(Cache::getIconSet(GIcon::ACT_DELETE, Cache::ICON_SMALL),
        translate("Kav_MCADVisPropEditRestoreTemplates_dlg", "delete"));
    connect(deleteAction, &QAction::triggered, this, &EditRestoreTemplatesDialog::deleteRestoreTemplates);
    contextMenu->addSeparator();
    QAction* importAction = contextMenu->addAction(Cache::getIconSet(GIcon::ACT_IMPORT, Cache::ICON_SMALL),
        translate("Kav_MCADVisPropEditRestoreTemplates_dlg", "import"));
    connect(importAction, &QAction::triggered, this, &EditRestoreTemplatesDialog::importRestoreTemplates);
    exportAction = contextMenu->addAction(Cache::getIconSet(GIcon::ACT_EXPORT, Cache::ICON_SMALL),
        translate("Kav_MCADVisPropEditRestoreTemplates_dlg", "export selected"));
    connect(exportAction, &QAction::triggered, this, &EditRestoreTemplatesDialog::exportRestoreTemplates);

    _list_w->setContextMenuPolicy(Qt::CustomContextMenu);
    if (!storeLocked())
        connect(_list_w, &QWidget::customContextMenuRequested, this, &EditRestoreTemplatesDialog::openContextMenu);
    connect(_list_w, &QTreeWidget::itemSelectionChanged, this, &EditRestoreTemplatesDialog::selectionChanged);
}

EditRestoreTemplatesDialog::~EditRestoreTemplatesDialog()
{
    // The members go before the child widgets: the view must not keep pointing at the shown
    // copy, and the list's signals must not reach a half-destroyed dialog.
    templateView->setTemplate(nullptr);
    disconnect(_list_w, nullptr, this, nullptr);
}

void EditRestoreTemplatesDialog::setVisible(bool visible)
{
    if (!visible && isVisible()) {
        rememberedSize = size();
        rememberedSplit = splitter->saveState();
    }
    QDialog::setVisible(visible);
    if (!visible)
        return;
    fillList();
    if (!templates.isEmpty()) {
        listItems.front()->setSelected(true);
        _list_w->update();
        selectionChanged();
    }
    if (rememberedSize.isValid()) {
        resize(rememberedSize);
        splitter->restoreState(rememberedSplit);
    } else {
        fitContent();
    }
}

void EditRestoreTemplatesDialog::fitContent()
{
    // At least 60 'X' by 15 lines; wider and taller where the texts of either pane need it
    // (translations run longer), but never past the screen.
    QFontMetrics const metrics(font());
    int const listWidth = paneWidth(_list_w);
    int const contentWidth = paneWidth(templateView);
    QMargins const margins = gridLayout->contentsMargins();
    QSize fit(margins.left() + listWidth + splitter->handleWidth() + contentWidth + margins.right(),
              margins.top() + std::max(paneHeight(_list_w), paneHeight(templateView)) + gridLayout->verticalSpacing()
                  + hboxLayout->sizeHint().height() + margins.bottom());
    fit = fit.expandedTo(QSize(60 * metrics.horizontalAdvance(QLatin1Char('X')), 15 * metrics.lineSpacing()));
    QScreen const* shown = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (shown != nullptr)
        fit = fit.boundedTo(shown->availableGeometry().size() - (frameGeometry().size() - size()));
    resize(fit);
    // The content pane gets what its texts need, the list the rest; on a small screen each
    // gets at least half of what it needs.
    int const inner = fit.width() - margins.left() - margins.right() - splitter->handleWidth();
    int const content = std::max(inner - listWidth, std::min(contentWidth, inner - listWidth / 2));
    splitter->setSizes({inner - content, content});
}

void EditRestoreTemplatesDialog::done(int r)
{
    if (r == QDialog::Accepted && !storeLocked()) {
        writeBack();
        // A user store that became unreadable throws to the host's event handling, which
        // reports it. On any failure the dialog stays open: OK may be tried again.
        QString errorId;
        QString why;
        UnreadableLevel leftOut; // the user was warned when the dialog opened
        if (!changeTemplates([this](PropAccTemplateContainer* stored) { applyEdits(stored, loaded, templates, origins); },
                             &errorId, &why, &leftOut)) {
            GTools::ErrorDialog(errorId, why);
            return;
        }
    }
    QDialog::done(r);
}

void EditRestoreTemplatesDialog::writeBack()
{
    if (currentIndex != -1)
        templates.set(static_cast<unsigned int>(currentIndex), currentTemplate);
}

void EditRestoreTemplatesDialog::fillList()
{
    writeBack();
    currentIndex = -1;
    listItems.clear();
    _list_w->clear();
    std::array<QIcon, 3> levelIcons;
    for (int level = 0; level < 3; ++level) {
        if (QPixmap const* pixmap = GIcon::Cache::getConfigLevelIcon(static_cast<Cfg::Level>(level)))
            levelIcons[static_cast<std::size_t>(level)] = QIcon(*pixmap);
    }
    unsigned int const n = templates.getNumberOfTemplates();
    listItems.reserve(n);
    for (unsigned int i = 0; i < n; ++i) {
        PropAccTemplate const t = templates.getTemplate(i);
        auto* item = new QTreeWidgetItem(_list_w);
        item->setText(0, t.getName());
        int const level = static_cast<int>(t.configLevel());
        if (level >= 0 && level < 3)
            item->setIcon(0, levelIcons[static_cast<std::size_t>(level)]);
        listItems.push_back(item);
    }
    selectionChanged();
}

void EditRestoreTemplatesDialog::selectionChanged()
{
    writeBack();
    QList<QTreeWidgetItem*> const selected = _list_w->selectedItems();
    if (selected.size() == 1) {
        auto const it = std::find(listItems.begin(), listItems.end(), selected.first());
        if (it != listItems.end()) {
            currentIndex = static_cast<int>(it - listItems.begin());
            currentTemplate = templates.getTemplate(static_cast<unsigned int>(currentIndex));
            templateView->setTemplate(&currentTemplate);
        }
        return;
    }
    currentIndex = -1;
    templateView->setTemplate(nullptr);
}

std::vector<QString> EditRestoreTemplatesDialog::editableTemplateNames() const
{
    std::vector<QString> names;
    for (unsigned int i = 0; i < templates.getNumberOfTemplates(); ++i) {
        PropAccTemplate const t = templates.getTemplate(i);
        if (t.configLevel() == Cfg::LEVEL_USER)
            names.push_back(t.getName());
    }
    return names;
}

QStringList EditRestoreTemplatesDialog::fileFilters() const
{
    return QStringList(translate("Kav_MCADVisPropEditRestoreTemplates_dlg", "restore template files")
        + QStringLiteral(" (*") + QStringLiteral(".rst") + QStringLiteral(")"));
}

void EditRestoreTemplatesDialog::openContextMenu(QPoint const& p)
{
    QList<QTreeWidgetItem*> const selected = _list_w->selectedItems();
    bool const single = selected.size() == 1;
    bool allEditable = true;
    for (std::size_t i = 0; i < listItems.size() && i < templates.getNumberOfTemplates(); ++i) {
        if (listItems[i]->isSelected()
            && templates.getTemplate(static_cast<unsigned int>(i)).configLevel() != Cfg::LEVEL_USER)
            allEditable = false;
    }
    renameAction->setEnabled(single && allEditable);
    deleteAction->setEnabled(!selected.isEmpty() && allEditable);
    exportAction->setEnabled(!selected.isEmpty());
    contextMenu->exec(_list_w->viewport()->mapToGlobal(p));
}

void EditRestoreTemplatesDialog::addRestoreTemplate()
{
    GTools::EditNameDialog nameDialog(this);
    nameDialog.setWindowTitle(translate("Kav_MCADVisPropEditRestoreTemplates_dlg", "new template"));
    nameDialog.setSelectedName(translate("Kav_MCADVisPropEditRestoreTemplates_dlg", "restore template"));
    nameDialog.setExcludedNames(editableTemplateNames());
    if (GTools::execDialog(nameDialog) != QDialog::Accepted)
        return;
    PropAccTemplate t;
    t.setName(nameDialog.selectedName());
    t.setConfigLevel(Cfg::LEVEL_USER);
    templates.add(t);
    origins.push_back(-1);
    fillList();
    selectionChanged();
    // All entries end up selected: the content pane stays empty until one is picked.
    _list_w->selectAll();
    listItems.back()->setSelected(true);
    selectionChanged();
}

void EditRestoreTemplatesDialog::renameRestoreTemplate()
{
    GTools::EditNameDialog nameDialog(this);
    nameDialog.setWindowTitle(translate("Kav_MCADVisPropEditRestoreTemplates_dlg", "rename template"));
    nameDialog.setSelectedName(currentTemplate.getName());
    nameDialog.setExcludedNames(editableTemplateNames());
    if (GTools::execDialog(nameDialog) != QDialog::Accepted)
        return;
    currentTemplate.setName(nameDialog.selectedName());
    int const previous = currentIndex;
    fillList();
    if (previous >= 0 && static_cast<std::size_t>(previous) < listItems.size())
        listItems[static_cast<std::size_t>(previous)]->setSelected(true);
    selectionChanged();
}

void EditRestoreTemplatesDialog::deleteRestoreTemplates()
{
    // From here the shown copy is no longer written back, whatever the answer.
    currentIndex = -1;
    if (!GTools::YesNoDialog(GTools::DIALOG_QUESTION,
            translate("Kav_MCADVisPropEditRestoreTemplates_dlg", "remove templates"),
            translate("Kav_MCADVisPropEditRestoreTemplates_dlg", "remove selected templates. are you really sure?"),
            QString()))
        return;
    PropAccTemplateContainer kept;
    std::vector<int> keptOrigins;
    for (int i = 0; QTreeWidgetItem* item = _list_w->topLevelItem(i); ++i) {
        if (!item->isSelected()) {
            kept.add(templates.getTemplate(static_cast<unsigned int>(i)));
            keptOrigins.push_back(origins[static_cast<std::size_t>(i)]);
        }
    }
    templates = kept;
    origins = keptOrigins;
    fillList();
    selectionChanged();
}

void EditRestoreTemplatesDialog::importRestoreTemplates()
{
    GFile::FileDialog fileDialog(GFile::WORKING_MODE_DEFAULT, FILE_MODE_EXISTING_FILES, GApp::MainWindow::main_win);
    fileDialog.setWindowTitle(translate("Kav_MCADVisPropEditRestoreTemplates_dlg", "import file"));
    fileDialog.setFilters(fileFilters());
    fileDialog.setEnding(QStringLiteral(".rst"));
    if (!runFileDialog(fileDialog))
        return;
    QString const path = fileDialog.selectedFiles().first();

    PropAccTemplateContainer incoming;
    QString why;
    if (!readExchangeFile(path, &incoming, &why)) {
        GTools::ErrorDialog(QString::fromLatin1(MCADCmd::ERROR_OPEN_FILE), why);
        return;
    }
    mergeTemplates(&templates, incoming);
    origins.resize(templates.getNumberOfTemplates(), -1);
    fillList();
    selectionChanged();

    // Replaying a recorded macro repeats the import; recorded whatever the dialog's outcome.
    auto* command = dynamic_cast<ImportResTemCommand*>(
        GApp::CommandContainer::getCommand(QStringLiteral("report.import_restore_templates")));
    if (command != nullptr && GApp::MainWindow::main_win != nullptr)
        GApp::MainWindow::main_win->addCommandToMacro(command, command->createFileParameterString(path));
}

void EditRestoreTemplatesDialog::exportRestoreTemplates()
{
    GFile::FileDialog fileDialog(GFile::WORKING_MODE_DEFAULT, FILE_MODE_SAVE, GApp::MainWindow::main_win);
    fileDialog.setWindowTitle(translate("Kav_MCADVisPropEditRestoreTemplates_dlg", "export file"));
    fileDialog.setFilters(fileFilters());
    fileDialog.setEnding(QStringLiteral(".rst"));

    PropAccTemplateContainer chosen;
    for (std::size_t i = 0; i < listItems.size() && i < templates.getNumberOfTemplates(); ++i) {
        // The working copy as it stands: changes to the shown template join it only when
        // the selection changes or the dialog is accepted.
        if (listItems[i]->isSelected())
            chosen.add(templates.getTemplate(static_cast<unsigned int>(i)));
    }
    QString const firstName = chosen.isEmpty() ? QString() : chosen.getTemplate(0).getName();
    fileDialog.setSelection(Filename::Name(firstName).getBaseName());
    if (!runFileDialog(fileDialog))
        return;
    QString const path = fileDialog.selectedFiles().first();

    QString why;
    if (!writeExchangeFile(path, chosen, &why))
        GTools::ErrorDialog(QString::fromLatin1(MCADCmd::ERROR_SAVE_FILE), why);
}

} // namespace MCADVisProp
} // namespace Kav

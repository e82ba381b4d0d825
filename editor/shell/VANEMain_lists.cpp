// TVANEForm: the Directory Defaults and Texture Filenames pages. Each grid
// shows its default list, one entry a row below the heading row; the buttons
// and keys add, edit, delete and clear entries, a press on a heading sorts,
// and "Update Now" applies the list to the held file.
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <cstdlib>

#include "DirUnit2.h"
#include "TexForm.h"
#include "VANEMain.h"
#include "core/path_rules.h"
#include "event_hook.h"
#include "list_dialog_services.h"
#include "ui_VANEMain.h"
#include "window_text.h"

namespace tessvane {

namespace {

void SetRow(QTableWidget& grid, int row, const std::vector<QString>& texts) {
    for (int c = 0; c < grid.columnCount(); ++c) {
        if (QTableWidgetItem* item = grid.item(row, c))
            item->setText(texts[size_t(c)]);
        else
            grid.setItem(row, c, new QTableWidgetItem(texts[size_t(c)]));
    }
}

// The design's grid row (1 = first entry) of the current cell; 0 when none.
std::size_t CurrentEntry(const QTableWidget& grid) {
    return grid.currentRow() < 0 ? 0 : std::size_t(grid.currentRow()) + 1;
}

void SelectEntry(QTableWidget& grid, std::size_t number) {
    grid.setCurrentCell(int(number) - 1, 0);
    grid.selectRow(int(number) - 1);
}

// True when `x` lies on the border between two headings, where a press starts
// resizing a column rather than choosing one.
bool OnColumnBorder(const QHeaderView& heading, int x) {
    const int grip = heading.style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, &heading);
    for (int i = 0; i < heading.count(); ++i) {
        const int right = heading.sectionViewportPosition(i) + heading.sectionSize(i);
        if (std::abs(x - right) <= grip) return true;
    }
    return false;
}

}  // namespace

void TVANEForm::ConnectDefaultListPages() {
    listChooserDirectory_ = std::make_shared<std::string>();
    auto& ui = *ui_;

    connect(ui.AddDirButton, &QPushButton::clicked, this, &TVANEForm::AddDirButtonClick);
    connect(ui.EditDirButton, &QPushButton::clicked, this, &TVANEForm::EditDirButtonClick);
    connect(ui.DeleteDirButton, &QPushButton::clicked, this, &TVANEForm::DeleteDirButtonClick);
    connect(ui.DirClearButton, &QPushButton::clicked, this, &TVANEForm::DirClearButtonClick);
    connect(ui.UpdateDefPathsButton, &QPushButton::clicked, this,
            &TVANEForm::UpdateDefPathsButtonClick);
    connect(ui.AddTexButton, &QPushButton::clicked, this, &TVANEForm::AddTexButtonClick);
    connect(ui.EditTexButton, &QPushButton::clicked, this, &TVANEForm::EditTexButtonClick);
    connect(ui.DeleteTexButton, &QPushButton::clicked, this, &TVANEForm::DeleteTexButtonClick);
    connect(ui.ClearButton, &QPushButton::clicked, this, &TVANEForm::ClearButtonClick);
    connect(ui.TexFNameUpdateButton, &QPushButton::clicked, this,
            &TVANEForm::TexFNameUpdateButtonClick);

    connect(ui.DefaultDirList, &QTableWidget::cellDoubleClicked, this,
            [this] { EditDirButtonClick(); });
    connect(ui.TextureList, &QTableWidget::cellDoubleClicked, this,
            [this] { EditTexButtonClick(); });

    // Insert adds, Delete removes, Enter edits; only while the list has
    // entries (an empty grid is disabled anyway).
    const auto grid_keys = [this](QTableWidget* grid, bool directories) {
        new EventHook(grid, [this, grid, directories](QEvent* event) {
            if (event->type() != QEvent::KeyPress) return false;
            const std::size_t count = directories ? context_.editor.directoryDefaults.Count()
                                                  : context_.editor.textureDefaults.Count();
            if (count == 0 || !grid->isEnabled()) return false;
            switch (static_cast<QKeyEvent*>(event)->key()) {
                case Qt::Key_Insert:
                    directories ? AddDirButtonClick() : AddTexButtonClick();
                    return true;
                case Qt::Key_Delete:
                    directories ? DeleteDirButtonClick() : DeleteTexButtonClick();
                    return true;
                case Qt::Key_Return:
                case Qt::Key_Enter:
                    directories ? EditDirButtonClick() : EditTexButtonClick();
                    return true;
                default:
                    return false;
            }
        });
    };
    grid_keys(ui.DefaultDirList, true);
    grid_keys(ui.TextureList, false);

    // A press anywhere on the heading row sorts by the column under it; beside
    // the columns it only redraws. A press on a border between headings
    // resizes the column and leaves the order alone: the order decides which
    // of two entries for the same old name applies.
    const auto heading_press = [this](QTableWidget* grid, bool directories) {
        QHeaderView* heading = grid->horizontalHeader();
        heading->setSectionsClickable(false);
        new EventHook(heading->viewport(), [this, heading, directories](QEvent* event) {
            if (event->type() != QEvent::MouseButtonPress) return false;
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (OnColumnBorder(*heading, at.x())) return false;
            const int column = heading->logicalIndexAt(at);
            directories ? DefaultDirListMouseDown(column) : TextureListMouseDown(column);
            return false;
        });
    };
    heading_press(ui.DefaultDirList, true);
    heading_press(ui.TextureList, false);

    ui.DefaultDirList->setColumnWidth(0, 255);
    ui.DefaultDirList->setColumnWidth(1, 240);
    ui.TextureList->setColumnWidth(0, 169);
    ui.TextureList->setColumnWidth(1, 167);
    ui.TextureList->setColumnWidth(2, 166);
    // The chosen row stays marked while the grid has the focus and after.
    for (QTableWidget* grid : {ui.DefaultDirList, ui.TextureList}) {
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
        grid->setSelectionBehavior(QAbstractItemView::SelectRows);
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    }
}

std::unique_ptr<TDefDirSelect> TVANEForm::MakeDefDirSelect() {
    auto dialog = std::make_unique<TDefDirSelect>(this);
    dialog->SetServices(MakeDefDirSelectServices(dialogs_, context_.editor, listChooserDirectory_));
    dialog->setWindowTitle(QStringLiteral("Select Directories"));
    return dialog;
}

std::unique_ptr<TDefTextureForm> TVANEForm::MakeDefTextureForm() {
    auto dialog = std::make_unique<TDefTextureForm>(this);
    dialog->SetServices(MakeDefTextureFormServices(dialogs_, context_.editor));
    dialog->setWindowTitle(QStringLiteral("Select Textures"));
    dialog->SetTextureDirectory(ShowLocal(context_.editor.shell.TextureDialogDirectory));
    return dialog;
}

void TVANEForm::AddDirButtonClick() {
    auto dialog = MakeDefDirSelect();
    dialog->SetFields(QString(), QString());
    if (dialog->exec() != QDialog::Accepted) return;
    if (dialog->OldDirectory().isEmpty() && dialog->NewDirectory().isEmpty()) return;
    if (!context_.editor.directoryDefaults.Append(
            {StoredText(context_.editor, dialog->OldDirectory()),
             StoredText(context_.editor, dialog->NewDirectory())})) {
        Warn("The directory list is full; no further entry can be added.");
        return;
    }
    SetDefDirectoryList();
}

void TVANEForm::EditDirButtonClick() {
    DirectoryDefaultList& list = context_.editor.directoryDefaults;
    const std::size_t number = CurrentEntry(*ui_->DefaultDirList);
    if (number < 1 || number > list.Count()) return;
    auto dialog = MakeDefDirSelect();
    const DirectoryDefault& entry = list.At(number);
    dialog->SetFields(Shown(entry.OldDirectory), Shown(entry.NewDirectory));
    if (dialog->exec() != QDialog::Accepted) return;
    list.Replace(number, {StoredText(context_.editor, dialog->OldDirectory()),
                          StoredText(context_.editor, dialog->NewDirectory())});
    const DirectoryDefault& changed = list.At(number);
    SetRow(*ui_->DefaultDirList, int(number) - 1,
           {Shown(changed.OldDirectory), Shown(changed.NewDirectory)});
}

void TVANEForm::DeleteDirButtonClick() {
    DirectoryDefaultList& list = context_.editor.directoryDefaults;
    const std::size_t number = CurrentEntry(*ui_->DefaultDirList);
    if (!list.Remove(number)) return;
    SetDefDirectoryList();
    if (number > 1) SelectEntry(*ui_->DefaultDirList, number - 1);
}

void TVANEForm::DirClearButtonClick() {
    context_.editor.directoryDefaults.Clear();
    SetDefDirectoryList();
}

void TVANEForm::UpdateDefPathsButtonClick() {
    if (!FileHeld()) return;
    ApplyDirectoryDefaults(context_, false);
}

void TVANEForm::AddTexButtonClick() {
    auto dialog = MakeDefTextureForm();
    dialog->SetFields(QString(), QString(), QString());
    if (dialog->exec() != QDialog::Accepted) return;
    if (dialog->OldTexture().isEmpty() && dialog->NewTexture().isEmpty()) return;
    if (!context_.editor.textureDefaults.Append(
            {StoredText(context_.editor, dialog->OldTexture()),
             StoredText(context_.editor, dialog->NewTexture()),
             StoredText(context_.editor, dialog->Description())})) {
        Warn("The texture list is full; no further entry can be added.");
        return;
    }
    SetDefTextureList();
    context_.editor.shell.TextureDialogDirectory = LocalText(dialog->TextureDirectory());
}

void TVANEForm::EditTexButtonClick() {
    TextureDefaultList& list = context_.editor.textureDefaults;
    const std::size_t number = CurrentEntry(*ui_->TextureList);
    if (number < 1 || number > list.Count()) return;
    auto dialog = MakeDefTextureForm();
    const TextureDefault& entry = list.At(number);
    dialog->SetFields(Shown(entry.OldTexture), Shown(entry.NewTexture), Shown(entry.Description));
    if (dialog->exec() != QDialog::Accepted) return;
    if (dialog->OldTexture().isEmpty() && dialog->NewTexture().isEmpty()) return;
    list.Replace(number, {StoredText(context_.editor, dialog->OldTexture()),
                          StoredText(context_.editor, dialog->NewTexture()),
                          StoredText(context_.editor, dialog->Description())});
    const TextureDefault& changed = list.At(number);
    SetRow(*ui_->TextureList, int(number) - 1,
           {Shown(changed.OldTexture), Shown(changed.NewTexture), Shown(changed.Description)});
    context_.editor.shell.TextureDialogDirectory = LocalText(dialog->TextureDirectory());
}

void TVANEForm::DeleteTexButtonClick() {
    TextureDefaultList& list = context_.editor.textureDefaults;
    const std::size_t number = CurrentEntry(*ui_->TextureList);
    if (!list.Remove(number)) return;
    SetDefTextureList();
    if (number > 1) SelectEntry(*ui_->TextureList, number - 1);
}

void TVANEForm::ClearButtonClick() {
    context_.editor.textureDefaults.Clear();
    SetDefTextureList();
}

void TVANEForm::TexFNameUpdateButtonClick() {
    if (!FileHeld()) return;
    ApplyTextureDefaults(context_, false);
}

void TVANEForm::DefaultDirListMouseDown(int column) {
    if (column == 0 || column == 1) SortDirectoryDefaults(column);
    SetDefDirectoryList();
}

void TVANEForm::TextureListMouseDown(int column) {
    if (column >= 0 && column <= 2) SortTextureDefaults(column);
    SetDefTextureList();
}

void TVANEForm::SortDirectoryDefaults(int column) {
    context_.editor.directoryDefaults.SortBy([column](const DirectoryDefault& entry) {
        return column == 0 ? entry.OldDirectory.view() : entry.NewDirectory.view();
    });
}

void TVANEForm::SortTextureDefaults(int column) {
    context_.editor.textureDefaults.SortBy([column](const TextureDefault& entry) {
        switch (column) {
            case 0:
                return entry.OldTexture.view();
            case 1:
                return entry.NewTexture.view();
            default:
                return entry.Description.view();
        }
    });
}

}  // namespace tessvane

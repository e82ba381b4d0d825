// The grids of the Directory Defaults and Texture Filenames pages, filled from
// the two default lists with the buttons that go with them.
#include <QHeaderView>

#include "VANEMain.h"
#include "ui_VANEMain.h"

namespace tessvane {
namespace {

// Rows for the entries, but always at least one (empty) row below the heading.
template <typename List, typename Fill>
void FillGrid(QTableWidget* grid, const List& list, Fill fill) {
    const QSignalBlocker block(grid);
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->clearContents();
    grid->setRowCount(std::max<int>(1, static_cast<int>(list.Count())));
    for (std::size_t i = 1; i <= list.Count(); ++i) fill(static_cast<int>(i - 1), list.At(i));
    if (list.Empty()) {
        // The blank row holds no entry: marking it would show a dark bar in
        // the disabled grid, as if something were chosen.
        grid->setCurrentCell(-1, -1);
        grid->clearSelection();
    } else {
        grid->setCurrentCell(0, 0);
    }
    grid->setEnabled(!list.Empty());
}

}  // namespace

void TVANEForm::SetDefDirectoryList() {
    const DirectoryDefaultList& list = context_.editor.directoryDefaults;
    QTableWidget* grid = ui_->DefaultDirList;
    FillGrid(grid, list, [this, grid](int row, const DirectoryDefault& e) {
        grid->setItem(row, 0, new QTableWidgetItem(Shown(e.OldDirectory)));
        grid->setItem(row, 1, new QTableWidgetItem(Shown(e.NewDirectory)));
    });
    const bool any = !list.Empty();
    ui_->EditDirButton->setEnabled(any);
    ui_->DeleteDirButton->setEnabled(any);
    ui_->DirClearButton->setEnabled(any);
    if (!any)
        ui_->UpdateDefPathsButton->setEnabled(false);
    else if (context_.file.Loaded)
        ui_->UpdateDefPathsButton->setEnabled(true);
}

void TVANEForm::SetDefTextureList() {
    const TextureDefaultList& list = context_.editor.textureDefaults;
    QTableWidget* grid = ui_->TextureList;
    FillGrid(grid, list, [this, grid](int row, const TextureDefault& e) {
        grid->setItem(row, 0, new QTableWidgetItem(Shown(e.OldTexture)));
        grid->setItem(row, 1, new QTableWidgetItem(Shown(e.NewTexture)));
        grid->setItem(row, 2, new QTableWidgetItem(Shown(e.Description)));
    });
    const bool any = !list.Empty();
    ui_->EditTexButton->setEnabled(any);
    ui_->DeleteTexButton->setEnabled(any);
    ui_->ClearButton->setEnabled(any);
    ui_->TexFNameUpdateButton->setEnabled(any && context_.file.Loaded &&
                                          context_.file.Paths.TextureCount > 0);
}

}  // namespace tessvane

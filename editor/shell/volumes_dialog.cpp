#include "volumes_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cassert>

#include "window_text.h"

namespace tessvane {
namespace {

QTableWidget* MakeGrid(QWidget* parent, const char* name, const QStringList& headings) {
    auto* grid = new QTableWidget(0, int(headings.size()), parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setHorizontalHeaderLabels(headings);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(text);
    return item;
}

// OK and Cancel at the bottom right, as the other dialogs have them.
QHBoxLayout* OkCancelRow(QDialog* dialog, const QString& ok) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    QPushButton* accept = MakeButton(dialog, "OkButton", ok);
    accept->setDefault(true);
    QPushButton* cancel = MakeButton(dialog, "CancelButton", QStringLiteral("Cancel"));
    QObject::connect(accept, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    row->addWidget(accept);
    row->addWidget(cancel);
    return row;
}

}  // namespace

TVolumesForm::TVolumesForm(VolumeList volumes, CharacterSet set, VolumesDialogServices services,
                           QWidget* parent)
    : QDialog(parent), volumes_(std::move(volumes)), set_(set), services_(std::move(services)) {
    assert(services_.chooseDirectory && services_.detect && services_.warn);
    setObjectName(QStringLiteral("VolumesForm"));
    setWindowTitle(QStringLiteral("Volumes"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(
        QStringLiteral("Where the drives, volumes and assigns named in object files lie on this "
                       "machine:"),
        this);
    note->setWordWrap(true);
    layout->addWidget(note);

    auto* middle = new QHBoxLayout;
    grid_ = MakeGrid(this, "VolumeGrid", {QStringLiteral("Volume"), QStringLiteral("Directory")});
    grid_->horizontalHeader()->resizeSection(0, 110);
    middle->addWidget(grid_, 1);
    auto* buttons = new QVBoxLayout;
    QPushButton* add = MakeButton(this, "AddButton", QStringLiteral("&Add"));
    editButton_ = MakeButton(this, "EditButton", QStringLiteral("&Edit"));
    deleteButton_ = MakeButton(this, "DeleteButton", QStringLiteral("&Delete"));
    QPushButton* detect = MakeButton(this, "DetectButton", QStringLiteral("De&tect..."));
    detect->setToolTip(
        QStringLiteral("Look for the drives of Wine and DOSBox and the hard drives of FS-UAE "
                       "and UAE, and offer each one found"));
    for (QPushButton* button : {add, editButton_, deleteButton_, detect})
        buttons->addWidget(button);
    buttons->addStretch();
    middle->addLayout(buttons);
    layout->addLayout(middle, 1);
    layout->addLayout(OkCancelRow(this, QStringLiteral("OK")));

    connect(add, &QPushButton::clicked, this, &TVolumesForm::AddClick);
    connect(editButton_, &QPushButton::clicked, this, &TVolumesForm::EditClick);
    connect(deleteButton_, &QPushButton::clicked, this, &TVolumesForm::DeleteClick);
    connect(detect, &QPushButton::clicked, this, &TVolumesForm::DetectClick);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, &TVolumesForm::EditClick);

    resize(620, 320);
    FillGrid(0);
}

void TVolumesForm::FillGrid(int current) {
    grid_->setRowCount(int(volumes_.size()));
    for (std::size_t i = 0; i < volumes_.size(); ++i) {
        grid_->setItem(int(i), 0, Cell(ShowText(volumes_[i].Name, set_)));
        grid_->setItem(int(i), 1, Cell(ShowLocal(volumes_[i].Directory)));
    }
    const bool any = !volumes_.empty();
    editButton_->setEnabled(any);
    deleteButton_->setEnabled(any);
    if (any) grid_->selectRow(std::min(current, int(volumes_.size()) - 1));
}

std::optional<VolumeMapping> TVolumesForm::AskEntry(const VolumeMapping& shown,
                                                    std::optional<std::size_t> editing) {
    const auto check = [this, editing](
                           const QString& nameText,
                           const QString& directoryText) -> std::optional<VolumeMapping> {
        const TypedText typed = ReadTyped(nameText.trimmed(), set_);
        if (!typed.ok()) {
            services_.warn(typed.refusal);
            return std::nullopt;
        }
        const std::optional<std::string> name = NormalizeVolumeName(typed.bytes);
        if (!name) {
            // Appended, not concatenated: g++ 12 at -O3 sees an overlapping
            // copy in "literal" + string that is not there.
            std::string message = "\"";
            message += nameText.trimmed().toStdString();
            message +=
                "\" is not a volume name: give a drive, device, volume or assign such "
                "as C:, DH0:, Work: or Imagine:, without '/', '\\' or ','.";
            services_.warn(message);
            return std::nullopt;
        }
        const std::optional<std::size_t> same = FindVolume(volumes_, *name);
        if (same && same != editing) {
            services_.warn(ShowText(volumes_[*same].Name, set_).toStdString() +
                           " is in the list already.");
            return std::nullopt;
        }
        const QString directory = directoryText.trimmed();
        if (directory.isEmpty()) {
            services_.warn("Give the directory of this machine that " +
                           ShowText(*name, set_).toStdString() + " stands for.");
            return std::nullopt;
        }
        const QFileInfo info(directory);
        if (!info.isDir()) {
            services_.warn("Directory does not exist\n" + directory.toStdString());
            return std::nullopt;
        }
        return VolumeMapping{*name, LocalText(info.absoluteFilePath())};
    };
    TVolumeEntryForm entry(check, services_.chooseDirectory, this);
    entry.setWindowTitle(editing ? QStringLiteral("Edit Volume") : QStringLiteral("Add Volume"));
    entry.SetFields(ShowText(shown.Name, set_), ShowLocal(shown.Directory));
    if (entry.exec() != QDialog::Accepted) return std::nullopt;
    return entry.Entry();
}

void TVolumesForm::AddClick() {
    const std::optional<VolumeMapping> added = AskEntry({}, std::nullopt);
    if (!added) return;
    volumes_.push_back(*added);
    FillGrid(int(volumes_.size()) - 1);
}

void TVolumesForm::EditClick() {
    const int row = grid_->currentRow();
    if (row < 0 || std::size_t(row) >= volumes_.size()) return;
    const std::optional<VolumeMapping> changed = AskEntry(volumes_[std::size_t(row)], row);
    if (!changed) return;
    volumes_[std::size_t(row)] = *changed;
    FillGrid(row);
}

void TVolumesForm::DeleteClick() {
    const int row = grid_->currentRow();
    if (row < 0 || std::size_t(row) >= volumes_.size()) return;
    volumes_.erase(volumes_.begin() + row);
    FillGrid(row);
}

void TVolumesForm::DetectClick() {
    std::vector<DetectedVolume> found = services_.detect();
    const std::size_t detected = found.size();
    // What the list holds already is not offered again.
    std::erase_if(found, [this](const DetectedVolume& volume) {
        const std::optional<std::size_t> at = FindVolume(volumes_, volume.Name);
        return at && volumes_[*at].Directory == volume.Directory;
    });
    if (found.empty()) {
        services_.warn(detected == 0 ? "No drive or volume of Wine, DOSBox, FS-UAE or UAE was "
                                       "found on this machine."
                                     : "Every drive and volume found is in the list already.");
        return;
    }
    TDetectedVolumesForm offer(found, volumes_, this);
    if (offer.exec() != QDialog::Accepted) return;
    for (const std::size_t i : offer.Ticked()) {
        // The emulators' files name their volumes in the local encoding.
        const TypedText name = ReadTyped(ShowLocal(found[i].Name), set_);
        if (!name.ok()) {
            services_.warn(name.refusal);
            continue;
        }
        if (!SetVolume(volumes_, name.bytes, found[i].Directory))
            services_.warn("\"" + found[i].Name + "\" is not a volume name; it was left out.");
    }
    FillGrid(grid_->currentRow());
}

TVolumeEntryForm::TVolumeEntryForm(
    Check check, std::function<std::optional<std::string>(const std::string&)> chooseDirectory,
    QWidget* parent)
    : QDialog(parent), check_(std::move(check)) {
    setObjectName(QStringLiteral("VolumeEntryForm"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("VolumeEdit"));
    name_->setPlaceholderText(QStringLiteral("C:, DH0:, Work:, Imagine:"));
    directory_ = new QLineEdit(this);
    directory_->setObjectName(QStringLiteral("DirectoryEdit"));
    QPushButton* browse = MakeButton(this, "BrowseButton", QStringLiteral("&Browse..."));
    auto* nameLabel = new QLabel(QStringLiteral("&Volume:"), this);
    nameLabel->setBuddy(name_);
    auto* directoryLabel = new QLabel(QStringLiteral("&Directory here:"), this);
    directoryLabel->setBuddy(directory_);
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(name_, 0, 1, 1, 2);
    fields->addWidget(directoryLabel, 1, 0);
    fields->addWidget(directory_, 1, 1);
    fields->addWidget(browse, 1, 2);
    fields->setColumnStretch(1, 1);
    layout->addLayout(fields);
    layout->addLayout(OkCancelRow(this, QStringLiteral("OK")));
    connect(browse, &QPushButton::clicked, this, [this, chooseDirectory] {
        if (const std::optional<std::string> chosen =
                chooseDirectory(LocalText(directory_->text().trimmed())))
            directory_->setText(ShowLocal(*chosen));
    });
    resize(520, sizeHint().height());
}

void TVolumeEntryForm::SetFields(const QString& name, const QString& directory) {
    name_->setText(name);
    directory_->setText(directory);
}

void TVolumeEntryForm::accept() {
    const std::optional<VolumeMapping> entry = check_(name_->text(), directory_->text());
    if (!entry) return;
    entry_ = *entry;
    QDialog::accept();
}

TDetectedVolumesForm::TDetectedVolumesForm(const std::vector<DetectedVolume>& found,
                                           const VolumeList& current, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("DetectedVolumesForm"));
    setWindowTitle(QStringLiteral("Detected Volumes"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(
        QStringLiteral("Tick each mapping to add to the list. A volume that is in the list "
                       "already gets the directory found in place of the one shown under Now."),
        this);
    note->setWordWrap(true);
    layout->addWidget(note);
    grid_ = MakeGrid(this, "DetectedGrid",
                     {QStringLiteral("Volume"), QStringLiteral("Directory"),
                      QStringLiteral("Found In"), QStringLiteral("Now")});
    grid_->setRowCount(int(found.size()));
    for (std::size_t i = 0; i < found.size(); ++i) {
        QTableWidgetItem* name = Cell(ShowLocal(found[i].Name));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        name->setCheckState(Qt::Unchecked);
        grid_->setItem(int(i), 0, name);
        grid_->setItem(int(i), 1, Cell(ShowLocal(found[i].Directory)));
        grid_->setItem(int(i), 2, Cell(ShowLocal(found[i].Source)));
        const std::optional<std::size_t> at = FindVolume(current, found[i].Name);
        grid_->setItem(int(i), 3, Cell(at ? ShowLocal(current[*at].Directory) : QString()));
    }
    grid_->resizeColumnsToContents();
    layout->addWidget(grid_, 1);
    layout->addLayout(OkCancelRow(this, QStringLiteral("&Add Ticked")));
    resize(760, 320);
}

std::vector<std::size_t> TDetectedVolumesForm::Ticked() const {
    std::vector<std::size_t> ticked;
    for (int row = 0; row < grid_->rowCount(); ++row)
        if (grid_->item(row, 0)->checkState() == Qt::Checked) ticked.push_back(std::size_t(row));
    return ticked;
}

}  // namespace tessvane

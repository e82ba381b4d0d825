#include "DirUnit.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QStorageInfo>

#include "core/volume_map.h"
#include "ui_DirUnit.h"
#include "window_text.h"

namespace tessvane {

QString NearestExistingDirectory(const QString& directory) {
    QString candidate = QDir::fromNativeSeparators(directory);
    // Object files may carry Windows separators; on this system they are '/'.
    candidate.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (!candidate.isEmpty()) {
        QFileInfo info(candidate);
        if (info.isDir()) return QDir::cleanPath(info.absoluteFilePath());
        const QString parent = QFileInfo(candidate).path();
        if (parent == candidate || parent == QStringLiteral(".")) break;
        candidate = parent;
    }
    return QDir::homePath();
}

int VolumeHolding(const QStringList& roots, const QString& directory) {
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < roots.size(); ++i) {
        const QString& root = roots[i];
        // "/mnt/data" holds "/mnt/data" and "/mnt/data/x", not "/mnt/database".
        const bool holds = directory.startsWith(root) &&
                           (root.endsWith(QLatin1Char('/')) || directory.size() == root.size() ||
                            directory[root.size()] == QLatin1Char('/'));
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

std::string LocalStartDirectory(const Settings& settings, std::string_view path) {
    const auto local = [&settings](std::string_view p) -> std::optional<std::string> {
        if (p.empty()) return std::nullopt;
        ResolvedPath resolved = ResolveObjectPath(settings, p, EntryKind::Directory);
        if (resolved.status != ResolveStatus::Found && resolved.status != ResolveStatus::Missing)
            return std::nullopt;
        return std::move(resolved.local);
    };
    if (std::optional<std::string> start = local(path)) return *start;
    return local(settings.ImagineDirectory).value_or(std::string());
}

namespace {

// Item data of the drive list: the local directory, and the volume's name
// for the volumes of the map.
constexpr int kRootRole = Qt::UserRole;
constexpr int kVolumeRole = Qt::UserRole + 1;

}  // namespace

TDirectorySelect::TDirectorySelect(QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::TDirectorySelect>()),
      model_(new QFileSystemModel(this)) {
    ui_->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // The controls sit at fixed places.
    setFixedSize(size());
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QString());
    ui_->DirectoryListBox1->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        ui_->DirectoryListBox1->hideColumn(column);

    FillDrives();

    connect(ui_->DriveComboBox1, &QComboBox::activated, this,
            &TDirectorySelect::DriveComboBox1Change);
    connect(ui_->DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TDirectorySelect::DirectoryListBox1Change);
    connect(ui_->OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    SetDirectory(QDir::homePath());
}

TDirectorySelect::~TDirectorySelect() = default;

void TDirectorySelect::SetSettings(const Settings* settings) {
    settings_ = settings;
    FillDrives();
    SetDirectory(directory_);
}

void TDirectorySelect::SetForm(DirectoryForm form) {
    form_ = form;
    ShowCurrentDirectory();
}

void TDirectorySelect::SetWarn(std::function<void(const std::string&)> warn) {
    warn_ = std::move(warn);
}

void TDirectorySelect::FillDrives() {
    QComboBox* drives = ui_->DriveComboBox1;
    drives->clear();
    if (settings_ != nullptr) {
        for (const VolumeMapping& volume : settings_->Volumes) {
            const QString root = QDir::cleanPath(ShowLocal(volume.Directory));
            // A volume whose directory is gone has no tree to show.
            if (!QFileInfo(root).isDir()) continue;
            const QString name = ShowText(volume.Name, settings_->CharacterSet);
            drives->addItem(name + QStringLiteral("  ") + root);
            drives->setItemData(drives->count() - 1, root, kRootRole);
            drives->setItemData(drives->count() - 1, name, kVolumeRole);
        }
    }
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        drives->addItem(volume.rootPath(), volume.rootPath());
    }
}

void TDirectorySelect::SetStart(std::string_view path) {
    if (settings_ == nullptr) {
        SetDirectory(ShowLocal(path));
        return;
    }
    SetDirectory(ShowLocal(LocalStartDirectory(*settings_, path)));
    // Several volumes may stand for one directory (an Amiga device and its
    // volume name): the one the path names is the drive shown.
    const ObjectPathParts parts = SplitObjectPath(path);
    if (parts.root != ObjectPathParts::Root::Volume) return;
    const QString named = ShowText(parts.volume, settings_->CharacterSet);
    QComboBox* drives = ui_->DriveComboBox1;
    for (int i = 0; i < drives->count(); ++i) {
        const QString root = drives->itemData(i, kRootRole).toString();
        if (drives->itemData(i, kVolumeRole).toString().compare(named, Qt::CaseInsensitive) != 0 ||
            VolumeHolding({root}, directory_) != 0) {
            continue;
        }
        drives->setCurrentIndex(i);
        ShowDrive(root);
        ShowCurrentDirectory();
        return;
    }
}

void TDirectorySelect::SetDirectory(const QString& directory) {
    directory_ = NearestExistingDirectory(directory);
    QStringList roots;
    for (int i = 0; i < ui_->DriveComboBox1->count(); ++i)
        roots << ui_->DriveComboBox1->itemData(i, kRootRole).toString();
    const int best = VolumeHolding(roots, directory_);
    if (best >= 0) {
        ui_->DriveComboBox1->setCurrentIndex(best);
        ShowDrive(roots[best]);
    }
    // Opened down to the start, which is selected and open too.
    QTreeView* tree = ui_->DirectoryListBox1;
    const QModelIndex index = model_->index(directory_);
    for (QModelIndex up = index.parent(); up.isValid() && up != tree->rootIndex(); up = up.parent())
        tree->expand(up);
    tree->expand(index);
    tree->setCurrentIndex(index);
    tree->scrollTo(index);
    ShowCurrentDirectory();
}

QString TDirectorySelect::Directory() const {
    return directory_;
}

std::optional<std::string> TDirectorySelect::Chosen(std::string* refusal) const {
    const std::string local = LocalText(directory_);
    if (form_ == DirectoryForm::Local || settings_ == nullptr) return local;
    // The drive chosen names the directory when it holds it, even where
    // another volume of the map would hold it too.
    Settings named = *settings_;
    const QComboBox* drives = ui_->DriveComboBox1;
    const QString volume = drives->currentData(kVolumeRole).toString();
    if (!volume.isEmpty() &&
        VolumeHolding({drives->currentData(kRootRole).toString()}, directory_) == 0) {
        named.Volumes.clear();
        for (const VolumeMapping& v : settings_->Volumes) {
            if (ShowText(v.Name, settings_->CharacterSet) == volume) named.Volumes.push_back(v);
        }
    }
    const ObjectForm form = ObjectFormOfLocalPath(named, local);
    if (form.status == ObjectFormStatus::Unencodable) {
        if (refusal != nullptr) *refusal = RefusalMessage(form.refused, settings_->CharacterSet);
        return std::nullopt;
    }
    return form.path;
}

void TDirectorySelect::accept() {
    std::string refusal;
    if (!Chosen(&refusal)) {
        if (warn_) warn_(refusal);
        return;
    }
    QDialog::accept();
}

void TDirectorySelect::ShowCurrentDirectory() {
    // In the form OK gives: C:\TEXTURES for a directory on a mapped volume.
    QString shown = directory_;
    if (form_ == DirectoryForm::ObjectFile && settings_ != nullptr) {
        if (const std::optional<std::string> chosen = Chosen())
            shown = ShowText(*chosen, settings_->CharacterSet);
    }
    // A deep directory is longer than the panel; centred text would be cut at
    // both ends, so the middle gives way and the whole path is the tool tip.
    QLabel* panel = ui_->DirLabel;
    const int room = panel->contentsRect().width() - 2 * panel->margin() - 4;
    panel->setText(panel->fontMetrics().elidedText(shown, Qt::ElideMiddle, room));
    panel->setToolTip(shown);
}

void TDirectorySelect::ShowDrive(const QString& root) {
    ui_->DirectoryListBox1->setRootIndex(model_->index(root));
}

void TDirectorySelect::DriveComboBox1Change(int index) {
    const QString root = ui_->DriveComboBox1->itemData(index, kRootRole).toString();
    ShowDrive(root);
    directory_ = root;
    ui_->DirectoryListBox1->setCurrentIndex(model_->index(root));
    ShowCurrentDirectory();
}

void TDirectorySelect::DirectoryListBox1Change() {
    const QModelIndex index = ui_->DirectoryListBox1->currentIndex();
    if (!index.isValid()) return;
    directory_ = model_->filePath(index);
    ShowCurrentDirectory();
}

}  // namespace tessvane

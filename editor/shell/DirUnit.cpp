#include "DirUnit.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QStorageInfo>

#include "ui_DirUnit.h"

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

    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        ui_->DriveComboBox1->addItem(volume.rootPath(), volume.rootPath());
    }

    connect(ui_->DriveComboBox1, &QComboBox::activated, this,
            &TDirectorySelect::DriveComboBox1Change);
    connect(ui_->DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TDirectorySelect::DirectoryListBox1Change);
    connect(ui_->OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    SetDirectory(QDir::homePath());
}

TDirectorySelect::~TDirectorySelect() = default;

void TDirectorySelect::SetDirectory(const QString& directory) {
    directory_ = NearestExistingDirectory(directory);
    QStringList roots;
    for (int i = 0; i < ui_->DriveComboBox1->count(); ++i)
        roots << ui_->DriveComboBox1->itemData(i).toString();
    const int best = VolumeHolding(roots, directory_);
    if (best >= 0) {
        ui_->DriveComboBox1->setCurrentIndex(best);
        ShowDrive(ui_->DriveComboBox1->itemData(best).toString());
    }
    const QModelIndex index = model_->index(directory_);
    ui_->DirectoryListBox1->setCurrentIndex(index);
    ui_->DirectoryListBox1->scrollTo(index);
    ShowCurrentDirectory();
}

QString TDirectorySelect::Directory() const {
    return directory_;
}

void TDirectorySelect::ShowCurrentDirectory() {
    // A deep directory is longer than the panel; centred text would be cut at
    // both ends, so the middle gives way and the whole path is the tool tip.
    QLabel* panel = ui_->DirLabel;
    const int room = panel->contentsRect().width() - 2 * panel->margin() - 4;
    panel->setText(panel->fontMetrics().elidedText(directory_, Qt::ElideMiddle, room));
    panel->setToolTip(directory_);
}

void TDirectorySelect::ShowDrive(const QString& root) {
    ui_->DirectoryListBox1->setRootIndex(model_->index(root));
}

void TDirectorySelect::DriveComboBox1Change(int index) {
    const QString root = ui_->DriveComboBox1->itemData(index).toString();
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

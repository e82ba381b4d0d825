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

TDirectorySelect::TDirectorySelect(QWidget* parent)
        : QDialog(parent), ui_(std::make_unique<Ui::TDirectorySelect>()), model_(new QFileSystemModel(this)) {
    ui_->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QString());
    ui_->DirectoryListBox1->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) ui_->DirectoryListBox1->hideColumn(column);

    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        ui_->DriveComboBox1->addItem(volume.rootPath(), volume.rootPath());
    }

    connect(ui_->DriveComboBox1, &QComboBox::activated, this, &TDirectorySelect::DriveComboBox1Change);
    connect(ui_->DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
                    &TDirectorySelect::DirectoryListBox1Change);
    connect(ui_->OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    SetDirectory(QDir::homePath());
}

TDirectorySelect::~TDirectorySelect() = default;

void TDirectorySelect::SetDirectory(const QString& directory) {
    directory_ = NearestExistingDirectory(directory);
    // The drive is the mounted volume that holds the directory (the longest root that prefixes it).
    int best = -1;
    int bestLength = -1;
    for (int i = 0; i < ui_->DriveComboBox1->count(); ++i) {
        const QString root = ui_->DriveComboBox1->itemData(i).toString();
        if (directory_.startsWith(root) && root.size() > bestLength) {
            best = i;
            bestLength = static_cast<int>(root.size());
        }
    }
    if (best >= 0) {
        ui_->DriveComboBox1->setCurrentIndex(best);
        ShowDrive(ui_->DriveComboBox1->itemData(best).toString());
    }
    const QModelIndex index = model_->index(directory_);
    ui_->DirectoryListBox1->setCurrentIndex(index);
    ui_->DirectoryListBox1->scrollTo(index);
    ui_->DirLabel->setText(directory_);
}

QString TDirectorySelect::Directory() const { return directory_; }

void TDirectorySelect::ShowDrive(const QString& root) {
    ui_->DirectoryListBox1->setRootIndex(model_->index(root));
}

void TDirectorySelect::DriveComboBox1Change(int index) {
    const QString root = ui_->DriveComboBox1->itemData(index).toString();
    ShowDrive(root);
    directory_ = root;
    ui_->DirectoryListBox1->setCurrentIndex(model_->index(root));
    ui_->DirLabel->setText(directory_);
}

void TDirectorySelect::DirectoryListBox1Change() {
    const QModelIndex index = ui_->DirectoryListBox1->currentIndex();
    if (!index.isValid()) return;
    directory_ = model_->filePath(index);
    ui_->DirLabel->setText(directory_);
}

}  // namespace tessvane

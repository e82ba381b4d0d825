#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <memory>

class QFileSystemModel;

namespace Ui {
class TDirectorySelect;
}

namespace tessvane {

// The directory chooser: a drive list (the mounted volumes), the directory
// tree of the chosen drive and a panel with the current directory. The caller
// sets the title and the start directory, shows it modally and reads
// Directory() after OK.
class TDirectorySelect : public QDialog {
    Q_OBJECT

  public:
    explicit TDirectorySelect(QWidget* parent = nullptr);
    ~TDirectorySelect() override;

    // Starts at `directory`; when it does not exist, at its nearest existing
    // parent, and failing that at the home directory.
    void SetDirectory(const QString& directory);
    QString Directory() const;

  private slots:
    void DriveComboBox1Change(int index);
    void DirectoryListBox1Change();

  private:
    void ShowDrive(const QString& root);
    void ShowCurrentDirectory();

    std::unique_ptr<Ui::TDirectorySelect> ui_;
    QFileSystemModel* model_;
    QString directory_;
};

// Where a chooser starts for `directory`: itself if it is a directory, else
// its nearest existing parent, else the home directory.
QString NearestExistingDirectory(const QString& directory);

// Which of the volume roots holds `directory`: the longest that is the
// directory itself or one of its parents; -1 when none does.
int VolumeHolding(const QStringList& roots, const QString& directory);

}  // namespace tessvane

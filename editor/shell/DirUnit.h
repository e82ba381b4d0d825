#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "dialog_service.h"
#include "state/settings.h"

class QFileSystemModel;

namespace Ui {
class TDirectorySelect;
}

namespace tessvane {

// The directory chooser: a drive list, the directory tree of the chosen drive
// and a panel with the current directory. The drive list holds the volumes of
// the volume map first ("C:", "DH0:", each with the local directory it stands
// for), then the mounted volumes of this machine. The caller sets the title
// and the start, shows it modally and reads Chosen() (or Directory()) after
// OK.
class TDirectorySelect : public QDialog {
    Q_OBJECT

  public:
    explicit TDirectorySelect(QWidget* parent = nullptr);
    ~TDirectorySelect() override;

    // The volume map, Character Set and Computer the chooser works with; not
    // owned, must outlive the chooser. Without settings the drive list holds
    // only this machine's volumes and every choice is a local path.
    void SetSettings(const Settings* settings);
    // How Chosen() gives the directory (ObjectFile unless set).
    void SetForm(DirectoryForm form);
    // Shows a warning: a choice whose names the Character Set cannot hold is
    // refused through it, and the chooser stays open.
    void SetWarn(std::function<void(const std::string& text)> warn);

    // Starts at `path`, in the form set with SetForm: a path of the object
    // file's machine is found through the map (a relative one under the
    // Imagine Directory), a local one taken as it stands. Where it is not a
    // directory here, at its nearest existing parent; failing that at the
    // Imagine Directory, then the home directory. The start is shown
    // selected, with the directories above it opened.
    void SetStart(std::string_view path);
    // Starts at the local `directory`; when it does not exist, at its nearest
    // existing parent, and failing that at the home directory.
    void SetDirectory(const QString& directory);

    // The current directory, local.
    QString Directory() const;
    // The current directory in the form set with SetForm; nothing when it is
    // to be in the object file's form and a name holds a character the
    // Character Set cannot hold (`refusal` then tells which).
    std::optional<std::string> Chosen(std::string* refusal = nullptr) const;

    // OK: closes once Chosen() has a directory; otherwise warns and stays.
    void accept() override;

  private slots:
    void DriveComboBox1Change(int index);
    void DirectoryListBox1Change();

  private:
    void FillDrives();
    void ShowDrive(const QString& root);
    void ShowCurrentDirectory();

    std::unique_ptr<Ui::TDirectorySelect> ui_;
    QFileSystemModel* model_;
    QString directory_;
    const Settings* settings_ = nullptr;
    DirectoryForm form_ = DirectoryForm::ObjectFile;
    std::function<void(const std::string&)> warn_;
};

// Where a chooser starts for `directory`: itself if it is a directory, else
// its nearest existing parent, else the home directory.
QString NearestExistingDirectory(const QString& directory);

// Which of the volume roots holds `directory`: the longest that is the
// directory itself or one of its parents; -1 when none does.
int VolumeHolding(const QStringList& roots, const QString& directory);

// The local directory that stands for `path`, a directory of the object
// file's machine or of this one: where it is (or, when missing, where it was
// looked for); the Imagine Directory's when it is on a volume that is not
// mapped or relative without an Imagine Directory; empty when neither is
// found. Where a chooser or a file dialog starts for a field's text.
std::string LocalStartDirectory(const Settings& settings, std::string_view path);

}  // namespace tessvane

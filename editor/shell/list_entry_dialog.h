// What the two default-list dialogs (TDefDirSelect, TDefTextureForm) have in
// common: a modal tool window with Accept and Cancel, text fields in which
// Enter confirms and moves on instead of pressing a button, and an "old"
// field with its browse button that the batch prompts lock.
#pragma once

#include <QDialog>
#include <functional>
#include <utility>
#include <vector>

class QAbstractButton;
class QLineEdit;

namespace tessvane {

class ListEntryDialog : public QDialog {
  public:
    // Puts the focus where typing starts: the old field, or the field after
    // it while the old one is locked.
    void FocusFirstField();

  protected:
    explicit ListEntryDialog(QWidget* parent);

    // Called once the form's widgets exist. Accept closes with
    // QDialog::Accepted without checking anything; Cancel (and Escape)
    // rejects. `old_field` and `old_button` are what a prompt locks;
    // `next_field` is where typing starts then.
    void WireEntryDialog(QAbstractButton* accept, QAbstractButton* cancel, QLineEdit* old_field,
                         QAbstractButton* old_button, QLineEdit* next_field);

    // Enter (either key) in `field` calls `handler` and goes no further.
    void OnEnter(QLineEdit* field, std::function<void()> handler);

    // Disables or enables the old field and its browse button together.
    void SetOldFieldLocked(bool locked);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QLineEdit* oldField_ = nullptr;
    QAbstractButton* oldButton_ = nullptr;
    QLineEdit* nextField_ = nullptr;
    std::vector<std::pair<QLineEdit*, std::function<void()>>> enterHandlers_;
};

}  // namespace tessvane

#include "list_entry_dialog.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>

namespace tessvane {

ListEntryDialog::ListEntryDialog(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setModal(true);
}

void ListEntryDialog::WireEntryDialog(QAbstractButton* accept, QAbstractButton* cancel,
                                      QLineEdit* old_field, QAbstractButton* old_button,
                                      QLineEdit* next_field) {
    connect(accept, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    oldField_ = old_field;
    oldButton_ = old_button;
    nextField_ = next_field;
}

void ListEntryDialog::OnEnter(QLineEdit* field, std::function<void()> handler) {
    field->installEventFilter(this);
    enterHandlers_.emplace_back(field, std::move(handler));
}

void ListEntryDialog::SetTextCheck(std::function<bool(const QString&)> storable) {
    storable_ = std::move(storable);
}

void ListEntryDialog::accept() {
    if (storable_) {
        for (const auto& entry : enterHandlers_) {
            QLineEdit* field = entry.first;
            if (!storable_(field->text())) {
                field->setFocus();
                return;
            }
        }
    }
    QDialog::accept();
}

void ListEntryDialog::SetOldFieldLocked(bool locked) {
    oldField_->setEnabled(!locked);
    oldButton_->setEnabled(!locked);
}

void ListEntryDialog::FocusFirstField() {
    if (oldField_->isEnabled())
        oldField_->setFocus();
    else
        nextField_->setFocus();
}

void ListEntryDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FocusFirstField();
}

bool ListEntryDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<const QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter confirms a field; it must not also reach the dialog, where
            // it would press a button.
            for (const auto& [field, handler] : enterHandlers_) {
                if (watched == field) {
                    if (!storable_ || storable_(field->text())) handler();
                    return true;
                }
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tessvane

// Answering the window's own modal dialogs in tests. A dialog shown with
// exec() runs its own event loop; the answer is planned before the click that
// opens it and runs once the dialog is the active modal window.
//
//   WhenShown<TDefDirSelect>([](TDefDirSelect& d) { ...type...; click Accept; });
//   Click("AddDirButton");
#pragma once

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>

namespace tessvane::testing {

// Answers planned with WhenShown and not yet given.
inline QList<QTimer*>& PendingAnswers() {
    static QList<QTimer*> pending;
    return pending;
}

// Fails for every planned answer that no dialog took, and drops them, so a
// plan never leaks into the next test. Fixtures call it when a test ends.
inline void ExpectEveryAnswerTaken() {
    for (QTimer* timer : PendingAnswers()) {
        ADD_FAILURE() << "a planned dialog answer was not used";
        timer->stop();
        timer->deleteLater();
    }
    PendingAnswers().clear();
}

// Runs `act` on the next modal dialog of type D. Should none appear within
// two seconds, the test fails and any modal dialog is rejected, so a test
// never hangs.
template <typename D>
void WhenShown(std::function<void(D&)> act) {
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(5);
    PendingAnswers().append(timer);
    QObject::connect(
        timer, &QTimer::timeout, timer, [timer, act = std::move(act), tries = 0]() mutable {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<D*>(modal); dialog && dialog->isVisible()) {
                PendingAnswers().removeOne(timer);
                timer->stop();
                timer->deleteLater();
                act(*dialog);
                return;
            }
            if (++tries < 400) return;
            PendingAnswers().removeOne(timer);
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "the expected dialog was not shown";
            if (auto* other = qobject_cast<QDialog*>(modal)) other->reject();
        });
    timer->start();
}

template <typename T>
T* DialogChild(QWidget& dialog, const char* name) {
    T* child = dialog.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) ADD_FAILURE() << "no control named " << name;
    return child;
}

// Types `text` into `widget` key by key. Characters beyond ASCII come as the
// text of a key press, as a keyboard layout or an input method gives them.
inline void TypeCharacters(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Replaces a field's text by typing, without pressing Enter.
inline void Retype(QWidget& dialog, const char* field, const QString& text) {
    auto* edit = DialogChild<QLineEdit>(dialog, field);
    if (edit == nullptr) return;
    edit->clear();
    TypeCharacters(edit, text);
}

inline void Press(QWidget& dialog, const char* button) {
    if (auto* b = DialogChild<QAbstractButton>(dialog, button))
        QTest::mouseClick(b, Qt::LeftButton);
}

}  // namespace tessvane::testing

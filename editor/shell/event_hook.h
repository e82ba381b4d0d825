// A small event filter that hands chosen events of one widget to a function,
// so a window can react to keys and mouse presses on its controls without
// subclassing them.
#pragma once

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QObject>
#include <functional>

namespace tessvane {

class EventHook : public QObject {
  public:
    // `handler` returns true when it has dealt with the event (the control
    // then does not see it). The hook belongs to `watched`.
    EventHook(QObject* watched, std::function<bool(QEvent*)> handler)
        : QObject(watched), handler_(std::move(handler)) {
        watched->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && handler_(event)) return true;
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<bool(QEvent*)> handler_;
};

// Calls `enter_typed` before a press on another row or a key that moves the
// current row takes effect in `view`; when it returns false (a typed text was
// refused) the press or key is swallowed and the current row stays.
inline void HookRowChanges(QAbstractItemView* view, std::function<bool()> enter_typed) {
    new EventHook(view->viewport(), [view, enter_typed](QEvent* event) {
        if (event->type() != QEvent::MouseButtonPress &&
            event->type() != QEvent::MouseButtonDblClick)
            return false;
        const QModelIndex at =
            view->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (!at.isValid() || at.row() == view->currentIndex().row()) return false;
        return !enter_typed();
    });
    new EventHook(view, [enter_typed](QEvent* event) {
        if (event->type() != QEvent::KeyPress) return false;
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
            case Qt::Key_Home:
            case Qt::Key_End:
                return !enter_typed();
            default:
                return false;
        }
    });
}

}  // namespace tessvane

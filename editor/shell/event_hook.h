// A small event filter that hands chosen events of one widget to a function,
// so a window can react to keys and mouse presses on its controls without
// subclassing them.
#pragma once

#include <QEvent>
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

}  // namespace tessvane

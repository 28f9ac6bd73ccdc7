#include "platform/InputBlock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace platform {

namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

class Filter : public QObject {
public:
    QPointer<QWidget> blocked;
    int depth = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (!isUserInput(event->type()) || !watched->isWidgetType())
            return false;
        const auto *widget = static_cast<QWidget *>(watched);
        if (!blocked || (widget != blocked && !blocked->isAncestorOf(widget)))
            return false;
        event->ignore(); // an ignored close event keeps the window open
        return true;
    }
};

Filter &filter() {
    static Filter *instance = new Filter;
    return *instance;
}

} // namespace

InputBlock::InputBlock(QWidget *blocked) {
    Filter &f = filter();
    if (f.depth++ == 0) {
        f.blocked = blocked;
        QCoreApplication::instance()->installEventFilter(&f);
    }
}

InputBlock::~InputBlock() {
    Filter &f = filter();
    if (--f.depth == 0)
        QCoreApplication::instance()->removeEventFilter(&f);
}

bool InputBlock::Active() {
    return filter().depth > 0;
}

} // namespace platform

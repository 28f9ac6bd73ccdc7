#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace platform {

namespace {
MessageBoxHandler &handlerSlot() {
    static MessageBoxHandler handler;
    return handler;
}
} // namespace

void SetMessageBoxHandler(MessageBoxHandler handler) {
    handlerSlot() = std::move(handler);
}

void MessageBoxA(const QString &text, const QString &caption) {
    if (handlerSlot()) {
        handlerSlot()(text, caption);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
    box.exec();
}

void ShowException(const Exception &error) {
    MessageBoxA(error.Message, QCoreApplication::applicationName());
}

} // namespace platform

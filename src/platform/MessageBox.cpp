#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QEventLoop>
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
    // No owner window, so nothing is disabled: the box is not modal, and the caller waits for it
    // in a loop of its own while the main window goes on taking input (its handlers may run and
    // show further boxes meanwhile).
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
    box.setWindowModality(Qt::NonModal);
    // Closing the main window still ends the program while a box is up.
    box.setAttribute(Qt::WA_QuitOnClose, false);
    QEventLoop loop;
    QObject::connect(&box, &QDialog::finished, &loop, &QEventLoop::quit);
    box.show();
    box.raise();
    box.activateWindow();
    loop.exec();
}

void ShowException(const Exception &error) {
    MessageBoxA(error.Message, QCoreApplication::applicationName());
}

} // namespace platform

#pragma once

#include "platform/Exception.h"

#include <QString>
#include <functional>

namespace platform {

using MessageBoxHandler = std::function<void(const QString &text, const QString &caption)>;

// Redirects every message box to `handler` (tests record them); an empty function restores
// the real box.
void SetMessageBoxHandler(MessageBoxHandler handler);

// A message box without owner window, without icon, with a single OK button, above the other
// windows and focused. Returns when it is dismissed; the other windows take input meanwhile.
void MessageBoxA(const QString &text, const QString &caption);

// The application's standard exception report: the message, captioned with the application title.
void ShowException(const Exception &error);

// Runs an entry point of the event loop and reports an escaping exception, so that no
// exception ever unwinds through Qt.
template <typename F> void Guarded(F &&entryPoint) {
    try {
        entryPoint();
    } catch (const Exception &error) {
        ShowException(error);
    }
}

} // namespace platform

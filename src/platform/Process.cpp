#include "platform/Process.h"

#include <cstdlib>

namespace platform {

namespace {
std::function<void(int)> &handlerSlot() {
    static std::function<void(int)> handler;
    return handler;
}
} // namespace

void SetExitProcessHandler(std::function<void(int)> handler) {
    handlerSlot() = std::move(handler);
}

void ExitProcess(int status) {
    if (handlerSlot())
        handlerSlot()(status);
    std::exit(status);
}

} // namespace platform

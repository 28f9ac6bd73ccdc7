#pragma once

#include <functional>

namespace platform {

// Ends the process with `status`. Tests install a handler (which must not return normally,
// typically it throws) to observe the exit instead.
void ExitProcess(int status);
void SetExitProcessHandler(std::function<void(int status)> handler);

} // namespace platform

#pragma once

// While an InputBlock lives, the `blocked` window (and everything in it) takes no user input:
// mouse, keyboard, wheel, touch and the close box are ignored; other windows, a message box
// among them, work as usual. Blocks nest. Unlike disabling the window, it costs no repaint,
// so a long run of modal steps stays cheap.
class QWidget;

namespace platform {

class InputBlock {
public:
    explicit InputBlock(QWidget *blocked);
    ~InputBlock();
    InputBlock(const InputBlock &) = delete;
    InputBlock &operator=(const InputBlock &) = delete;

    static bool Active();
};

} // namespace platform

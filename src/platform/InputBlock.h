#pragma once

// While an InputBlock lives, no window but `allowed` (and its children) takes user input:
// mouse, keyboard, wheel, touch and the close box are ignored. Blocks nest. Unlike disabling
// the windows, it costs no repaint, so a long run of modal steps stays cheap.
class QWidget;

namespace platform {

class InputBlock {
public:
    explicit InputBlock(QWidget *allowed);
    ~InputBlock();
    InputBlock(const InputBlock &) = delete;
    InputBlock &operator=(const InputBlock &) = delete;

    static bool Active();
};

} // namespace platform

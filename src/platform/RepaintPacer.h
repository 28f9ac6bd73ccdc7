#pragma once

#include <QElapsedTimer>
#include <QPointer>

class QWidget;

namespace platform {

// While a RepaintPacer lives, its widget is repainted about once per display frame at most,
// however often it changes in between: every change is made at once, only the painting waits.
// A long run of small steps (a result list growing during a search) then costs a handful of
// paints instead of one per step. The last state is painted when the pacer goes.
class RepaintPacer {
public:
    explicit RepaintPacer(QWidget *widget);
    ~RepaintPacer();
    RepaintPacer(const RepaintPacer &) = delete;
    RepaintPacer &operator=(const RepaintPacer &) = delete;

    // Called between two steps, before the event loop next runs: opens the widget to painting
    // for the next step when a frame has passed since it last was opened, else closes it.
    void Step();

private:
    void setOpen(bool opened);

    QPointer<QWidget> widget;
    QElapsedTimer sinceOpened;
    qint64 frameMs;
    bool open = false;
    bool wasEnabled;
};

} // namespace platform

#include "platform/RepaintPacer.h"

#include "platform/Controls.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace platform {

RepaintPacer::RepaintPacer(QWidget *paced) : widget(paced), wasEnabled(paced->updatesEnabled()) {
    const QScreen *screen = paced->screen();
    const qreal hertz = screen ? screen->refreshRate() : 60;
    frameMs = std::clamp<qint64>(qint64(std::ceil(1000 / std::max<qreal>(hertz, 1))), 1, 50);
    if (wasEnabled)
        setOpen(false);
}

RepaintPacer::~RepaintPacer() {
    if (widget && wasEnabled)
        setOpen(true);
}

void RepaintPacer::setOpen(bool opened) {
    // A list's layout is part of its painting: it is held while the painting is.
    if (auto *list = qobject_cast<TListBox *>(widget.data()))
        list->HoldLayout(!opened);
    widget->setUpdatesEnabled(opened); // enabling asks for a paint of the whole widget
    open = opened;
}

void RepaintPacer::Step() {
    if (!widget || !wasEnabled)
        return;
    // Steps slower than a frame keep the widget open, so it is painted as it would be unpaced.
    const bool due = !sinceOpened.isValid() || sinceOpened.elapsed() >= frameMs;
    if (due)
        sinceOpened.start();
    if (due != open)
        setOpen(due);
}

} // namespace platform

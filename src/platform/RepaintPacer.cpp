#include "platform/RepaintPacer.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace platform {

RepaintPacer::RepaintPacer(QWidget *paced) : widget(paced), wasEnabled(paced->updatesEnabled()) {
    const QScreen *screen = paced->screen();
    const qreal hertz = screen ? screen->refreshRate() : 60;
    frameMs = std::clamp<qint64>(qint64(std::ceil(1000 / std::max<qreal>(hertz, 1))), 1, 50);
    widget->setUpdatesEnabled(false);
}

RepaintPacer::~RepaintPacer() {
    if (widget && wasEnabled)
        widget->setUpdatesEnabled(true); // which asks for a paint of the whole widget
}

void RepaintPacer::Step() {
    if (!widget || !wasEnabled)
        return;
    // Steps slower than a frame keep the widget open, so it is painted as it would be unpaced.
    const bool due = !sinceOpened.isValid() || sinceOpened.elapsed() >= frameMs;
    if (due)
        sinceOpened.start();
    if (due != open) {
        widget->setUpdatesEnabled(due); // enabling asks for a paint of the whole widget
        open = due;
    }
}

} // namespace platform

#pragma once

#include <QIcon>
#include <QString>

namespace platform {

// An icon drawn as pixel art: every size and device pixel ratio shows the same drawing, each
// source pixel widened to a block of whole pixels, so no colour is ever blended into a blur.
// `disabled`, when given, is the drawing for the disabled state; otherwise the style greys
// the normal one.
QIcon PixelIcon(const QString &normal, const QString &disabled = {});

// An icon that shows `selected` while its item is selected and `normal` otherwise, each as
// sharp as it is on its own.
QIcon SelectedVariant(const QIcon &normal, const QIcon &selected);

} // namespace platform

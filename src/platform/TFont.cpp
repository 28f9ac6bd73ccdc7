#include "platform/TFont.h"

namespace platform {

void TFont::SetName(const QString &value) {
    name = value;
    changed();
}

void TFont::SetColor(TColor value) {
    color = value;
    changed();
}

void TFont::SetSize(double points) {
    size = points;
    changed();
}

void TFont::SetStyle(TFontStyles value) {
    style = value;
    changed();
}

void TFont::Assign(const TFont &other) {
    name = other.name;
    color = other.color;
    size = other.size;
    style = other.style;
    changed();
}

QFont TFont::ToQFont() const {
    QFont font(name);
    // Sizes that are no font size (zero, negative, absurd) leave Qt's default size in place.
    if (size > 0 && size < 1000)
        font.setPointSizeF(size);
    font.setBold(style.Bold);
    font.setItalic(style.Italic);
    return font;
}

void TFont::changed() const {
    if (onChange)
        onChange();
}

} // namespace platform

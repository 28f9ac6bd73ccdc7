#pragma once

#include "platform/Colors.h"

#include <QFont>
#include <QString>
#include <functional>

namespace platform {

// A font style set: which of bold and italic a font carries.
struct TFontStyles {
    bool Bold = false;
    bool Italic = false;
    friend bool operator==(const TFontStyles &, const TFontStyles &) = default;
};

// A font object of a control: name, colour, size in points and style. Every setter tells the
// owning control, so that what it shows follows.
class TFont {
public:
    TFont() = default;
    TFont(QString name, double size, TFontStyles style = {})
        : name(std::move(name)), size(size), style(style) {}

    const QString &Name() const { return name; }
    TColor Color() const { return color; }
    double Size() const { return size; }
    TFontStyles Style() const { return style; }

    void SetName(const QString &value);
    void SetColor(TColor value);
    void SetSize(double points);
    void SetStyle(TFontStyles value);

    // Copies every attribute of `other` (the owner is kept and told).
    void Assign(const TFont &other);
    QFont ToQFont() const;

    void SetOnChange(std::function<void()> callback) { onChange = std::move(callback); }

private:
    void changed() const;

    QString name;
    TColor color = 0;
    double size = 8;
    TFontStyles style;
    std::function<void()> onChange;
};

} // namespace platform

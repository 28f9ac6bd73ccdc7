#pragma once

#include "platform/Colors.h"

#include <QString>
#include <array>

namespace project {

// One font setting of a help project; in the file written name, colour, size, style code.
struct FontSpec {
    QString Name;
    qint32 Size = 0;
    qint32 Style = 0; // 0 plain, 1 bold, 2 italic, 3 bold and italic; others leave the style
    platform::TColor Color = 0;
};

// A group of values the file carries but the viewer does not use; its numbers must convert.
struct SpareGroup {
    QString Text;
    std::array<qint32, 3> Numbers{};
};

// The appearance values of a help project, by their number in the settings section.
struct AppearanceSettings {
    FontSpec HtmlFont;                      // 5..8
    QString HtmlBackColorText;              // 9, converted when applied
    QString HtmlColor21Text;                // 10
    QString HtmlColor22Text;                // 11
    SpareGroup SpareGroupA;                 // 12..15
    FontSpec TreeFont;                      // 16..19
    SpareGroup SpareGroupB;                 // 20..23
    std::array<FontSpec, 6> HtmlFont28To33; // 24..47: font properties 28..33
    std::array<int, 3> ColorLines{};        // the lines of values 9..11, for their errors

    // Stores value k (5..47) as read, converting integer values at once; a value that does
    // not convert raises platform::EConvertError naming `line`. Values 1 to 4 are not kept
    // here (2, the title, and 3, the icon file, belong to the start-up).
    void Store(int k, const QString &value, int line);
};

} // namespace project

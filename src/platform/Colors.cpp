#include "platform/Colors.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>

namespace platform {

namespace {

QColor systemColor(int index) {
    // Windows' system colour indexes 0..30, each mapped to the palette role that plays its part.
    struct Role {
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
    };
    static constexpr std::array<Role, 31> roles{{
        {QPalette::Active, QPalette::Button},            // scroll bar
        {QPalette::Active, QPalette::Window},            // desktop
        {QPalette::Active, QPalette::Highlight},         // active caption
        {QPalette::Inactive, QPalette::Highlight},       // inactive caption
        {QPalette::Active, QPalette::Window},            // menu
        {QPalette::Active, QPalette::Base},              // window
        {QPalette::Active, QPalette::Shadow},            // window frame
        {QPalette::Active, QPalette::WindowText},        // menu text
        {QPalette::Active, QPalette::Text},              // window text
        {QPalette::Active, QPalette::HighlightedText},   // caption text
        {QPalette::Active, QPalette::Window},            // active border
        {QPalette::Inactive, QPalette::Window},          // inactive border
        {QPalette::Active, QPalette::Dark},              // application workspace
        {QPalette::Active, QPalette::Highlight},         // highlight
        {QPalette::Active, QPalette::HighlightedText},   // highlight text
        {QPalette::Active, QPalette::Button},            // button face
        {QPalette::Active, QPalette::Dark},              // button shadow
        {QPalette::Disabled, QPalette::Text},            // grey text
        {QPalette::Active, QPalette::ButtonText},        // button text
        {QPalette::Inactive, QPalette::HighlightedText}, // inactive caption text
        {QPalette::Active, QPalette::Light},             // button highlight
        {QPalette::Active, QPalette::Shadow},            // 3-D dark shadow
        {QPalette::Active, QPalette::Midlight},          // 3-D light
        {QPalette::Active, QPalette::ToolTipText},       // info text
        {QPalette::Active, QPalette::ToolTipBase},       // info background
        {QPalette::Active, QPalette::Button},            // (unused index 25)
        {QPalette::Active, QPalette::Link},              // hot-tracked item
        {QPalette::Active, QPalette::Highlight},         // active caption gradient
        {QPalette::Inactive, QPalette::Highlight},       // inactive caption gradient
        {QPalette::Active, QPalette::Highlight},         // menu highlight
        {QPalette::Active, QPalette::Window},            // menu bar
    }};
    const QPalette palette = QGuiApplication::palette();
    if (index < 0 || index >= static_cast<int>(roles.size()))
        return palette.color(QPalette::Active, QPalette::WindowText);
    return palette.color(roles[index].group, roles[index].role);
}

} // namespace

QColor TColorToQColor(TColor color) {
    const auto value = static_cast<quint32>(color);
    if (value & 0x80000000u)
        return systemColor(static_cast<int>(value & 0xFFu));
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace platform

#include "project/Appearance.h"

#include "project/StrToInt.h"

namespace project {

namespace {

// `field` is the value's place within its font group: name, colour, size, style.
void StoreFontField(FontSpec &font, int field, const QString &value, int line) {
    switch (field) {
    case 0:
        font.Name = value;
        break;
    case 1:
        font.Color = StrToInt(value, line);
        break;
    case 2:
        font.Size = StrToInt(value, line);
        break;
    default:
        font.Style = StrToInt(value, line);
        break;
    }
}

void StoreSpareField(SpareGroup &group, int field, const QString &value, int line) {
    if (field == 0)
        group.Text = value;
    else
        group.Numbers[field - 1] = StrToInt(value, line);
}

} // namespace

void AppearanceSettings::Store(int k, const QString &value, int line) {
    if (k >= 5 && k <= 8)
        StoreFontField(HtmlFont, k - 5, value, line);
    else if (k == 9)
        HtmlBackColorText = value;
    else if (k == 10)
        HtmlColor21Text = value;
    else if (k == 11)
        HtmlColor22Text = value;
    else if (k >= 12 && k <= 15)
        StoreSpareField(SpareGroupA, k - 12, value, line);
    else if (k >= 16 && k <= 19)
        StoreFontField(TreeFont, k - 16, value, line);
    else if (k >= 20 && k <= 23)
        StoreSpareField(SpareGroupB, k - 20, value, line);
    else if (k >= 24 && k <= 47)
        StoreFontField(HtmlFont28To33[(k - 24) / 4], (k - 24) % 4, value, line);
}

} // namespace project

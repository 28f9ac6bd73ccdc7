#include "app/Unit1.h"
#include "project/StrToInt.h"

namespace {

// Sets a font's name, colour, size and, for a style code of 0 to 3, its style, in that order.
void applyFontSpec(platform::TFont &font, const project::FontSpec &setting) {
    font.SetName(setting.Name);
    font.SetColor(setting.Color);
    font.SetSize(setting.Size);
    if (setting.Style >= 0 && setting.Style <= 3)
        font.SetStyle(StyleSets[static_cast<size_t>(setting.Style)]);
}

void giveFont(QWidget *widget, const QFont &font, const QColor &color) {
    widget->setFont(font);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

} // namespace

void TForm1::ApplyAppearance() {
    const project::AppearanceSettings &a = Appearance;
    applyFontSpec(*HTML1->GetTFontProp(platform::THTML::FontBody), a.HtmlFont);
    HTML1->SetTColorProp(platform::THTML::ColorText, a.HtmlFont.Color);
    HTML1->SetTColorProp(platform::THTML::ColorBackground,
                         project::StrToInt(a.HtmlBackColorText, a.ColorLines[0]));
    HTML1->SetTColorProp(platform::THTML::ColorLink,
                         project::StrToInt(a.HtmlColor21Text, a.ColorLines[1]));
    HTML1->SetTColorProp(platform::THTML::ColorVisitedLink,
                         project::StrToInt(a.HtmlColor22Text, a.ColorLines[2]));

    // The tree's font as it stands, changed by the project's values; a style code outside
    // 0 to 3 keeps the style it has.
    const QFont current = TreeView1->font();
    platform::TFont treeFont(current.family(), current.pointSizeF(),
                             {current.bold(), current.italic()});
    applyFontSpec(treeFont, a.TreeFont);
    const QColor treeColor = platform::TColorToQColor(treeFont.Color());
    giveFont(TreeView1, treeFont.ToQFont(), treeColor);
    giveFont(ListBox1, TreeView1->font(), treeColor);
    giveFont(ListBox5, TreeView1->font(), treeColor);

    for (int i = 0; i < 6; ++i)
        applyFontSpec(*HTML1->GetTFontProp(28 + i), a.HtmlFont28To33[static_cast<size_t>(i)]);
}

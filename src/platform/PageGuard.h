#pragma once

#include <QString>
#include <QStringView>

// Pages that would stall the view's layout for seconds (deeply nested tables or elements,
// enormous words, enormous pages) are found by one cheap pass before anything is laid out,
// and shown as their text instead.
namespace platform {

struct PageShape {
    int TableDepth = 0;   // deepest nesting of tables
    int ElementDepth = 0; // deepest nesting of elements that must be closed
    qsizetype LongestWord = 0;
    qsizetype Length = 0;
};

inline constexpr int MaxTableDepth = 12;
inline constexpr int MaxElementDepth = 1000;
inline constexpr qsizetype MaxWordLength = 10000;
inline constexpr qsizetype MaxPageLength = 2 * 1024 * 1024;
inline constexpr qsizetype MaxShownText = 1024 * 1024;

PageShape MeasurePage(QStringView html);
bool TooComplexToLayOut(const PageShape &shape);

// Text made safe to lay out: at most MaxShownText characters, every run of more than a few
// hundred characters without a space given break opportunities.
QString BreakableText(QStringView text);

// The page shown in place of one too complex to lay out: a notice and the page's text.
QString DegradedPage(QStringView text);

} // namespace platform

#include "reading/Matches.h"
#include "reading/ZoomSteps.h"

#include <gtest/gtest.h>

using reading::TextMatch;

TEST(FindMatches, PlainSubstringsInTheTextsOwnPositions) {
    struct Case {
        const char *text;
        const char *phrase;
        bool caseSensitive;
        QList<TextMatch> expected;
    };
    const Case cases[] = {
        {"Apple apple APPLE", "apple", false, {{0, 5}, {6, 5}, {12, 5}}},
        {"Apple apple APPLE", "apple", true, {{6, 5}}},
        {"aaaa", "aa", false, {{0, 2}, {2, 2}}},
        {"the theme", "he", false, {{1, 2}, {5, 2}}},
        {"no match here", "xyz", false, {}},
        {"anything", "", false, {}},
        {"\xc3\x84PFEL \xc3\xa4pfel", "\xc3\xa4pfel", false, {{0, 5}, {6, 5}}},
        // U+0130 lowers to two characters; matches after it keep their own positions.
        {"\xc4\xb0stanbul stan", "stan", false, {{1, 4}, {9, 4}}},
        {"\xc4\xb0x", "i", false, {{0, 1}}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(reading::FindMatches(QString::fromUtf8(c.text), QString::fromUtf8(c.phrase),
                                       c.caseSensitive),
                  c.expected)
            << c.text << " / " << c.phrase;
}

TEST(ZoomSteps, StepAndStayWithinBounds) {
    const int in[][2] = {{100, 110}, {105, 110}, {300, 400}, {400, 400}, {10, 50}};
    for (const auto &[from, to] : in)
        EXPECT_EQ(reading::ZoomedIn(from), to) << from;
    const int out[][2] = {{100, 90}, {105, 100}, {67, 50}, {50, 50}, {1000, 400}};
    for (const auto &[from, to] : out)
        EXPECT_EQ(reading::ZoomedOut(from), to) << from;
}

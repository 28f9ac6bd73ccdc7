#include "search/PhraseFinder.h"
#include "platform/FileSystem.h"
#include "search/LowerCase.h"

#include <gtest/gtest.h>

namespace {

// What the search means by "contains": both lowered whole when the case is ignored.
bool generalAnswer(const QString &text, const QString &phrase, bool caseSensitive) {
    if (caseSensitive)
        return text.contains(phrase);
    QString lowText = text;
    QString lowPhrase = phrase;
    search::LowerCase(lowText);
    search::LowerCase(lowPhrase);
    return lowText.contains(lowPhrase);
}

} // namespace

TEST(PhraseFinder, AgreesWithLoweringTheWholeText) {
    const QString texts[] = {
        "",
        "Plain ASCII text, with the Phrase in it.",
        QString(5000, 'x') + "TIDEWATER Synchronisation" + QString(100, 'y'),
        QString::fromUtf8("Caf\u00c9 \u00c0 la CR\u00c8ME, stra\u00dfe STRASSE"),
        QString::fromUtf8("\u0130stanbul and istanbul, \u0130I"), // lowers to a longer text
        QString::fromUtf8("\u212a kelvin, \u212b, \u017f long s, \u03a3\u039f\u03a6\u0399\u0391"),
        QString::fromUtf8("\U00010400\U00010401 DESERET \U0001F600"),
        QString(QChar(0xD801)) + "A lone surrogate",
        "abab ababab ababcab ABABC",
        // Bytes that are not UTF-8 are read as Windows-1252.
        platform::DecodeText(QByteArray("Windows \x80 euro, \x8a caron, \xc9t\xc9, \xff")),
    };
    const QString phrases[] = {
        "phrase",
        "tidewater synchronisation",
        "TIDEWATER SYNC",
        "e",
        QString::fromUtf8("caf\u00e9"),
        QString::fromUtf8("CR\u00c8ME"),
        QString::fromUtf8("stra\u00dfe"),
        "strasse",
        QString::fromUtf8("\u0130stanbul"),
        QString::fromUtf8("i\u0307stanbul"),
        "istanbul",
        "kelvin",
        "k",
        QString::fromUtf8("\u212a"),
        QString::fromUtf8("\u03c3\u03bf\u03c6"),
        QString::fromUtf8("\U00010428"),
        QString::fromUtf8("deseret \U0001F600"),
        QString(QChar(0xD801)),
        QString::fromUtf8("\u20ac euro"),
        QString::fromUtf8("\u0161 caron"),
        QString::fromUtf8("\u00e9t\u00e9"),
        QString::fromUtf8("\u00ff"),
        QString::fromUtf8("\u0178"),
        "ababc",
        "abca",
        "xy",
        "yy",
        QString(101, 'y'),
    };
    for (const QString &text : texts)
        for (const QString &phrase : phrases)
            for (const bool caseSensitive : {false, true})
                EXPECT_EQ(search::PhraseFinder(phrase, caseSensitive).FoundIn(text),
                          generalAnswer(text, phrase, caseSensitive))
                    << text.left(60).toStdString() << " / " << phrase.toStdString() << " / "
                    << caseSensitive;
}

TEST(PhraseFinder, LowersEachCharacterAsQtLowersIt) {
    // Every character of the basic plane, alone and after ASCII text, found or not as the
    // whole text lowered says.
    for (char32_t c = 1; c < 0x10000; ++c) {
        const QString one{QChar(char16_t(c))};
        const QString text = "abc" + one;
        const QString lowered = one.toLower();
        for (const QString &phrase : {lowered, "c" + lowered, one, QString("C") + one})
            ASSERT_EQ(search::PhraseFinder(phrase, false).FoundIn(text),
                      generalAnswer(text, phrase, false))
                << std::hex << unsigned(c);
    }
}

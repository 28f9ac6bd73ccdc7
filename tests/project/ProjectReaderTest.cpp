#include "project/ProjectReader.h"
#include "platform/Exception.h"

#include <QStringList>
#include <gtest/gtest.h>

using project::ReadHelpProject;

static void PrintTo(const QString &text, std::ostream *os) {
    *os << text.toStdString();
}

namespace {

// Logs every call as one line: "C body|type|parent", "E", "S<k>@<line>=value", "I body", and
// a raised conversion error as "! message".
class RecordingSink : public project::ProjectSink {
public:
    void ContentsRecord(const QString &body, const QString &type, int parent) override {
        log << QStringLiteral("C %1|%2|%3").arg(body, type, QString::number(parent));
    }
    void ContentsEnd() override { log << QStringLiteral("E"); }
    void Setting(int k, const QString &value, int line) override {
        log << QStringLiteral("S%1@%2=%3").arg(QString::number(k), QString::number(line), value);
    }
    void IndexRecord(const QString &body) override { log << QStringLiteral("I ") + body; }

    QStringList log;
};

QStringList Read(const QString &text) {
    RecordingSink sink;
    try {
        ReadHelpProject(text, sink);
    } catch (const platform::EConvertError &e) {
        sink.log << QStringLiteral("! ") + e.Message;
    }
    return sink.log;
}

QStringList Only(const QStringList &log, const QStringList &prefixes) {
    QStringList kept;
    for (const QString &entry : log)
        for (const QString &prefix : prefixes)
            if (entry.startsWith(prefix)) {
                kept << entry;
                break;
            }
    return kept;
}

QStringList ContentsPart(const QStringList &log) {
    return Only(log, {"C ", "E", "! "});
}
QStringList IndexPart(const QStringList &log) {
    return Only(log, {"I ", "! "});
}
QStringList SettingsPart(const QStringList &log) {
    return Only(log, {"S"});
}

QStringList Repeat(const QStringList &group, int times) {
    QStringList result;
    for (int i = 0; i < times; ++i)
        result += group;
    return result;
}

const QStringList ExampleContents = {
    "[0,R,0]Welcome@welcome.html*",     "[1,F,0]Getting Started@start.html*",
    "[2,P,1]Installing@install.html*",  "[3,P,1]First Steps@first.html*",
    "[4,R,0]Reference@reference.html*", "[5,P,4]Commands@commands.html*",
};
const QStringList ExampleValues =
    QStringList{"",   "Sample Help", "sample.ico", "",         "Arial", "0",
                "10", "0",           "16777215",   "16711680", "255"} +
    Repeat({"Arial", "0", "10", "0"}, 1) + Repeat({"Arial", "0", "8", "0"}, 1) +
    Repeat({"Arial", "0", "10", "0"}, 7);
const QStringList ExampleIndex = {"Commands@commands.html*", "Installing@install.html*",
                                  "Welcome@welcome.html*", "%"};

QString ExampleText(const QString &eol, const QString &separator = QStringLiteral("^"),
                    const QString &afterStar = {}) {
    QStringList lines = ExampleContents;
    lines << QStringLiteral("^");
    for (const QString &value : ExampleValues)
        lines << value + QLatin1Char('*') + afterStar;
    lines << separator;
    lines += ExampleIndex;
    return lines.join(eol);
}

TEST(ProjectReaderTest, WorkedExampleReadsTheSameWithEveryLineBreak) {
    ASSERT_EQ(ExampleValues.size(), 47);
    QStringList expected = {
        "C Welcome@welcome.html|R|0",
        "C Getting Started@start.html|F|0",
        "C Installing@install.html|P|1",
        "C First Steps@first.html|P|1",
        "C Reference@reference.html|R|0",
        "C Commands@commands.html|P|4",
        "E",
    };
    // Contents take lines 1 to 6 and "^" line 7, so value k stands on line 7 + k.
    for (int k = 1; k <= 47; ++k)
        expected << QStringLiteral("S%1@%2=%3").arg(k).arg(7 + k).arg(ExampleValues[k - 1]);
    expected << "I Commands@commands.html"
             << "I Installing@install.html"
             << "I Welcome@welcome.html";

    for (const char *eol : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(QByteArray(eol).toHex().constData());
        const QStringList log = Read(ExampleText(QString::fromLatin1(eol)));
        EXPECT_EQ(log, expected);
        EXPECT_TRUE(log.contains("S2@9=Sample Help"));
        EXPECT_TRUE(log.contains("S9@16=16777215"));
        EXPECT_TRUE(log.contains("S18@25=8"));
    }
}

TEST(ProjectReaderTest, SeparatorLineOfAnyLengthIsSkippedWhole) {
    const QStringList reference = Read(ExampleText("\r\n"));
    for (const char *eol : {"\r\n", "\n"})
        for (const char *separator : {"", "^", "-----", "^^ *"}) {
            SCOPED_TRACE(std::string(separator) + (eol[0] == '\r' ? " CRLF" : " LF"));
            EXPECT_EQ(Read(ExampleText(QString::fromLatin1(eol), QString::fromLatin1(separator))),
                      reference);
        }
}

TEST(ProjectReaderTest, BlanksAfterAValuesStarGoWithItsLineBreak) {
    const QStringList reference = Read(ExampleText("\r\n"));
    for (const char *eol : {"\r\n", "\n"})
        for (const char *blanks : {" ", "  ", "\t", " \t "}) {
            SCOPED_TRACE(QByteArray(blanks).toHex().constData());
            EXPECT_EQ(Read(ExampleText(QString::fromLatin1(eol), "^", QString::fromLatin1(blanks))),
                      reference);
        }
}

struct ContentsCase {
    const char *text;
    QStringList expected; // contents records, end mark and error only
};

TEST(ProjectReaderTest, ContentsSectionTable) {
    const ContentsCase cases[] = {
        {"[ 0 , R , 0 ]Top@top.html*\r\n[ 1,\tP ,0 ]Sub@sub.html*^",
         {"C Top@top.html|R|0", "C Sub@sub.html|P|0", "E"}},
        {"[12,P,345]X*^", {"C X|P|345", "E"}},
        // Only R, F, P and digits are collected: a lower-case type reads as empty.
        {"[0,r,0]Low@low.html*^", {"C Low@low.html||0", "E"}},
        // Type and parent carry over until a header replaces them.
        {"[0,F,3]A@a*B@b*^", {"C A@a|F|3", "C B@b|F|3", "E"}},
        {"[2,P,1]A@a*[3,p,4]B@b*^", {"C A@a|P|1", "C B@b||4", "E"}},
        // "," and "]" outside their own field are ignored.
        {"[0],R,0]A*[1,R,1,2]B*^", {"C A|R|0", "C B|R|12", "E"}},
        {"[0,R,0]a,b 1@x@y.html*^", {"C a,b 1@x@y.html|R|0", "E"}},
        {"[0,P,2]NoTarget*^", {"C NoTarget|P|2", "E"}},
        {"[0,R,0]*^", {"C |R|0", "E"}},
        {"\r\n[0,R,0]\r\nWrapped\r\n@t*^", {"C Wrapped@t|R|0", "E"}},
        {"[0,R,0]Ti]tle@t.html*^", {"C Title@t.html|R|0", "E"}},
        // A "[" in a title opens a header; the digits before it join the sequence number.
        {"[0,R,0]12[3,P,5]ab@t*^", {"C ab@t|P|5", "E"}},
        {"[0,R,0]Ab[1,P,0]c@t*^", {"! 'Ab1' is not a valid integer value (line 1)"}},
        {"[0,R,0]Ti[tle@t*^", {"! Record header without ']' before '*' (line 1)"}},
        // "^" ends the section wherever it stands.
        {"[0,R,0]Wel^come@w*", {"E"}},
        {"[0,R^,0]T@t*", {"E"}},
        {"no records", {"E"}},
        // Text before the first record lands in front of the first sequence number.
        {"7[0,R,0]A@a*^", {"C A@a|R|0", "E"}},
        {"\r\nx[0,R,0]A@a*^", {"! 'x0' is not a valid integer value (line 2)"}},
        // Errors name the line of the "," or "]" that ends the number; earlier records stay.
        {"[0,R,0]A@a*\r\n[1R,P,0]B@b*^",
         {"C A@a|R|0", "! '1R' is not a valid integer value (line 2)"}},
        {"[0,R,]A@a*^", {"! '' is not a valid integer value (line 1)"}},
        {"[0,R,0]A@a*\r\n[1,P,\r\n]B*^",
         {"C A@a|R|0", "! '' is not a valid integer value (line 3)"}},
        {"[0,R,0]A@a*\r[1,P,0]B@b*\n\r\n[y,P,0]C*",
         {"C A@a|R|0", "C B@b|P|0", "! '' is not a valid integer value (line 4)"}},
        {"[0,R,0]A@a*\r\n[1,P\r\n*^",
         {"C A@a|R|0", "! Record header without ']' before '*' (line 3)"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ContentsPart(Read(QString::fromLatin1(c.text))), c.expected);
    }
}

TEST(ProjectReaderTest, SettingsStartRightAfterTheCaretAndMissingStarsGiveEmptyValues) {
    // No line break after "^": nothing is skipped.
    QStringList log = SettingsPart(Read("[0,R,0]Wel^come@w*\r\nSecond*"));
    ASSERT_EQ(log.size(), 47);
    EXPECT_EQ(log[0], "S1@1=come@w");
    EXPECT_EQ(log[1], "S2@2=Second");
    EXPECT_EQ(log[46], "S47@2=");

    log = Read("^\r\nA*\r\nB");
    ASSERT_EQ(log.size(), 1 + 47);
    EXPECT_EQ(log[1], "S1@2=A");
    for (int k = 2; k <= 47; ++k)
        EXPECT_EQ(log[k], QStringLiteral("S%1@3=").arg(k));
}

TEST(ProjectReaderTest, WithoutCaretAllValuesAreEmptyAndThereIsNoIndex) {
    for (const char *text : {"[0,R,0]A@a*\r\nB@b*\r\n%", ""}) {
        SCOPED_TRACE(text);
        const QStringList log = Read(QString::fromLatin1(text));
        const int line = *text ? 3 : 1;
        QStringList expected = *text ? QStringList{"C A@a|R|0", "C B@b|R|0"} : QStringList{};
        expected << "E";
        for (int k = 1; k <= 47; ++k)
            expected << QStringLiteral("S%1@%2=").arg(k).arg(line);
        EXPECT_EQ(log, expected);
    }
}

TEST(ProjectReaderTest, IndexSectionTable) {
    const QString settings =
        QStringLiteral("^\r\n") + Repeat({"v*"}, 47).join("\r\n") + QStringLiteral("\r\n-\r\n");
    const struct {
        const char *index;
        QStringList expected;
    } cases[] = {
        {"K@t*\r\nL@u*\r\n%\r\nM@v*\r\n", {"I K@t", "I L@u"}},
        {"K@t*%M@v*", {"I K@t"}},
        {"K@t*\r\ntail without star", {"I K@t"}},
        {"K@t*\r\nrest%*", {"I K@t"}},
        {"Keyword*", {"I Keyword"}},
        {"[a],^b@t*", {"I [a],^b@t"}},
        {"Split\r\nLine\r*\n", {"I SplitLine"}},
        {"**", {"I ", "I "}},
        {"", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.index);
        const QStringList log = Read(settings + QString::fromLatin1(c.index));
        EXPECT_EQ(SettingsPart(log).size(), 47);
        EXPECT_EQ(IndexPart(log), c.expected);
    }
}

TEST(ProjectReaderTest, ManyRecordsKeepCountsAndLineNumbers) {
    constexpr int records = 100000;
    QString text;
    for (int i = 0; i < records; ++i)
        text += QStringLiteral("[%1,P,0]T%1@t.html*\r\n").arg(i);
    text += QStringLiteral("^\r\n") + Repeat({"1*"}, 47).join("\r\n") +
            QStringLiteral("\r\n-\r\nK@k*\r\n%");
    const QStringList log = Read(text);
    ASSERT_EQ(log.size(), records + 1 + 47 + 1);
    EXPECT_EQ(log[records - 1], "C T99999@t.html|P|0");
    EXPECT_EQ(log[records + 1], "S1@100002=1");
    EXPECT_EQ(log[records + 47], "S47@100048=1");
    EXPECT_EQ(log.last(), "I K@k");
}

} // namespace

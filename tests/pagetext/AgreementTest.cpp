// The page text is the view's text, character for character: the extractor's text of a page
// equals the plain text of a QTextDocument given the same page, compared unfolded.
#include "pagetext/PageText.h"
#include "pagetext/RandomMarkup.h"
#include "platform/PageGuard.h"

#include <QDirIterator>
#include <QFile>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

QString shownByQt(const QString &html) {
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText();
}

// Where two texts part, with some context, for a readable failure.
std::string firstDifference(const QString &expected, const QString &actual) {
    qsizetype at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        ++at;
    const qsizetype from = std::max<qsizetype>(0, at - 30);
    const auto excerpt = [from](const QString &text) {
        return text.mid(from, 60).replace(u'\n', QStringLiteral("\\n")).toStdString();
    };
    return "at " + std::to_string(at) + ": view \"" + excerpt(expected) + "\" extractor \"" +
           excerpt(actual) + "\"";
}

// Debian's python3.11-doc: several hundred real pages made by Sphinx. Split in four so that
// each part stays quick under the sanitizers too.
constexpr int CorpusParts = 4;
const QString CorpusFolder = QStringLiteral("/usr/share/doc/python3.11/html");

QStringList corpusPages() {
    QStringList pages;
    QDirIterator it(CorpusFolder, {QStringLiteral("*.html")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        pages << it.next();
    pages.sort();
    return pages;
}

class CorpusAgreement : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(CorpusAgreement, EveryPageOfThePythonDocumentation) {
    const QStringList pages = corpusPages();
    ASSERT_GE(pages.size(), 500) << "python3.11-doc is not installed (scripts/install-deps)";
    int compared = 0;
    for (qsizetype i = GetParam(); i < pages.size(); i += CorpusParts) {
        QFile file(pages[i]);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << pages[i].toStdString();
        const QString html = pagetext::DecodeHtml(file.readAll());
        // The view shows a page this large as its extracted text; nothing to compare.
        if (platform::TooComplexToLayOut(platform::MeasurePage(html)))
            continue;
        const QString view = shownByQt(html);
        bool exact = false;
        const QString text = pagetext::ExtractPlainText(html, &exact);
        EXPECT_TRUE(exact) << pages[i].toStdString();
        EXPECT_TRUE(text == view) << pages[i].toStdString() << " " << firstDifference(view, text);
        ++compared;
    }
    EXPECT_GE(compared, pages.size() / CorpusParts - 2);
}

INSTANTIATE_TEST_SUITE_P(PageText, CorpusAgreement, ::testing::Range(0, CorpusParts));

// Random markup, tags opened and closed in any order, from fixed seeds.
TEST(PageTextAgreement, RandomMarkup) {
    for (const int tokens : {6, 12, 20}) {
        for (std::uint32_t seed = 0; seed < 1000; ++seed) {
            const QString html = RandomMarkup(seed, tokens);
            const QString view = shownByQt(html);
            const QString text = pagetext::ExtractPlainText(html);
            ASSERT_TRUE(text == view) << "seed " << seed << " tokens " << tokens << "\n"
                                      << html.toStdString() << "\n"
                                      << firstDifference(view, text);
        }
    }
}

// Long random pages break tables in every way. The few that Qt resolves with a look at the
// whole tree are flagged; every other page agrees.
TEST(PageTextAgreement, LongRandomMarkup) {
    int flagged = 0;
    for (std::uint32_t seed = 0; seed < 500; ++seed) {
        const QString html = RandomMarkup(seed, 60);
        bool exact = false;
        const QString text = pagetext::ExtractPlainText(html, &exact);
        if (!exact) {
            ++flagged;
            continue;
        }
        const QString view = shownByQt(html);
        ASSERT_TRUE(text == view) << "seed " << seed << "\n"
                                  << html.toStdString() << "\n"
                                  << firstDifference(view, text);
    }
    // Tag soup with tables in every second tag; real pages (the corpus above) have none.
    EXPECT_LE(flagged, 50);
}

// Pages whose text only Qt's whole tree decides are flagged; their near neighbours agree. "<>"
// makes a nameless node that Qt lists among its parent's children; a cell or row made in its
// place right after is listed, and counted in the grid, twice. Text between them, or "<>" as
// prose, agrees.
TEST(PageTextAgreement, FlagsWhatOnlyQtsWholeTreeDecides) {
    const struct {
        const char *html;
        bool flagged;
    } pages[] = {
        {"<td/><><td", true},
        {"<tr><></><td", true}, // the end tag's node is the nameless one again
        {"<table><tr><td>a</td><> <td>b</td></tr></table>", true},
        {"<table><tr><td>a</td></tr><><tr><td>b</td></tr></table>", true},
        {"<table><tr><td>a</td><><tbody><tr><td>b</table>", true},
        {"<table><tr><td>a</td><>x<td>b</td></tr></table>", false},
        {"<><table><tr><td>a</table>", false},
        {"<p>if a <> b then</p><table><tr><td>x<td>y</table>", false},
        // Not nameless, but the same kind of look back: the text after </br> goes back into
        // the <div> that the <dd> climbed out of.
        {"<div>a<br><dd>b</br>c</div>e", true},
        {"<div>a<br><b>b</br>c</div>e", false},
        // The node an end tag reuses stays right after the <hr>: "</hr>" sends it back into the
        // closed <pre>.
        {"<r><pre><hr></r></hr>\n", true},
        {"<r><pre><hr></r>\n", false},
    };
    for (const auto &page : pages) {
        const QString html = QString::fromUtf8(page.html);
        bool exact = false;
        const QString text = pagetext::ExtractPlainText(html, &exact);
        EXPECT_EQ(exact, !page.flagged) << page.html;
        if (exact)
            EXPECT_TRUE(text == shownByQt(html)) << page.html;
    }
}

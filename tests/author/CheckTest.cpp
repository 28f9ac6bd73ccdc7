#include "author/Check.h"
#include "author/AuthorSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

const QStringList Contents{QStringLiteral("[0,R,0]Alpha@alpha.html"),
                           QStringLiteral("[1,P,0]Beta@beta.html")};
const QStringList Index{QStringLiteral("Alpha@alpha.html"), QStringLiteral("Beta@beta.html")};

QString project(const QStringList &contents, const QStringList &index = Index,
                const std::vector<std::pair<int, QString>> &overrides = {}) {
    return MakeProject(contents, index, overrides);
}

QString without(const QString &text, int line) {
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeAt(line - 1);
    return lines.join(QStringLiteral("\r\n"));
}

struct Row {
    const char *Label;
    QByteArray Bytes;
    QStringList Expected; // "LINE:error|warning:part of the message", in order
};

// Lines of the base project: records 1-2, "^" 3, value k on line 3 + k, separator 51, index
// from 52, "%" 54.
std::vector<Row> rows() {
    const auto u = [](const QString &text) { return text.toUtf8(); };
    QByteArray latin = u(project(Contents));
    latin.replace("Beta@", "B\xE9ta@");
    return {
        {"clean", u(project(Contents)), {}},
        {"empty", QByteArray(), {"1:error:missing or empty"}},
        {"sequence no integer",
         u(project({"[0R,R,0]Alpha@alpha.html", Contents[1]})),
         {"1:error:'0R' is not a valid integer value (line 1)"}},
        {"header without ]",
         u(project({Contents[0], "[1,P,0 Beta@beta.html"})),
         {"2:error:without ']'"}},
        {"settings value no integer",
         u(project(Contents, Index, {{7, "ten"}})),
         {"10:error:'ten' is not a valid integer value (line 10)"}},
        {"colour empty",
         u(project(Contents, Index, {{9, ""}})),
         {"12:error:'' is not a valid integer value (line 12)"}},
        {"settings short",
         u(without(project(Contents), 20)),
         {"50:error:has 46 values; the viewer reads 47"}},
        {"no ^",
         u(CrLf({Contents[0] + u'*', Contents[1] + u'*'})),
         {"2:error:no \"^\" ends the contents section"}},
        {"no %", u(without(project(Contents), 54)), {"53:error:no \"%\" ends the index"}},
        {"missing page",
         u(project({Contents[0], "[1,P,0]Beta@gamma.html"}, {"Alpha@alpha.html"})),
         {"2:warning:page \"gamma.html\" not found",
          "3:warning:no Contents entry targets the page \"beta.html\""}},
        {"same target",
         u(project(Contents + QStringList{"[2,P,0]Again@beta.html"})),
         {"3:warning:same target as line 2"}},
        {"same file name in another folder",
         u(project(Contents + QStringList{"[2,P,0]Sub@sub/alpha.html"})),
         {"3:warning:page \"sub/alpha.html\" is in a subfolder",
          "3:warning:\"sub/alpha.html\" ends in the same file name as line 1"}},
        {"index out of order",
         u(project(Contents, {Index[1], Index[0]})),
         {"53:warning:\"Alpha\" is out of order: the Index shows it before \"Beta\" (line 52)"}},
        {"keyword outside the contents",
         u(project(Contents, Index + QStringList{"Other@sub/c.html"})),
         {"54:warning:keyword \"Other\" opens \"sub/c.html\", which is not in the Contents"}},
        {"too short",
         u(project(Contents + QStringList{"[2,P,0]Short@ab"})),
         {"3:warning:target \"ab\" is too short"}},
        {"icon not .ico",
         u(project(Contents, Index, {{3, "help.png"}})),
         {"6:warning:does not end in \".ico\""}},
        {"icon missing",
         u(project(Contents, Index, {{3, "none.ico"}})),
         {"6:warning:icon file \"none.ico\" not found"}},
        {"] in a title",
         u(project({Contents[0], "[1,P,0]Be]ta@beta.html"})),
         {"2:warning:with \"]\", which the reader splits on"}},
        {"* in a title",
         u(project({Contents[0], "[1,P,0]Be*ta@beta.html"})),
         {"2:warning:with \"*\", which the reader splits on: the record ends there",
          "2:warning:record without \"@\"", "2:warning:page \"Be\" not found",
          "2:warning:target \"Be\" is too short"}},
        {"[ in a title",
         u(project({Contents[0], "[1,P,0]Be[ta@beta.html"})),
         {"2:warning:with \"[\", which the reader splits on: it starts a record header",
          "2:error:Record header without ']' before '*' (line 2)"}},
        {"@ in a title",
         u(project({Contents[0], "[1,P,0]Mail@me@beta.html"})),
         {"2:warning:with \"@\", which the reader splits on: the node is titled \"Mail\" and "
          "opens \"me@beta.html\"",
          "2:warning:page \"me@beta.html\" not found",
          "3:warning:no Contents entry targets the page \"beta.html\"",
          "53:warning:keyword \"Beta\" opens \"beta.html\", which is not in the Contents"}},
        {"^ inside a record",
         u(project({Contents[0], "[1,P,0]Be^ta@beta.html"})),
         {"2:warning:\"^\" inside a record ends the contents section",
          "2:warning:no Contents entry targets the page \"beta.html\"",
          "3:error:the settings section has 0 values"}},
        {"a Contents record in place of settings value 1",
         u(project(Contents, Index, {{1, "[2,P,0]Late@beta.html"}})),
         {"4:warning:a Contents record after the \"^\" is read as settings value 1"}},
        {"a Contents record in the index",
         u(project(Contents, Index + QStringList{"[2,P,0]Late@beta.html"})),
         {"54:warning:a Contents record after the \"^\" is read as an index record",
          "54:warning:\"[2,P,0]Late\" is out of order"}},
        {"a keyword whose page the Contents takes for another",
         u(project(Contents, Index + QStringList{"Sub@sub/alpha.html"})),
         {"54:warning:keyword \"Sub\" opens \"sub/alpha.html\", which is not in the Contents",
          "54:warning:which ends in the same file name as line 1 in another folder"}},
        {"a page found ignoring letter case",
         u(project({Contents[0], "[1,P,0]Beta@BETA.HTML"}, {Index[0], "Beta@Beta.Html"})),
         {}},
        {"text after %",
         u(project(Contents) + "Late@alpha.html*\r\n"),
         {"54:warning:text after the \"%\" is ignored"}},
        {"parent later",
         u(project({Contents[0], "[1,P,2]Beta@beta.html", "[2,P,0]Gamma@sub/c.html"})),
         {"2:warning:parent 2 is a later node", "3:warning:is in a subfolder"}},
        {"parent none",
         u(project({Contents[0], "[1,P,7]Beta@beta.html"})),
         {"2:warning:parent 7 names no node"}},
        {"not UTF-8", latin, {"2:warning:not valid UTF-8"}},
    };
}

TEST(Check, ReportsEachProblemOnItsLine) {
    HelpFolder folder;
    folder.Page(QStringLiteral("alpha.html"), QStringLiteral("Alpha"));
    folder.Page(QStringLiteral("beta.html"), QStringLiteral("Beta"));
    folder.Mkdir(QStringLiteral("sub"));
    folder.Page(QStringLiteral("sub/alpha.html"), QStringLiteral("Sub"));
    folder.Page(QStringLiteral("sub/c.html"), QStringLiteral("C"));
    folder.Write(QStringLiteral("ab"), "x");
    folder.Write(QStringLiteral("sample.ico"), "icon");
    for (const Row &row : rows())
        ExpectFindings(author::CheckProjectBytes(row.Bytes, QStringLiteral("p.vlp"), folder.Path()),
                       row.Expected, row.Label);
}

TEST(Check, TheSampleProjectHasNoFindings) {
    const author::Findings findings =
        author::CheckProject(QStringLiteral(VELLUMO_SOURCE_DIR "/examples/sample"));
    for (const author::Finding &finding : findings)
        ADD_FAILURE() << author::CompilerForm(finding).toStdString();
}

} // namespace

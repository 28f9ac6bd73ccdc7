// The quirks of real producers' contents and index files, one row each.
#include "author/AuthorSupport.h"
#include "author/Check.h"
#include "author/Import.h"
#include "author/ProjectWriter.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct Row {
    const char *Label;
    std::vector<std::pair<QString, QByteArray>> Files;
    QString Source;
    QStringList Nodes;    // "depth title@target" as imported
    QStringList Index;    // "keyword@target" as imported
    QStringList Notes;    // what the import and the writer report
    QStringList Findings; // what `vlp check` says about the written file, with every page there
};

QByteArray sitemap(const QByteArray &body) {
    return "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n<HTML><BODY>\n" + body +
           "\n</BODY></HTML>\n";
}

std::vector<Row> rows() {
    return {
        {"unclosed LI, letter case, quotes, param order, site properties, backslashes, anchors",
         {{"t.hhc", sitemap(R"(<OBJECT type="text/site properties"><param name="Name" value="no">
</OBJECT><ul><li><OBJECT type=text/sitemap><PARAM value=a.html name=Local>
<param NAME='Name' VALUE='A &amp; B'></OBJECT>
<UL><li> <object type="TEXT/SITEMAP"><param name="Name" value="Child">
<param name="Local" value="sub\c.html#part"></object></UL>
<li><object type="text/sitemap"><param name="Name" value="Caf&eacute;"><param name="Local" value="b.html"></object>
<!-- <li><object type="text/sitemap"><param name="Name" value="Commented"></object> -->
</ul>)")}},
         "t.hhc",
         {"0 A & B@a.html", "1 Child@sub/c.html#part", QString::fromUtf8("0 Café@b.html")},
         {},
         {},
         {"2:warning:page \"sub/c.html\" is in a subfolder"}},
        {"several Name/Local pairs in one entry, as Sphinx writes them",
         {{"s.hhc", sitemap(R"(<UL><LI> <OBJECT type="text/sitemap">
    <param name="Name" value="X"><param name="Local" value="x1.html">
    <param name="Name" value="X"><param name="Local" value="x2.html"></OBJECT></UL>)")},
          {"s.hhk", sitemap(R"(<UL><LI> <OBJECT type="text/sitemap">
    <param name="Keyword" value="K">
    <param name="Name" value="n1"><param name="Local" value="p1.html">
    <param name="Name" value="n2"><param name="Local" value="p2.html"></OBJECT></UL>)")}},
         "s.hhc",
         {"0 X@x1.html"},
         {"K@p1.html", "K@p2.html"},
         {},
         {"2:warning:no Contents entry targets the page \"p1.html\"",
          "2:warning:no Contents entry targets the page \"p2.html\"",
          "51:warning:keyword \"K\" opens \"p1.html\", which is not in the Contents",
          "52:warning:keyword \"K\" opens \"p2.html\", which is not in the Contents"}},
        {"folder entries with no page, as Doxygen writes them",
         {{"f.hhc", sitemap(R"(<UL>
<LI><OBJECT type="text/sitemap"><param name="Name" value="Folder"></OBJECT>
  <UL><LI><OBJECT type="text/sitemap"><param name="Name" value="Empty"></OBJECT>
  <LI><OBJECT type="text/sitemap"><param name="Local" value="leaf.html"><param name="Name" value="Leaf"></OBJECT>
  </UL>
<LI><OBJECT type="text/sitemap"><param name="Name" value="Nothing"></OBJECT>
</UL>)")}},
         "f.hhc",
         {"0 Folder@leaf.html", "1 Leaf@leaf.html"},
         {},
         {"\"Folder\" has no page: it opens \"leaf.html\", its first entry's",
          "left out \"Empty\": neither it nor its entries have a page",
          "left out \"Nothing\": neither it nor its entries have a page"},
         {}},
        {"nested keyword lists and See Also",
         {{"k.hhc", sitemap(R"(<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="Core">
<param name="Local" value="core.html"></OBJECT></UL>)")},
          {"k.hhk", sitemap(R"(<UL>
  <LI><OBJECT type="text/sitemap"><param name="Local" value="core.html"><param name="Name" value="core"></OBJECT>
  <UL>
    <LI><OBJECT type="text/sitemap"><param name="Local" value="core.html#open"><param name="Name" value="open"></OBJECT>
  </UL>
  <LI><OBJECT type="text/sitemap"><param name="Keyword" value="install"><param name="See Also" value="install"></OBJECT>
  <UL> <LI> <OBJECT type="text/sitemap"><param name="Keyword" value="apt"><param name="Local" value="i.html"></OBJECT>
  </UL><LI><OBJECT type="text/sitemap"><param name="Keyword" value="setup"><param name="See Also" value="core"></OBJECT>
</UL>)")}},
         "k.hhc",
         {"0 Core@core.html"},
         {"core@core.html", "core, open@core.html#open", "install, apt@i.html", "setup@core.html"},
         {"\"setup\" (see also \"core\") opens \"core.html\""},
         {"2:warning:no Contents entry targets the page \"i.html\"",
          "53:warning:keyword \"install, apt\" opens \"i.html\", which is not in the Contents"}},
        {"code page of the project's language: Windows-1252 and Windows-1251",
         {{"w.hhp", "[OPTIONS]\r\nContents file=w.hhc\r\nIndex file=W.HHK\r\nLanguage=0x419 "
                    "Russian\r\nTitle=\xCF\xF0\xE8\r\nDefault topic=a.html\r\n"},
          {"w.hhc", sitemap("<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" "
                            "value=\"\xCF\xF0\xE8\"><param name=\"Local\" value=\"a.html\">"
                            "</OBJECT></UL>")},
          {"w.hhk", sitemap("<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Keyword\" "
                            "value=\"\xE4\xE0\"><param name=\"Local\" value=\"a.html\">"
                            "</OBJECT></UL>")}},
         "w.hhp",
         {QString::fromUtf8("0 При@a.html")},
         {QString::fromUtf8("да@a.html")},
         {},
         {}},
        {"Windows-1252 when the language implies it",
         {{"l.hhp", "[OPTIONS]\r\nContents file=l.hhc\r\nLanguage=0x409\r\nTitle=f\xFCr\r\n"},
          {"l.hhc", sitemap("<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" "
                            "value=\"Gr\xFC\xDF"
                            "e\"><param name=\"Local\" value=\"g.html\">"
                            "</OBJECT></UL>")}},
         "l.hhp",
         {QString::fromUtf8("0 Grüße@g.html")},
         {},
         {},
         {}},
        {"a default topic that is not the first entry becomes the home topic",
         {{"h.hhp", "[OPTIONS]\nContents file=h.hhc\nDefault topic=html\\start.html\nTitle=Home\n"},
          {"h.hhc",
           sitemap("<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" "
                   "value=\"Other\"><param name=\"Local\" value=\"o.html\"></OBJECT></UL>")}},
         "h.hhp",
         {"0 Home@html/start.html", "0 Other@o.html"},
         {},
         {"added the home topic \"html/start.html\" as the first entry"},
         {"1:warning:page \"html/start.html\" is in a subfolder"}},
        {"a Qt help project: nested sections, keywords with duplicates and without ref",
         {{"q.qhp", R"(<?xml version="1.0" encoding="UTF-8"?><QtHelpProject version="1.0">
<filterSection><toc><section title="Top" ref="index.html"><section title="Sub" ref="s/index.html">
<section title="Leaf" ref="s/leaf.html#a"/></section></section></toc>
<keywords><keyword name="k" id="k" ref="s/leaf.html#a"/><keyword name="k" ref="s/leaf.html#a"/>
<keyword name="only id" id="x"/></keywords></filterSection></QtHelpProject>)"}},
         "q.qhp",
         {"0 Top@index.html", "1 Sub@s/index.html", "2 Leaf@s/leaf.html#a"},
         {"k@s/leaf.html#a", "k@s/leaf.html#a"},
         {"re-pointed \"s/index.html\" to \"s/index.html#\": the Contents would take its page "
          "for \"index.html\""},
         {"2:warning:page \"s/index.html\" is in a subfolder",
          "3:warning:page \"s/leaf.html\" is in a subfolder"}},
        {"file names shared across folders, fragment or not, and characters the format cannot hold",
         {{"c.hhc", sitemap(R"(<UL>
<LI><OBJECT type="text/sitemap"><param name="Name" value="Start"><param name="Local" value="index.html"></OBJECT>
<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="Overview"><param name="Local" value="index.html#ov"></OBJECT></UL>
<LI><OBJECT type="text/sitemap"><param name="Name" value="API @ 2 [beta]*"><param name="Local" value="api\index.html"></OBJECT>
<UL><LI><OBJECT type="text/sitemap"><param name="Name" value="Overview"><param name="Local" value="api/index.html#ov"></OBJECT></UL>
</UL>)")},
          {"c.hhk", sitemap(R"(<UL>
<LI><OBJECT type="text/sitemap"><param name="Keyword" value="api"><param name="Local" value="api/index.html"></OBJECT>
<LI><OBJECT type="text/sitemap"><param name="Keyword" value="50% off"><param name="Local" value="index.html"></OBJECT>
<LI><OBJECT type="text/sitemap"><param name="Keyword" value="odd"><param name="Local" value="odd%20page.html"></OBJECT>
</UL>)")}},
         "c.hhc",
         {"0 Start@index.html", "1 Overview@index.html#ov", "0 API @ 2 [beta]*@api/index.html",
          "1 Overview@api/index.html#ov"},
         {"api@api/index.html", "50% off@index.html", "odd@odd%20page.html"},
         {"replaced \"@[]*\" in the title \"API @ 2 [beta]*\"",
          "replaced \"%\" in the keyword \"50% off\"",
          "left out the keyword \"odd\": \"odd%20page.html\" cannot be written",
          "re-pointed \"api/index.html\" to \"api/index.html#\": the Contents would take its "
          "page for \"index.html\"",
          "re-pointed the keyword \"api\" from \"api/index.html\" to \"api/index.html#\": the "
          "Contents would take its page for \"index.html\"",
          "re-pointed \"index.html#ov\" to \"./index.html#ov\": the Contents would show it for "
          "\"api/index.html#ov\""},
         {"3:warning:page \"api/index.html\" is in a subfolder",
          "5:warning:no Contents entry targets the page \"odd%20page.html\""}},
    };
}

TEST(TagSoup, EachQuirkOfRealProducersIsReadAsMeant) {
    for (const Row &row : rows()) {
        HelpFolder folder;
        for (const auto &[name, bytes] : row.Files)
            folder.Write(name, bytes);
        const author::BuildResult result = author::ImportProject(folder.Path() + u'/' + row.Source);
        QStringList nodes;
        for (const author::HelpNode &node : result.Model.Nodes) {
            int depth = 0;
            for (int p = node.Parent; p >= 0; p = result.Model.Nodes[static_cast<size_t>(p)].Parent)
                ++depth;
            nodes << QStringLiteral("%1 %2@%3").arg(depth).arg(node.Title, node.Target);
        }
        QStringList index;
        for (const author::IndexEntry &entry : result.Model.Index)
            index << entry.Keyword + u'@' + entry.Target;
        EXPECT_EQ(nodes.join(u'\n').toStdString(), row.Nodes.join(u'\n').toStdString())
            << row.Label;
        EXPECT_EQ(index.join(u'\n').toStdString(), row.Index.join(u'\n').toStdString())
            << row.Label;

        // Written out, beside every page it names, the import is what `vlp check` passes.
        for (const QString &entry : row.Nodes + row.Index) {
            const QString page = author::PageKey(entry.section(u'@', -1));
            if (page.contains(u'/'))
                folder.Mkdir(page.section(u'/', 0, -2));
            folder.Page(page, page);
        }
        folder.Write(QStringLiteral("help.ico"), "icon");
        const QString file = folder.Path() + QStringLiteral("/help.vlp");
        QString problem;
        const author::WriteSummary summary =
            author::WriteProjectFile(result.Model, file, false, &problem);
        EXPECT_EQ((result.Notes + summary.Notes).join(u'\n').toStdString(),
                  row.Notes.join(u'\n').toStdString())
            << row.Label;
        ExpectFindings(author::CheckProject(file), row.Findings, row.Label);
    }
}

TEST(TagSoup, NothingUsableFails) {
    HelpFolder folder;
    folder.Write(QStringLiteral("e.hhc"), sitemap("<UL><LI><OBJECT type=\"text/sitemap\">"
                                                  "<param name=\"Name\" value=\"x\"></OBJECT>"));
    folder.Write(QStringLiteral("bad.qhp"), "<QtHelpProject><toc>");
    for (const char *name : {"e.hhc", "bad.qhp", "missing.hhp", "e.txt"})
        EXPECT_FALSE(
            author::ImportProject(folder.Path() + u'/' + QString::fromUtf8(name)).Failure.isEmpty())
            << name;
}

} // namespace

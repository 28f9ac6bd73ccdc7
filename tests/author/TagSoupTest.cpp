// The quirks of real producers' contents and index files, one row each.
#include "author/Import.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct Row {
    const char *Label;
    std::vector<std::pair<QString, QByteArray>> Files;
    QString Source;
    QStringList Nodes; // "depth title@target"
    QStringList Index; // "keyword@target"
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
<li><object type="text/sitemap"><param name="Name" value="Two"><param name="Local" value="b.html"></object>
<!-- <li><object type="text/sitemap"><param name="Name" value="Commented"></object> -->
</ul>)")}},
         "t.hhc",
         {"0 A & B@a.html", "1 Child@sub/c.html#part", "0 Two@b.html"},
         {}},
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
         {"K@p1.html", "K@p2.html"}},
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
         {"core@core.html", "core, open@core.html#open", "install, apt@i.html", "setup@core.html"}},
        {"code page of the project's language: Windows-1252 and Windows-1251",
         {{"w.hhp", "[OPTIONS]\r\nContents file=w.hhc\r\nIndex file=W.HHK\r\nLanguage=0x419 "
                    "Russian\r\nTitle=\xCF\xF0\xE8\r\nDefault topic=a.html\r\n"},
          {"w.hhc", sitemap("<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" "
                            "value=\"\xCF\xF0\xE8\"><param name=\"Local\" value=\"a.html\">"
                            "</OBJECT></UL>")},
          {"w.hhk", sitemap("<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Keyword\" "
                            "value=\"\xE4\xE0\"><param name=\"Local\" value=\"a.html\">"
                            "</OBJECT></UL>")},
          {"l.hhp", "[OPTIONS]\r\nContents file=l.hhc\r\nLanguage=0x409\r\nTitle=f\xFCr\r\n"},
          {"l.hhc", sitemap("<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" "
                            "value=\"Gr\xFC\xDF"
                            "e\"><param name=\"Local\" value=\"g.html\">"
                            "</OBJECT></UL>")}},
         "w.hhp",
         {QString::fromUtf8("0 При@a.html")},
         {QString::fromUtf8("да@a.html")}},
        {"Windows-1252 when the language implies it",
         {},
         "l.hhp",
         {QString::fromUtf8("0 Grüße@g.html")},
         {}},
        {"a default topic that is not the first entry becomes the home topic",
         {{"h.hhp", "[OPTIONS]\nContents file=h.hhc\nDefault topic=html\\start.html\nTitle=Home\n"},
          {"h.hhc",
           sitemap("<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" "
                   "value=\"Other\"><param name=\"Local\" value=\"o.html\"></OBJECT></UL>")}},
         "h.hhp",
         {"0 Home@html/start.html", "0 Other@o.html"},
         {}},
        {"a Qt help project: nested sections, keywords with duplicates and without ref",
         {{"q.qhp", R"(<?xml version="1.0" encoding="UTF-8"?><QtHelpProject version="1.0">
<filterSection><toc><section title="Top" ref="index.html"><section title="Sub" ref="s/index.html">
<section title="Leaf" ref="s/leaf.html#a"/></section></section></toc>
<keywords><keyword name="k" id="k" ref="s/leaf.html#a"/><keyword name="k" ref="s/leaf.html#a"/>
<keyword name="only id" id="x"/></keywords></filterSection></QtHelpProject>)"}},
         "q.qhp",
         {"0 Top@index.html", "1 Sub@s/index.html", "2 Leaf@s/leaf.html#a"},
         {"k@s/leaf.html#a", "k@s/leaf.html#a"}},
    };
}

TEST(TagSoup, EachQuirkOfRealProducersIsReadAsMeant) {
    HelpFolder folder;
    for (const Row &row : rows()) {
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

#include "pagetext/PageText.h"
#include "platform/FileSystem.h"

#include <QTextDocument>
#include <algorithm>
#include <gtest/gtest.h>

#include <string_view>

// Failures show the text, not its bytes.
static void PrintTo(const QString &text, std::ostream *os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

using namespace std::string_view_literals;

// What a phrase search can tell of a text: its characters, and where white space separates
// them (any run of it, line breaks included, counts as one space).
QString fold(const QString &text) {
    QString folded;
    bool blank = false;
    for (const QChar c : text) {
        if (c.isSpace()) {
            blank = true;
            continue;
        }
        if (blank && !folded.isEmpty())
            folded += u' ';
        blank = false;
        folded += c;
    }
    return folded;
}

QString shownByQt(const QString &html) {
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText();
}

QString fromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

QString extract(std::string_view utf8) {
    return pagetext::ExtractPlainText(fromUtf8(utf8));
}

QByteArray bytes(std::string_view text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}

struct Page {
    const char *name;
    std::string_view html;         // may hold NUL characters
    bool hidesWhatFollows = false; // leaves a comment, tag or hiding element open
};

// Pages of the kinds help files contain, clean and sloppy. Qt's view is the reference: its plain
// text, character for character, is what the search must see.
const Page AgreementPages[] = {
    {"complete page",
     "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n<html>\n<head>\n"
     "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\n"
     "<title>Printing a report</title>\n<link rel=\"stylesheet\" href=\"help.css\">\n"
     "<style type=\"text/css\">\n p { margin: 0 }\n</style>\n"
     "<script type=\"text/javascript\">function f(a, b) { return a < b && b > 0; }</script>\n"
     "</head>\n<body bgcolor=\"#FFFFFF\">\n<h1><a name=\"top\"></a>Printing</h1>\n"
     "<p>Open the <b>File</b> menu and click <a href=\"print.htm\">Print&hellip;</a>.</p>\n"
     "<p>Choose a printer.</p>\n</body>\n</html>\n"},
    {"inline markup",
     "<p>Some <b>bold</b>, <i>italic</i>, <u>under</u><s>struck</s>, <em>em</em><strong>strong"
     "</strong> <code>code</code><tt>tt</tt><kbd>Ctrl</kbd>+<kbd>C</kbd>, H<sub>2</sub>O, "
     "x<sup>2</sup>, <small>small</small><big>big</big> <font face=Arial size=2 "
     "color=red>font</font> <span class=x>span</span><nobr>no break here</nobr> "
     "<cite>cite</cite><dfn>dfn</dfn><var>var</var><samp>samp</samp></p>"},
    {"nested lists",
     "<ul>\n <li>One\n  <ul><li>One.a<li>One.b\n   <ol><li>deep</li></ol>\n  </ul>\n"
     " <li>Two</li>\n <li><p>Three</p><p>Three again</p></li>\n</ul>after list\n"
     "<ol type=a><li>first<li>second</ol><ul>text in list<li>item</ul>"},
    {"tables", "<table border=1 cellpadding=2 width=\"100%\">\n<caption>Options</caption>\n"
               "<thead><tr><th>Name<th>Meaning</tr></thead>\n<tbody>\n"
               "<tr><td>Copies</td><td>How many</td></tr>\n"
               "<tr><td colspan=2>Spanning <b>cell</b></td></tr>\n"
               "<tr><td>Nested</td><td><table><tr><td>inner one</td><td>inner two</td></tr></table>"
               "after inner</td></tr>\n</tbody></table>below the table"},
    {"sloppy tables", "before<table><td>no row</td><td>second</td></table>text after"
                      "<p><td>stray cell<td>another</p>"
                      "<table><tr><td>unclosed cell<tr><td>next row</table>end"},
    {"pre blocks",
     "<p>Type:</p><pre>\n  copy   a.txt  b.txt\r\n\tindented &lt;tab&gt;\n<b>bold</b>   "
     "inside\n</pre>after pre <pre>x<!-- c -->  y</pre>"},
    {"named entities",
     "&amp; &lt; &gt; &quot; &apos; &AMP; &copy;&reg;&trade; &hellip;&mdash;&ndash; "
     "&lsquo;q&rsquo; &ldquo;q&rdquo; &bull;&middot; &euro;&pound;&yen;&cent; &sect;&para;"
     "&deg;&plusmn;&times;&divide; &frac12;&frac14;&frac34; &laquo;&raquo; &iexcl;&iquest; "
     "&auml;&ouml;&uuml;&Auml;&Ouml;&Uuml;&szlig; &eacute;&egrave;&ecirc;&agrave;&aacute;"
     "&acirc;&ccedil;&ntilde;&oslash;&aring; &alpha;&Omega; &rarr;&hArr; &and;&or; &nbsp;x"},
    {"numeric and broken entities",
     "&#65;&#x42;&#X43; &#150;&#128;&#159; &#8212; &#x1F600; &#128512; &#+65; &#x0x41; &#-1; "
     "&#99999999; &#; &#x; &unknown; &amp no semicolon, AT&T, a & b, &lt3, &copy2024 "
     "&NBSP; &Amp; ends with &amp"},
    {"comments",
     "one<!-- hidden <p>text</p> -->two three <!-- c --> four<!--x-->  five\n"
     "<!DOCTYPE x>six<?xml version=\"1.0\"?>seven<!----> eight<!--->nine-->ten "
     "<!-- unclosed comment runs to the end",
     true},
    {"script style title in the body",
     "<p>before</p><script>document.write('<p>not shown</p>'); if (a &lt; b) {}</script>"
     "<style>p { color: red }</style><title>Late title</title>after <b>x</b>"},
    {"script with a bare less-than",
     "<p>shown</p><script>if (a < b) x();</script><p>hidden by Qt too</p>", true},
    {"head without end",
     "<html><head><title>T</title><meta name=x>hidden in head<body><p>body text</p>"},
    {"head without body", "<head><title>T</title></head>\nText after head, no body tag", true},
    {"images",
     "<p>Click <img src=\"b.gif\" alt=\"the button\"> to go on.</p>"
     "<p><a href=\"x.htm\"><img src=a.gif></a>linked <IMG SRC=c.png ALT=\"c\"/>picture</p>"
     "<p>a<img src=x>b</p>"},
    {"broken markup",
     "<p>3 < 4 and 5 > 2</p><p>x<1y</p><b>unclosed <i>nested <p>para</b> stray</i> end "
     "</font></td></table><p>a</ b>c <> d </> e << f"},
    {"upper case", "<P>Para</P><TABLE><TR><TD>Cell</TD></TR></TABLE><UL><LI>Item</UL><BR>Br"},
    {"attributes",
     "<p title=\"a > b\">one</p><p title='x > y'>two</p><p title='it\\'s > so'>three</p>"
     "<a href=x/y.htm>four</a> <a href=\"a.htm\" title=\"&quot;q&quot;\">five</a>"
     "<p class=a id=b onclick=\"f('>')\">six</p><a href=/x/>seven</a> eight"},
    {"white space", "  <p>  lots   of\n\n\tspace  </p>\n\n  <p>\r\n next\r\n para </p>  "
                    "&nbsp;&nbsp;nbsp&nbsp;runs&nbsp; here <b> bold </b> <i> it </i>\n"},
    {"unicode text",
     "<p>Größe ändern – naïve café</p><p>日本語のテキスト</p><p>emoji 😀 here</p>"
     "<p>line\xe2\x80\xa8separator para\xe2\x80\xa9separator</p><p>Ελληνικά Русский</p>"},
    {"divs", "<div>a</div>b<div><b>c</b></div>d<div>e<br></div>f<div></div>g"
             "<div><div>h</div></div>i<div>j<p>k</p></div>l"},
    {"anchors after blocks",
     "<p>first</p><a name=\"x\"></a>second<h2>third</h2><a name=y>fourth</a>fifth"
     "<p>sixth</p><script>s</script>seventh"},
    {"definition lists and blocks",
     "<dl><dt>Term<dd>Definition<dt>Other</dt><dd>More</dd></dl>after"
     "<blockquote>quoted</blockquote><center>centered</center><address>addr</address>x"
     "<form><input type=text> field</form>y<hr>z<hr/>w"},
    {"xhtml style",
     "line one<br/>line two<br />three<p/>four<hr/>five<img src=\"a.gif\"/>six<b/>seven"},
    {"html5 elements", "<section><h1>Title</h1><nav>Home</nav><article><p>Body</p></article>"
                       "<aside>side</aside></section><footer>foot</footer>"},
    {"link in the body", "<p>shown</p><link rel=stylesheet href=x.css><p>Qt hides this</p>", true},
    {"word html",
     "<p class=MsoNormal>Hello<o:p></o:p></p><!--[if gte mso 9]><xml><w:x/></xml><![endif]-->"
     "<p class=MsoNormal><span style='font-size:10.0pt'>World<o:p>&nbsp;</o:p></span></p>"},
    {"chm page",
     "<OBJECT type=\"application/x-oleobject\" classid=\"clsid:1e2a7bd0\"><param name=\"Keyword\" "
     "value=\"print\"></OBJECT><h1>Print</h1><p>Text</p>"},
    {"nul characters", "a\0b<p>c\0</p>d"sv},
    {"clipboard fragment",
     "<html><body>outside<!--StartFragment--><p>inside</p><!--EndFragment-->tail</body></html>",
     true},
    {"truncated at the end", "<p>text &amp", true},
    {"truncated tag", "<p>text</p><a href=\"x", true},
    {"truncated end tag", "<p>text</", true},
    {"truncated declaration", "<p>text</p><!DOCTYPE", true},
    {"qt tag and body", "<qt>qt text</qt>after<body>body<p>para</body>tail"},
    {"lone blanks after hidden elements",
     "a<script>x</script> <b>b</b> c<meta name=x> <i>d</i> e<style>s</style>  <b>f</b> "
     "g<script>x</script> h"},
    {"inline elements after a paragraph",
     "<p>x</p><b><i>y</i></b><h3>h</h3><span><a name=n></a>z</span><p>p</p><font><b>q</b></font>"},
    {"stray header cell", "x<th>a</table>b<th>c<td>d</td>e"},
    {"headings", "<h1>One</h1>text<h2>Two</h2><h3>Three<h4>Four</h4>x<h5>Five</h5><h6>Six</h6>"},
    {"end tags of empty elements",
     "<meta name=Generator content=\"Microsoft Word 15\"><p class=MsoNormal>Hello</meta>world</p>"
     "<p>Hello</meta>again</p><meta><p>G</meta>\xc3\xbf <p>a<br><b>x</br>y</b> "
     "<img src=i><i>z</img>w</i></p><br><><ul>x</br>y<img><><p>z</img>w"},
    {"non-breaking space runs",
     "<p>Press&nbsp;&nbsp;Enter</p><p>&nbsp;</p><p>a &nbsp; b&nbsp;</p>&nbsp;&nbsp;&nbsp;"
     "<b>&nbsp;x</b> y&#160;&#xA0;z <nobr>no  wrap</nobr>"},
    {"blanks before the ends of blocks",
     "<p>Prev </p><p>Up\n</p><div>Next <br></div><h2>Title <a name=x></a></h2> <b>bold </b>"
     "<ul><li>item </li></ul><table><tr><td>cell </td><td> </td></tr></table>after "},
    {"empty blocks", "<p></p><p></p>text<div></div><p> </p><h1></h1><br><br>x<p><p>y<hr><hr>z"
                     "<blockquote></blockquote><dl><dt></dl>w"},
    {"tables of every shape",
     "<table><caption>Cap</caption><tr><td>a<td>b<td>c</tr><tr><td>short</tr><tr></tr>"
     "<tr><td colspan=2>wide<td>x</tr></table>after"
     "<table><tr><td rowspan=2>tall<td>r1</tr><tr><td>r2</tr><tr><td>r3<td>r3b</table>"
     "<table><tr><td>out<table><tr><td>in</table>tail<td>next</table>"
     "<table></table><table><tr></tr></table>text<table><tr><td></td></tr></table>"},
    {"lists", "<ul><li></li><li>a<li> </ul><ol>  text <li>b</ol><ul>&nbsp;<li>c</ul><ul> <li>d</ul>"
              "<ol><li><ul><li>nested</ul>after nested</ol>e"},
    {"pre", "<pre>\n\n a  \n</pre><pre> </pre><pre>x\r\ny\r</pre><pre>&nbsp;t\tu</pre>v"},
    {"line break before the end of pre",
     "<pre>code\n</pre><o:p></o:p>Next <pre>code\n</pre><span/>Next <pre>two\n\n</pre><b></b>"
     "lines <pre>tail<b></b>\n</pre><o:p></o:p>node <pre><b>bold\n</pre>after "
     "<pre>ref&#10;</pre><span/>ence"
     "<pre><td>cell\n</pre><pre><td>space \n</pre><pre><td>two\n\n</pre><pre><td>ent&#10;</pre>"
     "<pre>a<> \n</pre>b<pre><> \n\n</pre>c<pre><pre>d</pre><b>\n</pre>e"
     "<pre><td>f\n</x> </pre>g<pre><hr>h\n</hr>i</pre>"
     "<pre><pre>j</pre><e>\n<></pre>k<pre><hr><b>\n</hr>l</pre>"},
    {"entities in tag names",
     "<td>a</table&nbsp;>b<p>c</p&#32;>d<&#98;>e</b>f<x&amp;>g<p>h</x&#38;>i</&nbsp;>j"},
    {"entities in a tag's words",
     "<table><tr><td row&#115;pan=3>a<td>b<tr><td>c<td>d</table>e<table><tr><td rowspan=\"&#51;\">"
     "f<td>g<tr><td>h</table>i<table><tr><td rowspan='&#51;'>j<td>k<tr><td>l</table>m"
     "<&#00000112;>n<'&#080;'>o<\"&#080;\">p"},
    {"an entity in a name at the page's end", "<pre>a</pre?<e>\n><<&#233;epr> </&#160"},
    {"names lower-cased past ASCII",
     "a<bloc\u212Aquote>b</blockquote>c<ul><x\u0130><li>d</xi\u0307>e</ul>f"
     "<ul><x\U00010400><li>g</x\U00010428>h</ul>i<ul><y\u0130><li>j</yi>k</ul>l"
     "<table><tr><td row\u017Fpan=3>m<td>n<tr><td>o<td>p</table>q"},
};

TEST(PageTextTest, AgreesWithQtView) {
    for (const Page &page : AgreementPages) {
        SCOPED_TRACE(page.name);
        const QString html = fromUtf8(page.html);
        EXPECT_EQ(pagetext::ExtractPlainText(html), shownByQt(html));
    }
}

// A long page with everything in it, many times over.
TEST(PageTextTest, AgreesWithQtViewOnLargePage) {
    QString html = QStringLiteral("<html><head><title>Big</title></head><body>");
    for (int copy = 0; copy < 3; ++copy) {
        for (const Page &page : AgreementPages) {
            if (page.hidesWhatFollows)
                continue;
            html += fromUtf8(page.html);
            html += QStringLiteral("</table></table></ul></ol></dl></pre>\n");
        }
    }
    const QString text = pagetext::ExtractPlainText(html);
    EXPECT_EQ(text, shownByQt(html));
    // The last page's heading shows in every copy: no page swallowed the ones after it.
    EXPECT_EQ(text.count(QStringLiteral("Six")), 3);
}

TEST(PageTextTest, SearchRelevantResults) {
    const struct {
        std::string_view html;
        std::string_view text; // after folding
    } cases[] = {
        {"a<b>b</b>c", "abc"},
        {"<p>a</p><p>b</p>", "a b"},
        {"<li>a<li>b", "a b"},
        {"<td>a<td>b", "a b"},
        {"a<br>b", "a b"},
        {"a&lt;&amp;&gt;b &quot;&apos; &eacute;&#233;&#xE9; &#150; x&nbsp;y",
         "a<&>b \"' ééé – x y"},
        {"<script>var secret = 1;</script>shown", "shown"},
        {"<style>.secret { }</style>shown", "shown"},
        {"<head><title>Secret</title></head><body>shown</body>", "shown"},
        {"a<!-- secret -->b", "ab"},
        {"one  \n\t two", "one two"},
        {"a<img src=x alt=secret>b", "a\xef\xbf\xbc"
                                     "b"},
        {"AT&T &unknown;", "AT&T &unknown;"},
        {"<div>a</div>b", "ab"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.html);
        EXPECT_EQ(fold(extract(c.html)), fromUtf8(c.text));
    }
}

TEST(PageTextTest, FoldsWhiteSpaceOutsidePreOnly) {
    EXPECT_EQ(extract("  a \n\n b\t\tc  "), QStringLiteral("a b c "));
    EXPECT_EQ(extract("<p>a</p>\n<p>b</p>"), QStringLiteral("a\nb"));
    EXPECT_EQ(extract("<pre>a  b\n\tc</pre>"), QStringLiteral("a  b\n\tc"));
}

// Every code unit that Qt treats as white space separates words; nothing else does.
TEST(PageTextTest, SeparatesWordsExactlyAtQtWhiteSpace) {
    for (char32_t u = 0; u <= 0xFFFF; ++u) {
        const QChar c{char16_t(u)};
        if (c == u'<' || c == u'&')
            continue;
        const QString text =
            pagetext::ExtractPlainText(QStringLiteral("a") + c + QStringLiteral("b"));
        // Qt turns its frame markers into line breaks. A separator must come out as a plain
        // space or line break, or the search's own folding would not see it.
        const bool separates = c.isSpace() || u == 0xFDD0 || u == 0xFDD1;
        if (separates)
            EXPECT_TRUE(text == QStringLiteral("a b") || text == QStringLiteral("a\nb"))
                << "U+" << std::hex << unsigned(u);
        else
            EXPECT_EQ(text, QStringLiteral("a") + c + QStringLiteral("b"))
                << "U+" << std::hex << unsigned(u);
    }
}

TEST(PageTextTest, SurvivesDeepNestingAndUnclosedMarkup) {
    const struct {
        QString html;
        QString text;
    } cases[] = {
        {QStringLiteral("<div><b>").repeated(100000) + QStringLiteral("deep"),
         QStringLiteral("deep")},
        {QStringLiteral("<table><tr><td>").repeated(20000) + QStringLiteral("cell"),
         QStringLiteral("cell")},
        {QStringLiteral("<x>").repeated(50000) + QStringLiteral("</y>").repeated(50000) +
             QStringLiteral("end"),
         QStringLiteral("end")},
        {QStringLiteral("text<!--") + QString(100000, u'-'), QStringLiteral("text")},
        {QStringLiteral("text<a title=\"") + QString(100000, u'>'), QStringLiteral("text")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(fold(pagetext::ExtractPlainText(c.html)), c.text);
}

TEST(PageTextTest, DecodeHtmlFollowsMetaCharset) {
    const struct {
        const char *name;
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"meta charset windows-1252",
         bytes("<meta charset=\"windows-1252\"><p>\x93"
               "caf\xe9\x94 \x80"),
         QStringLiteral("<meta charset=\"windows-1252\"><p>\u201Ccaf\u00E9\u201D \u20AC")},
        {"http-equiv iso-8859-1, read as browsers do",
         bytes("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=ISO-8859-1\">"
               "\xe9\x96"),
         QStringLiteral("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                        "charset=ISO-8859-1\">\u00E9\u2013")},
        {"meta utf-8", bytes("<meta charset=utf-8>caf\xc3\xa9"),
         QStringLiteral("<meta charset=utf-8>caf\u00E9")},
        {"meta utf-8 with bytes that are not", bytes("<meta charset=utf-8>caf\xe9"),
         QStringLiteral("<meta charset=utf-8>caf\uFFFD")},
        {"meta windows-1252 with valid UTF-8 bytes",
         bytes("<meta charset=windows-1252>caf\xc3\xa9"),
         QStringLiteral("<meta charset=windows-1252>caf\u00C3\u00A9")},
        {"no meta, valid UTF-8", bytes("<p>caf\xc3\xa9"), QStringLiteral("<p>caf\u00E9")},
        {"no meta, invalid UTF-8", bytes("<p>caf\xe9 \x93q\x94"),
         QStringLiteral("<p>caf\u00E9 \u201Cq\u201D")},
        {"meta in a comment", bytes("<!-- <meta charset=utf-8> --><p>caf\xe9"),
         QStringLiteral("<!-- <meta charset=utf-8> --><p>caf\u00E9")},
        {"unknown charset", bytes("<meta charset=x-no-such-charset><p>caf\xc3\xa9"),
         QStringLiteral("<meta charset=x-no-such-charset><p>caf\u00E9")},
        {"a charset that does not keep ASCII is ignored", bytes("<meta charset=utf7><p>a+AGE-"),
         QStringLiteral("<meta charset=utf7><p>a+AGE-")},
        {"so is EBCDIC", bytes("<meta charset=cp037><p>caf\xc3\xa9"),
         QStringLiteral("<meta charset=cp037><p>caf\u00E9")},
        {"byte-order mark outranks meta", bytes("\xef\xbb\xbf<meta charset=windows-1252>\xc3\xa9"),
         QStringLiteral("<meta charset=windows-1252>\u00E9")},
        {"cut at NUL", bytes("<meta charset=windows-1252>a\xe9\0hidden"sv),
         QStringLiteral("<meta charset=windows-1252>a\u00E9")},
    };
    // A reader decodes page after page into one buffer: what a longer page left there never
    // shows through.
    platform::PageBuffer<char16_t> reused;
    std::fill_n(reused.Resize(4096), 4096, u'x');
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(pagetext::DecodeHtml(c.bytes), c.text);
        pagetext::DecodeHtml(c.bytes, reused);
        EXPECT_EQ(QStringView(reused.Data(), reused.Size()), c.text);
    }
}

TEST(PageTextTest, DecodeHtmlLooksForMetaOnlyAtTheStart) {
    const QByteArray padding(3000, ' ');
    const QByteArray late = "<p>caf\xc3\xa9" + padding + "<meta charset=windows-1252>";
    EXPECT_EQ(pagetext::DecodeHtml(late), QString::fromUtf8(late));
    const QByteArray early = "<p>" + QByteArray(1500, ' ') + "<meta charset=windows-1252>\xc3\xa9";
    EXPECT_TRUE(pagetext::DecodeHtml(early).endsWith(QStringLiteral("\u00C3\u00A9")));
}

} // namespace

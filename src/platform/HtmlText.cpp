#include "platform/HtmlText.h"

#include "platform/FileSystem.h"

#include <QChar>
#include <QStringDecoder>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <vector>

namespace platform {

namespace {

// ----------------------------------------------------------------------------------------------
// Encoding of a page
// ----------------------------------------------------------------------------------------------

// A <meta> charset is looked for only this far into the page, as browsers do.
constexpr qsizetype CharsetScanLimit = 2048;

enum class Charset { Unnamed, Other, Utf8, Windows1252 };

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

bool isAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool matchesNoCase(QByteArrayView text, qsizetype at, const char *word) {
    const qsizetype length = qsizetype(std::strlen(word));
    if (at < 0 || at + length > text.size())
        return false;
    for (qsizetype i = 0; i < length; ++i) {
        if (lowerAscii(text[at + i]) != word[i])
            return false;
    }
    return true;
}

Charset charsetOfLabel(QByteArrayView label) {
    QByteArray lower(label.size(), Qt::Uninitialized);
    std::transform(label.begin(), label.end(), lower.begin(), lowerAscii);
    static const char *const utf8[] = {"utf-8", "utf8", "unicode-1-1-utf-8"};
    // Browsers read ISO-8859-1 as Windows-1252: 0x80..0x9F are C1 controls nobody means.
    static const char *const windows1252[] = {
        "windows-1252",    "cp1252",     "x-cp1252", "iso-8859-1",  "iso8859-1",
        "iso_8859-1",      "iso88591",   "latin1",   "latin-1",     "l1",
        "iso_8859-1:1987", "iso-ir-100", "cp819",    "csisolatin1", "ibm819"};
    for (const char *name : utf8) {
        if (lower == name)
            return Charset::Utf8;
    }
    for (const char *name : windows1252) {
        if (lower == name)
            return Charset::Windows1252;
    }
    return Charset::Other;
}

// The charset named by the first <meta> that names one: <meta charset="..."> or
// <meta http-equiv="Content-Type" content="text/html; charset=...">. Comments are skipped.
Charset metaCharset(QByteArrayView head) {
    const qsizetype size = head.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (head[i] != '<')
            continue;
        if (head.sliced(i).startsWith("<!--")) {
            const qsizetype end = head.indexOf("-->", i + 4);
            if (end < 0)
                return Charset::Unnamed;
            i = end + 2;
            continue;
        }
        if (!matchesNoCase(head, i + 1, "meta") || i + 5 >= size ||
            !(isAsciiSpace(head[i + 5]) || head[i + 5] == '/'))
            continue;
        qsizetype end = i + 5;
        for (char quote = 0; end < size; ++end) {
            const char c = head[end];
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            }
        }
        const QByteArrayView tag = head.sliced(i, end - i);
        for (qsizetype at = 0; at + 7 <= tag.size(); ++at) {
            if (!matchesNoCase(tag, at, "charset"))
                continue;
            qsizetype p = at + 7;
            while (p < tag.size() && isAsciiSpace(tag[p]))
                ++p;
            if (p >= tag.size() || tag[p] != '=')
                continue;
            ++p;
            while (p < tag.size() && (isAsciiSpace(tag[p]) || tag[p] == '"' || tag[p] == '\''))
                ++p;
            const qsizetype from = p;
            while (p < tag.size() &&
                   (std::isalnum(static_cast<unsigned char>(tag[p])) || tag[p] == '-' ||
                    tag[p] == '_' || tag[p] == '.' || tag[p] == ':'))
                ++p;
            if (p > from)
                return charsetOfLabel(tag.sliced(from, p - from));
        }
        i = end;
    }
    return Charset::Unnamed;
}

// ----------------------------------------------------------------------------------------------
// Plain text of a page
//
// The view is a QTextDocument filled by setHtml(). Its text is not simply "the HTML minus the
// tags": Qt's parser builds a tree with its own repair rules, and its importer decides block by
// block where a new paragraph starts. Words that Qt runs together ("<div>a</div>b" shows "ab")
// must run together here too, or a phrase search finds what the reader cannot see, or misses
// what the reader sees. So this file replays, in one forward pass and without building the tree,
// the parts of Qt's parser and importer that decide which characters are shown and where lines
// break: the stack of open elements, the display mode of each, the node-reuse rule for lone
// spaces, and the importer's hasBlock / blockTagClosed / white-space-compression state.
// ----------------------------------------------------------------------------------------------

// clang-format off
enum class Tag : quint8 {
    Unknown,
    A, Address, B, Big, Blockquote, Body, Br, Caption, Center, Cite, Code, Dd, Dfn, Div, Dl, Dt,
    Em, Font, H1, H2, H3, H4, H5, H6, Head, Hr, Html, I, Img, Kbd, Li, Link, Meta, Nobr, Ol, P,
    Pre, Qt, S, Samp, Script, Small, Span, Strong, Style, Sub, Sup, Table, Tbody, Td, Tfoot, Th,
    Thead, Title, Tr, Tt, U, Ul, Var,
    Count
};
// clang-format on

enum class Display : quint8 { Block, Inline, Table, None };

// White-space handling of an element, inherited by its content.
enum class Space : quint8 { Normal, Pre, PreWrap, NoWrap };

struct ElementInfo {
    const char *name;
    Tag tag;
    Display display;
};

// The elements Qt's rich text knows, sorted by name, with the display mode Qt gives each.
// Everything else (form, input, section, o:p, ...) is an unknown inline element.
constexpr ElementInfo Elements[] = {
    {"a", Tag::A, Display::Inline},
    {"address", Tag::Address, Display::Inline},
    {"b", Tag::B, Display::Inline},
    {"big", Tag::Big, Display::Inline},
    {"blockquote", Tag::Blockquote, Display::Block},
    {"body", Tag::Body, Display::Block},
    {"br", Tag::Br, Display::Inline},
    {"caption", Tag::Caption, Display::Block},
    {"center", Tag::Center, Display::Block},
    {"cite", Tag::Cite, Display::Inline},
    {"code", Tag::Code, Display::Inline},
    {"dd", Tag::Dd, Display::Block},
    {"dfn", Tag::Dfn, Display::Inline},
    {"div", Tag::Div, Display::Block},
    {"dl", Tag::Dl, Display::Block},
    {"dt", Tag::Dt, Display::Block},
    {"em", Tag::Em, Display::Inline},
    {"font", Tag::Font, Display::Inline},
    {"h1", Tag::H1, Display::Block},
    {"h2", Tag::H2, Display::Block},
    {"h3", Tag::H3, Display::Block},
    {"h4", Tag::H4, Display::Block},
    {"h5", Tag::H5, Display::Block},
    {"h6", Tag::H6, Display::Block},
    {"head", Tag::Head, Display::None},
    {"hr", Tag::Hr, Display::Block},
    {"html", Tag::Html, Display::Inline},
    {"i", Tag::I, Display::Inline},
    {"img", Tag::Img, Display::Inline},
    {"kbd", Tag::Kbd, Display::Inline},
    {"li", Tag::Li, Display::Block},
    {"link", Tag::Link, Display::None},
    {"meta", Tag::Meta, Display::None},
    {"nobr", Tag::Nobr, Display::Inline},
    {"ol", Tag::Ol, Display::Block},
    {"p", Tag::P, Display::Block},
    {"pre", Tag::Pre, Display::Block},
    {"qt", Tag::Qt, Display::Block},
    {"s", Tag::S, Display::Inline},
    {"samp", Tag::Samp, Display::Inline},
    {"script", Tag::Script, Display::None},
    {"small", Tag::Small, Display::Inline},
    {"span", Tag::Span, Display::Inline},
    {"strong", Tag::Strong, Display::Inline},
    {"style", Tag::Style, Display::None},
    {"sub", Tag::Sub, Display::Inline},
    {"sup", Tag::Sup, Display::Inline},
    {"table", Tag::Table, Display::Table},
    {"tbody", Tag::Tbody, Display::Table},
    {"td", Tag::Td, Display::Block},
    {"tfoot", Tag::Tfoot, Display::Table},
    {"th", Tag::Th, Display::Block},
    {"thead", Tag::Thead, Display::Table},
    {"title", Tag::Title, Display::None},
    {"tr", Tag::Tr, Display::Table},
    {"tt", Tag::Tt, Display::Inline},
    {"u", Tag::U, Display::Inline},
    {"ul", Tag::Ul, Display::Block},
    {"var", Tag::Var, Display::Inline},
};

struct Entity {
    const char name[9];
    char16_t code;
};

// HTML 4 entities plus the few Qt adds (AMP, GT, LT, QUOT, apos, percnt), sorted bytewise.
// Qt shows &and; and &or; as U+22A5 and U+22A6; the text follows what the view shows.
constexpr Entity Entities[] = {
    {"AElig", 0x00C6},   {"AMP", 0x0026},     {"Aacute", 0x00C1},  {"Acirc", 0x00C2},
    {"Agrave", 0x00C0},  {"Alpha", 0x0391},   {"Aring", 0x00C5},   {"Atilde", 0x00C3},
    {"Auml", 0x00C4},    {"Beta", 0x0392},    {"Ccedil", 0x00C7},  {"Chi", 0x03A7},
    {"Dagger", 0x2021},  {"Delta", 0x0394},   {"ETH", 0x00D0},     {"Eacute", 0x00C9},
    {"Ecirc", 0x00CA},   {"Egrave", 0x00C8},  {"Epsilon", 0x0395}, {"Eta", 0x0397},
    {"Euml", 0x00CB},    {"GT", 0x003E},      {"Gamma", 0x0393},   {"Iacute", 0x00CD},
    {"Icirc", 0x00CE},   {"Igrave", 0x00CC},  {"Iota", 0x0399},    {"Iuml", 0x00CF},
    {"Kappa", 0x039A},   {"LT", 0x003C},      {"Lambda", 0x039B},  {"Mu", 0x039C},
    {"Ntilde", 0x00D1},  {"Nu", 0x039D},      {"OElig", 0x0152},   {"Oacute", 0x00D3},
    {"Ocirc", 0x00D4},   {"Ograve", 0x00D2},  {"Omega", 0x03A9},   {"Omicron", 0x039F},
    {"Oslash", 0x00D8},  {"Otilde", 0x00D5},  {"Ouml", 0x00D6},    {"Phi", 0x03A6},
    {"Pi", 0x03A0},      {"Prime", 0x2033},   {"Psi", 0x03A8},     {"QUOT", 0x0022},
    {"Rho", 0x03A1},     {"Scaron", 0x0160},  {"Sigma", 0x03A3},   {"THORN", 0x00DE},
    {"Tau", 0x03A4},     {"Theta", 0x0398},   {"Uacute", 0x00DA},  {"Ucirc", 0x00DB},
    {"Ugrave", 0x00D9},  {"Upsilon", 0x03A5}, {"Uuml", 0x00DC},    {"Xi", 0x039E},
    {"Yacute", 0x00DD},  {"Yuml", 0x0178},    {"Zeta", 0x0396},    {"aacute", 0x00E1},
    {"acirc", 0x00E2},   {"acute", 0x00B4},   {"aelig", 0x00E6},   {"agrave", 0x00E0},
    {"alefsym", 0x2135}, {"alpha", 0x03B1},   {"amp", 0x0026},     {"and", 0x22A5},
    {"ang", 0x2220},     {"apos", 0x0027},    {"aring", 0x00E5},   {"asymp", 0x2248},
    {"atilde", 0x00E3},  {"auml", 0x00E4},    {"bdquo", 0x201E},   {"beta", 0x03B2},
    {"brvbar", 0x00A6},  {"bull", 0x2022},    {"cap", 0x2229},     {"ccedil", 0x00E7},
    {"cedil", 0x00B8},   {"cent", 0x00A2},    {"chi", 0x03C7},     {"circ", 0x02C6},
    {"clubs", 0x2663},   {"cong", 0x2245},    {"copy", 0x00A9},    {"crarr", 0x21B5},
    {"cup", 0x222A},     {"curren", 0x00A4},  {"dArr", 0x21D3},    {"dagger", 0x2020},
    {"darr", 0x2193},    {"deg", 0x00B0},     {"delta", 0x03B4},   {"diams", 0x2666},
    {"divide", 0x00F7},  {"eacute", 0x00E9},  {"ecirc", 0x00EA},   {"egrave", 0x00E8},
    {"empty", 0x2205},   {"emsp", 0x2003},    {"ensp", 0x2002},    {"epsilon", 0x03B5},
    {"equiv", 0x2261},   {"eta", 0x03B7},     {"eth", 0x00F0},     {"euml", 0x00EB},
    {"euro", 0x20AC},    {"exist", 0x2203},   {"fnof", 0x0192},    {"forall", 0x2200},
    {"frac12", 0x00BD},  {"frac14", 0x00BC},  {"frac34", 0x00BE},  {"frasl", 0x2044},
    {"gamma", 0x03B3},   {"ge", 0x2265},      {"gt", 0x003E},      {"hArr", 0x21D4},
    {"harr", 0x2194},    {"hearts", 0x2665},  {"hellip", 0x2026},  {"iacute", 0x00ED},
    {"icirc", 0x00EE},   {"iexcl", 0x00A1},   {"igrave", 0x00EC},  {"image", 0x2111},
    {"infin", 0x221E},   {"int", 0x222B},     {"iota", 0x03B9},    {"iquest", 0x00BF},
    {"isin", 0x2208},    {"iuml", 0x00EF},    {"kappa", 0x03BA},   {"lArr", 0x21D0},
    {"lambda", 0x03BB},  {"lang", 0x2329},    {"laquo", 0x00AB},   {"larr", 0x2190},
    {"lceil", 0x2308},   {"ldquo", 0x201C},   {"le", 0x2264},      {"lfloor", 0x230A},
    {"lowast", 0x2217},  {"loz", 0x25CA},     {"lrm", 0x200E},     {"lsaquo", 0x2039},
    {"lsquo", 0x2018},   {"lt", 0x003C},      {"macr", 0x00AF},    {"mdash", 0x2014},
    {"micro", 0x00B5},   {"middot", 0x00B7},  {"minus", 0x2212},   {"mu", 0x03BC},
    {"nabla", 0x2207},   {"nbsp", 0x00A0},    {"ndash", 0x2013},   {"ne", 0x2260},
    {"ni", 0x220B},      {"not", 0x00AC},     {"notin", 0x2209},   {"nsub", 0x2284},
    {"ntilde", 0x00F1},  {"nu", 0x03BD},      {"oacute", 0x00F3},  {"ocirc", 0x00F4},
    {"oelig", 0x0153},   {"ograve", 0x00F2},  {"oline", 0x203E},   {"omega", 0x03C9},
    {"omicron", 0x03BF}, {"oplus", 0x2295},   {"or", 0x22A6},      {"ordf", 0x00AA},
    {"ordm", 0x00BA},    {"oslash", 0x00F8},  {"otilde", 0x00F5},  {"otimes", 0x2297},
    {"ouml", 0x00F6},    {"para", 0x00B6},    {"part", 0x2202},    {"percnt", 0x0025},
    {"permil", 0x2030},  {"perp", 0x22A5},    {"phi", 0x03C6},     {"pi", 0x03C0},
    {"piv", 0x03D6},     {"plusmn", 0x00B1},  {"pound", 0x00A3},   {"prime", 0x2032},
    {"prod", 0x220F},    {"prop", 0x221D},    {"psi", 0x03C8},     {"quot", 0x0022},
    {"rArr", 0x21D2},    {"radic", 0x221A},   {"rang", 0x232A},    {"raquo", 0x00BB},
    {"rarr", 0x2192},    {"rceil", 0x2309},   {"rdquo", 0x201D},   {"real", 0x211C},
    {"reg", 0x00AE},     {"rfloor", 0x230B},  {"rho", 0x03C1},     {"rlm", 0x200F},
    {"rsaquo", 0x203A},  {"rsquo", 0x2019},   {"sbquo", 0x201A},   {"scaron", 0x0161},
    {"sdot", 0x22C5},    {"sect", 0x00A7},    {"shy", 0x00AD},     {"sigma", 0x03C3},
    {"sigmaf", 0x03C2},  {"sim", 0x223C},     {"spades", 0x2660},  {"sub", 0x2282},
    {"sube", 0x2286},    {"sum", 0x2211},     {"sup", 0x2283},     {"sup1", 0x00B9},
    {"sup2", 0x00B2},    {"sup3", 0x00B3},    {"supe", 0x2287},    {"szlig", 0x00DF},
    {"tau", 0x03C4},     {"there4", 0x2234},  {"theta", 0x03B8},   {"thetasym", 0x03D1},
    {"thinsp", 0x2009},  {"thorn", 0x00FE},   {"tilde", 0x02DC},   {"times", 0x00D7},
    {"trade", 0x2122},   {"uArr", 0x21D1},    {"uacute", 0x00FA},  {"uarr", 0x2191},
    {"ucirc", 0x00FB},   {"ugrave", 0x00F9},  {"uml", 0x00A8},     {"upsih", 0x03D2},
    {"upsilon", 0x03C5}, {"uuml", 0x00FC},    {"weierp", 0x2118},  {"xi", 0x03BE},
    {"yacute", 0x00FD},  {"yen", 0x00A5},     {"yuml", 0x00FF},    {"zeta", 0x03B6},
    {"zwj", 0x200D},     {"zwnj", 0x200C},
};

// Numeric references 128..159 name Windows-1252 characters, as in every browser.
constexpr char16_t Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char16_t Nbsp = 0x00A0;
constexpr char16_t LineSeparator = 0x2028;
constexpr char16_t ParagraphSeparator = 0x2029;
constexpr char16_t ObjectReplacement = 0xFFFC;
// Qt's frame markers; its plain text shows them as line breaks.
constexpr char16_t BeginningOfFrame = 0xFDD0;
constexpr char16_t EndOfFrame = 0xFDD1;

enum AsciiClass : quint8 {
    Blank = 1,    // QChar::isSpace
    Ordinary = 2, // text that needs no thought: not markup, not blank
    WordEnd = 4,  // ends an unquoted word in a tag
    Slash = 8,    // ends an unquoted word when '>' follows
};

constexpr std::array<quint8, 128> AsciiClasses = [] {
    std::array<quint8, 128> classes{};
    for (int c = 0; c < 128; ++c) {
        const bool blank = c == ' ' || (c >= 0x09 && c <= 0x0D);
        classes[c] = blank ? Blank | WordEnd : (c == '<' || c == '&') ? 0 : Ordinary;
    }
    classes['<'] |= WordEnd;
    classes['>'] |= WordEnd;
    classes['='] |= WordEnd;
    classes['/'] |= Slash;
    return classes;
}();

// QChar::isSpace, without a call for the common characters: the Unicode separators (Zs, Zl, Zp)
// plus U+0085, none of which has changed in years.
Q_ALWAYS_INLINE bool isSpace(char16_t c) {
    if (c < 0x80)
        return AsciiClasses[c] & Blank;
    if (c < 0x1680)
        return c == 0x85 || c == Nbsp;
    return c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == LineSeparator ||
           c == ParagraphSeparator || c == 0x202F || c == 0x205F || c == 0x3000;
}

// Characters that need no thought inside text: not markup, not white space, not a frame marker.
Q_ALWAYS_INLINE bool isOrdinary(char16_t c) {
    if (c < 0x80)
        return AsciiClasses[c] & Ordinary;
    return c != BeginningOfFrame && c != EndOfFrame && !isSpace(c);
}

char16_t lowerChar(char16_t c) {
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? char16_t(c + ('a' - 'A')) : c;
    return QChar::toLower(c);
}

// Element and entity names are short runs of letters and digits: packed six bits a character
// into an integer, they are looked up in a small hash table of integers, not compared as strings.
constexpr int PackedLength = 10;

constexpr int packCode(int c, bool foldCase) {
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 1;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + (foldCase ? 1 : 27);
    if (c >= '0' && c <= '9')
        return c - '0' + 53;
    return 0;
}

constexpr auto makePackCodes(bool foldCase) {
    std::array<quint8, 128> codes{};
    for (int c = 0; c < 128; ++c)
        codes[c] = quint8(packCode(c, foldCase));
    return codes;
}

constexpr std::array<quint8, 128> PackCodes[2] = {makePackCodes(false), makePackCodes(true)};

// 0 when the name cannot be one of ours (too long, or a character no name has).
template <typename Char>
constexpr quint64 packName(const Char *name, qsizetype length, bool foldCase) {
    if (length <= 0 || length > PackedLength)
        return 0;
    quint64 key = 0;
    for (qsizetype i = 0; i < length; ++i) {
        const auto c = char16_t(name[i]);
        const int code = c < 0x80 ? PackCodes[foldCase][c] : 0;
        if (code == 0)
            return 0;
        key = (key << 6) | quint64(code);
    }
    return key;
}

constexpr qsizetype constLength(const char *name) {
    qsizetype length = 0;
    while (name[length])
        ++length;
    return length;
}

// An open-addressing hash table of packed names, filled at compile time. Indexes holds positions
// into the named table plus one; zero is a free slot.
template <int Bits> struct NameTable {
    std::array<quint64, 1 << Bits> keys{};
    std::array<quint16, 1 << Bits> indexes{};

    static constexpr std::size_t home(quint64 key) {
        return std::size_t((key * 0x9E3779B97F4A7C15ULL) >> (64 - Bits));
    }

    int find(quint64 key) const {
        if (key == 0)
            return -1;
        for (std::size_t i = home(key);; i = (i + 1) & ((1 << Bits) - 1)) {
            if (indexes[i] == 0)
                return -1;
            if (keys[i] == key)
                return indexes[i] - 1;
        }
    }
};

template <int Bits, typename Table, std::size_t Size>
constexpr NameTable<Bits> makeNameTable(const Table (&table)[Size], bool foldCase) {
    static_assert(Size * 2 <= (1 << Bits));
    NameTable<Bits> result;
    for (std::size_t n = 0; n < Size; ++n) {
        const quint64 key = packName(table[n].name, constLength(table[n].name), foldCase);
        std::size_t i = NameTable<Bits>::home(key);
        while (result.indexes[i] != 0)
            i = (i + 1) & ((1 << Bits) - 1);
        result.keys[i] = key;
        result.indexes[i] = quint16(n + 1);
    }
    return result;
}

constexpr auto EntityNames = makeNameTable<10>(Entities, false);

const Entity *findEntity(QStringView name) {
    const int index = EntityNames.find(packName(name.utf16(), name.size(), false));
    return index < 0 ? nullptr : &Entities[index];
}

// Qt's decoding of "&...;" bodies: a named entity, else a decimal or hexadecimal character
// reference as QStringView::toUInt reads it ("+" and a "0x" prefix included). Returns the number
// of UTF-16 units written to out (0 when the text is not an entity).
int decodeEntity(QStringView body, char16_t out[2]) {
    if (const Entity *entity = findEntity(body)) {
        out[0] = entity->code;
        return 1;
    }
    if (body.size() < 2 || body[0] != u'#')
        return 0;
    QStringView digits = body.sliced(1);
    int base = 10;
    if (lowerChar(digits[0].unicode()) == u'x') {
        digits = digits.sliced(1);
        base = 16;
    }
    bool ok = false;
    uint code = digits.toUInt(&ok, base);
    if (!ok)
        return 0;
    if (code >= 0x80 && code < 0xA0)
        code = Windows1252High[code - 0x80];
    // QChar::fromUcs4 is what Qt uses, out-of-range values included.
    const auto units = QChar::fromUcs4(char32_t(code));
    out[0] = units.chars[0];
    out[1] = units.chars[1];
    return int(units.size());
}

class PlainTextExtractor {
public:
    explicit PlainTextExtractor(QStringView html) : s(html.utf16()), n(html.size()) {
        out = QString(n + 16, Qt::Uninitialized);
        o = out.data();
        capacity = out.size();
        Open root;
        stack.append(root);
    }

    QString run();

private:
    // One open element: a node of Qt's tree that later content can still go into.
    struct Open {
        Tag tag = Tag::Unknown;
        Display display = Display::Inline;
        Space space = Space::Normal;
        bool hasChildren = false; // an element (not text) was put inside it
        int chainMax = -1;        // depth of the deepest non-inline element from the root to here
        int nearestBlock = -1;    // depth of the deepest block element from the root to here
        quint64 nameHash = 0;     // unknown elements: to match their end tags
        quint32 serial = 0;       // tells a still-open element from a later one at its depth
        qsizetype nameFrom = 0;
        qsizetype nameLength = 0;
    };

    // The node the next characters of text go into: an element just opened (or the root), or a
    // text node made after an end tag or an empty element. Qt drops a text node again when the
    // next node comes and the text node holds nothing, or one blank after a block or an
    // invisible element; so a text node starts counting only once that is ruled out.
    struct Receiver {
        bool isText = false;
        bool started = true;
        bool isChild = false; // the node is a child of the node before it (no tag was closed)
        bool hidden = false;
        bool drop = false;        // its text is not shown
        bool blockIfText = false; // a paragraph starts at its first visible character
        bool listPending = false; // <ul>/<ol> text starts the list's paragraph if not blank
        Space space = Space::Normal;
        quint8 length = 0; // text nodes not yet started: characters seen (one blank is held)
        char16_t held = 0;
        int parentDepth = 0;
        int previousChainMax = -1;
        Tag afterVoid = Tag::Unknown; // made right after this empty element (<br>, <img>, ...)
        bool savedLastIsTop = false;
        int savedLastChainMax = -1;
    };

    struct Word {
        qsizetype from = 0;
        qsizetype length = 0;
    };

    enum class Mode : quint8 { Plain, Skip, Slow };
    enum class Compress : quint8 { Preserve, Collapse, Remove };
    enum class Separator : quint8 { None, Space, Line };

    // Input.
    const char16_t *s;
    qsizetype n;
    qsizetype pos = 0;

    // Output.
    QString out;
    QChar *o = nullptr;
    qsizetype length = 0;
    qsizetype capacity = 0;
    Separator pending = Separator::None;

    // Parser.
    QVarLengthArray<Open, 64> stack;
    int openCount[int(Tag::Count)] = {};
    std::vector<std::pair<quint64, int>> unknownCounts; // open addressing, key 0 = free
    int unknownUsed = 0;
    Receiver recv;
    Mode mode = Mode::Plain;
    bool lastIsTop = true; // the last node made is the innermost open element (or the root)
    int lastChainMax = -1;
    // Qt reused a hidden text node for the next node, which keeps it hidden unless it is a known
    // element (Qt sets those afresh).
    bool reusedHidden = false;
    quint32 serials = 0;
    // The last empty element's parent. Qt matches an end tag against the node made just before
    // the last one when that is an empty element, and resumes in that element's parent.
    int voidParentDepth = 0;
    quint32 voidParentSerial = 0;
    // The element just opened took the place of the text node after this empty element.
    Tag elementAfterVoid = Tag::Unknown;

    // Importer.
    bool hasBlock = true;
    bool blockTagClosed = false;
    int pendingBlockTagClosed = -1; // result of the element ends since the last node started
    Compress compress = Compress::Remove;
    int lists = 0;
    // Open tables, and how many table frames the cursor is inside. Text goes where Qt's cursor
    // is; leaving a frame separates it from what came before.
    struct TableState {
        int level = 0;       // frames around the cursor while it is in one of the table's cells
        bool inCell = false; // one of its cells is open
    };
    QVarLengthArray<TableState, 8> tables;
    int cursorFrames = 0;
    bool documentEmpty = true;
    bool lastIsLineSeparator = false;
    // The text of the node receiving characters ends with a shown '\n', and the state before it.
    bool endsWithNewline = false;
    struct BeforeNewline {
        Separator pending;
        Compress compress;
        bool hasBlock;
        bool documentEmpty;
        bool lastIsLineSeparator;
    } beforeNewline{};

    void restoreBeforeNewline() {
        pending = beforeNewline.pending;
        compress = beforeNewline.compress;
        hasBlock = beforeNewline.hasBlock;
        documentEmpty = beforeNewline.documentEmpty;
        lastIsLineSeparator = beforeNewline.lastIsLineSeparator;
        endsWithNewline = false;
    }

    int top() const { return int(stack.size()) - 1; }

    // --- output -------------------------------------------------------------------------------

    Q_ALWAYS_INLINE void reserve(qsizetype extra) {
        if (length + extra > capacity)
            grow(extra);
    }

    Q_NEVER_INLINE void grow(qsizetype extra) {
        out.resize(length);
        out.reserve(std::max(capacity * 2, length + extra));
        out.resize(out.capacity());
        o = out.data();
        capacity = out.size();
    }

    void flushSeparator() {
        if (pending != Separator::None && length > 0)
            o[length++] = QChar(pending == Separator::Line ? u'\n' : u' ');
        pending = Separator::None;
    }

    void emitChar(char16_t c) {
        reserve(2);
        flushSeparator();
        o[length++] = QChar(c);
    }

    void emitRun(qsizetype from, qsizetype to) {
        reserve(to - from + 1);
        flushSeparator();
        std::memcpy(static_cast<void *>(o + length), s + from, size_t(to - from) * sizeof(QChar));
        length += to - from;
        endsWithNewline = false;
        compress = Compress::Preserve;
        hasBlock = false;
        documentEmpty = false;
        lastIsLineSeparator = false;
    }

    void lineBreak() { pending = Separator::Line; }
    void spaceBreak() {
        if (pending == Separator::None)
            pending = Separator::Space;
    }

    // --- importer -----------------------------------------------------------------------------

    static bool preserves(Space space) { return space == Space::Pre || space == Space::PreWrap; }

    bool takePendingBlockTagClosed() {
        const bool closed = pendingBlockTagClosed == 1;
        pendingBlockTagClosed = -1;
        return closed;
    }

    void appendBlock(Space space) {
        lineBreak();
        documentEmpty = false;
        lastIsLineSeparator = false;
        if (!preserves(space))
            compress = Compress::Remove;
    }

    void processBlock(Tag tag, Space space) {
        if ((tag == Tag::Td || tag == Tag::Th) && !tables.isEmpty()) {
            // The cursor moves into the next cell of the table.
            tables.last().inCell = true;
            cursorFrames = tables.last().level;
            lineBreak();
            documentEmpty = false;
            lastIsLineSeparator = false;
            hasBlock = true;
            compress = Compress::Remove;
        }
        if (!hasBlock)
            appendBlock(space);
        hasBlock = true;
        blockTagClosed = false;
    }

    // The importer passes the end of an element.
    void closeElement(const Open &e) {
        switch (e.tag) {
        case Tag::Tr:
            pendingBlockTagClosed = 1;
            break;
        case Tag::Table:
            if (tables.isEmpty())
                break;
            tables.removeLast();
            pendingBlockTagClosed = 0;
            compress = Compress::Remove;
            // Qt puts the cursor below the outermost table, or at the end of the enclosing open
            // cell; otherwise (a table closed outside any cell of its enclosing table) it stays
            // in the last cell, and the text that follows runs on there.
            if (tables.isEmpty())
                leaveFrames(0);
            else if (tables.last().inCell)
                leaveFrames(tables.last().level);
            break;
        case Tag::Td:
        case Tag::Th:
            if (!tables.isEmpty())
                tables.last().inCell = false;
            pendingBlockTagClosed = 1;
            compress = Compress::Remove;
            break;
        case Tag::Ol:
        case Tag::Ul:
            if (lists > 0) {
                --lists;
                pendingBlockTagClosed = 1;
            }
            break;
        case Tag::Br:
            compress = Compress::Remove;
            break;
        case Tag::Div:
            // A <div> ends its paragraph only when it held elements, not bare text.
            if (!documentEmpty && e.hasChildren && !lastIsLineSeparator)
                pendingBlockTagClosed = 1;
            break;
        case Tag::H1:
        case Tag::H2:
        case Tag::H3:
        case Tag::H4:
        case Tag::H5:
        case Tag::H6:
            pendingBlockTagClosed = 1;
            break;
        default:
            if (e.display == Display::Block)
                pendingBlockTagClosed = 1;
            break;
        }
    }

    void leaveFrames(int level) {
        if (cursorFrames > level) {
            lineBreak();
            documentEmpty = false;
            lastIsLineSeparator = false;
        }
        cursorFrames = level;
    }

    Q_ALWAYS_INLINE void startElement(const Open &e, bool isChild);
    void startTextNode();
    void updateMode();
    Q_ALWAYS_INLINE qsizetype plainRun(qsizetype from);
    void text(char16_t c);
    void feed(char16_t c);

    // --- parser -------------------------------------------------------------------------------

    void eatSpace() {
        qsizetype end = pos;
        while (end < n && isSpace(s[end]) && s[end] != ParagraphSeparator)
            ++end;
        pos = end;
    }

    Word scanWord();
    Q_ALWAYS_INLINE Word scanName(quint64 &key);
    void scanAttributes();
    void parseTag();
    void parseCloseTag();
    void parseEntity();
    void openElement(Tag tag, Display display, Word name, bool closed, Tag afterVoid);
    void pushImplicit(Tag tag, bool popped);
    Q_ALWAYS_INLINE void push(const Open &e, bool popped, bool childOfParent);
    Q_ALWAYS_INLINE void popTo(int depth);
    int findOpen(Tag tag, Word name) const;
    Q_ALWAYS_INLINE bool resolvePendingText();
    Q_ALWAYS_INLINE void newTextNode(bool popped, Tag afterVoid);
    quint64 hashName(Word name) const;
    bool sameName(const Open &e, Word name) const;
    int &unknownCount(quint64 hash);
    int unknownCountOf(quint64 hash) const;
};

constexpr auto ElementNames = makeNameTable<8>(Elements, true);

bool isVoid(Tag tag) {
    return tag == Tag::Img || tag == Tag::Hr || tag == Tag::Br || tag == Tag::Meta;
}

// Where Qt lets an element go; elsewhere it climbs to an ancestor that fits.
bool allowedIn(Tag tag, Tag parent) {
    switch (tag) {
    case Tag::Dd:
    case Tag::Dt:
        return parent == Tag::Dl;
    case Tag::Tr:
        return parent == Tag::Table || parent == Tag::Thead || parent == Tag::Tbody ||
               parent == Tag::Tfoot;
    case Tag::Td:
    case Tag::Th:
        return parent == Tag::Tr;
    case Tag::Thead:
    case Tag::Tbody:
    case Tag::Tfoot:
    case Tag::Caption:
        return parent == Tag::Table;
    case Tag::Body:
    case Tag::Qt:
        return parent != Tag::Head;
    default:
        return true;
    }
}

QString PlainTextExtractor::run() {
    while (pos < n) {
        const char16_t c = s[pos];
        if (c == u'<') {
            ++pos;
            parseTag();
            continue;
        }
        if (c == u'&') {
            ++pos;
            parseEntity();
            continue;
        }
        if (mode == Mode::Plain) {
            if (!preserves(recv.space)) {
                const qsizetype end = plainRun(pos);
                if (end > pos) {
                    pos = end;
                    continue;
                }
            } else if (isOrdinary(c)) {
                qsizetype end = pos + 1;
                while (end < n && isOrdinary(s[end]))
                    ++end;
                emitRun(pos, end);
                pos = end;
                continue;
            }
        }
        if (!recv.started) {
            // A new text node. Its first blank is held until it is known whether Qt keeps it.
            if (recv.length == 0 && isSpace(c)) {
                recv.length = 1;
                recv.held = c;
                ++pos;
                continue;
            }
            startTextNode();
            if (recv.length == 1)
                feed(recv.held);
            recv.length = 2;
            continue; // c again, the node now shown, hidden or plain
        }
        if (mode == Mode::Skip) {
            // Hidden text: only the next tag matters (no entity can hide a '<').
            const qsizetype next = QStringView(s + pos, n - pos).indexOf(u'<');
            pos = next < 0 ? n : pos + next;
            continue;
        }
        ++pos;
        text(c);
    }
    if (recv.isText && !recv.started && recv.length == 1) {
        startTextNode();
        feed(recv.held);
    }
    out.resize(length);
    return out;
}

// The bulk of a page: words and the blanks between them, in a shown node with white space
// folded. Stops at markup and at anything unusual; returns where it stopped.
qsizetype PlainTextExtractor::plainRun(qsizetype i) {
    // Output never outgrows the input read so far by more than a separator.
    reserve(n - i + 2);
    QChar *const to = o;
    qsizetype size = length;
    Separator separator = pending;
    Compress state = compress;
    bool inserted = false;
    while (i < n) {
        char16_t c = s[i];
        if (c < 0x80 && (AsciiClasses[c] & Blank)) {
            // The first blank stands as one space, the ones after it are removed.
            if (state != Compress::Remove) {
                state = Compress::Remove;
                if (separator == Separator::None)
                    separator = Separator::Space;
                inserted = true;
            }
            ++i;
            continue;
        }
        if (!isOrdinary(c))
            break;
        if (separator != Separator::None) {
            if (size > 0)
                to[size++] = QChar(separator == Separator::Line ? u'\n' : u' ');
            separator = Separator::None;
        }
        state = Compress::Preserve;
        inserted = true;
        // A word: copied up to the next character that needs a look.
        while (c < 0x80 ? (AsciiClasses[c] & Ordinary) != 0 : isOrdinary(c)) {
            to[size++] = QChar(c);
            if (++i == n)
                break;
            c = s[i];
        }
    }
    length = size;
    pending = separator;
    compress = state;
    if (inserted) {
        endsWithNewline = false;
        hasBlock = false;
        documentEmpty = false;
        lastIsLineSeparator = false;
    }
    return i;
}

void PlainTextExtractor::updateMode() {
    if (!recv.started || recv.blockIfText || recv.listPending)
        mode = Mode::Slow;
    else if (recv.drop)
        mode = Mode::Skip;
    else
        mode = Mode::Plain;
}

void PlainTextExtractor::startElement(const Open &e, bool isChild) {
    endsWithNewline = false;
    if (isChild) {
        pendingBlockTagClosed = -1;
    } else {
        blockTagClosed = takePendingBlockTagClosed();
        if (blockTagClosed && e.display != Display::Block && e.tag != Tag::Unknown)
            hasBlock = false;
    }
    recv = Receiver();
    recv.space = e.space;
    if (e.display == Display::None) {
        recv.drop = true;
        updateMode();
        return;
    }
    switch (e.tag) {
    case Tag::Body:
    case Tag::Qt:
        compress = Compress::Remove;
        break;
    case Tag::Ol:
    case Tag::Ul:
        ++lists;
        compress = Compress::Remove;
        recv.listPending = true;
        updateMode();
        return;
    case Tag::Table:
        // The table's frame goes where the cursor is.
        tables.append(TableState{cursorFrames + 1, false});
        hasBlock = false;
        compress = Compress::Remove;
        recv.drop = true;
        updateMode();
        return;
    case Tag::Tr:
        recv.drop = true;
        updateMode();
        return;
    case Tag::Img:
        emitChar(ObjectReplacement);
        compress = Compress::Collapse;
        hasBlock = false;
        documentEmpty = false;
        lastIsLineSeparator = false;
        recv.drop = true;
        updateMode();
        return;
    case Tag::Hr:
        if (!hasBlock)
            appendBlock(e.space);
        hasBlock = false;
        compress = Compress::Remove;
        recv.drop = true;
        updateMode();
        return;
    default:
        break;
    }
    if (blockTagClosed && !hasBlock && e.display == Display::Inline)
        recv.blockIfText = true;
    if (e.display == Display::Block)
        processBlock(e.tag, e.space);
    if (preserves(e.space))
        compress = Compress::Preserve;
    updateMode();
}

void PlainTextExtractor::startTextNode() {
    recv.started = true;
    if (recv.isChild)
        pendingBlockTagClosed = -1;
    else
        blockTagClosed = takePendingBlockTagClosed();
    if (recv.hidden) {
        recv.drop = true;
        updateMode();
        return;
    }
    recv.blockIfText = blockTagClosed && !hasBlock;
    if (preserves(recv.space))
        compress = Compress::Preserve;
    updateMode();
}

void PlainTextExtractor::text(char16_t c) {
    if (!recv.started) {
        if (recv.length == 0 && isSpace(c)) {
            recv.length = 1;
            recv.held = c;
            return;
        }
        startTextNode();
        if (recv.length == 1)
            feed(recv.held);
        recv.length = 2;
    }
    feed(c);
}

// One character of a shown node, through Qt's white-space compression.
void PlainTextExtractor::feed(char16_t c) {
    endsWithNewline = false;
    if (recv.drop)
        return;
    if (c == u'\n')
        beforeNewline = {pending, compress, hasBlock, documentEmpty, lastIsLineSeparator};
    const bool blank = isSpace(c);
    if (recv.listPending) {
        if (blank)
            return;
        recv.listPending = false;
        processBlock(Tag::Ul, recv.space);
        if (preserves(recv.space))
            compress = Compress::Preserve;
        updateMode();
    }
    if (recv.blockIfText && (!blank || c == LineSeparator)) {
        recv.blockIfText = false;
        appendBlock(recv.space);
        hasBlock = true;
        updateMode();
    }
    if (blank && c != Nbsp && c != ParagraphSeparator) {
        if (compress == Compress::Collapse)
            compress = Compress::Remove;
        else if (compress == Compress::Remove)
            return;
        if (recv.space == Space::Pre) {
            if (c == u'\r')
                return;
        } else if (recv.space != Space::PreWrap) {
            compress = Compress::Remove;
            c = u' ';
        }
    } else {
        compress = Compress::Preserve;
    }
    hasBlock = false;
    documentEmpty = false;
    if (c == u'\n' || c == ParagraphSeparator) {
        endsWithNewline = c == u'\n' && preserves(recv.space);
        lastIsLineSeparator = false;
        lineBreak();
        if (!preserves(recv.space))
            compress = Compress::Remove;
        return;
    }
    lastIsLineSeparator = c == LineSeparator;
    if (c == LineSeparator || c == u'\r' || c == BeginningOfFrame || c == EndOfFrame) {
        lineBreak();
    } else if (!blank) {
        emitChar(c);
    } else if (preserves(recv.space)) {
        emitChar(c == Nbsp ? u' ' : c);
    } else {
        spaceBreak();
    }
}

PlainTextExtractor::Word PlainTextExtractor::scanWord() {
    Word word;
    if (pos < n && (s[pos] == u'"' || s[pos] == u'\'')) {
        const char16_t quote = s[pos];
        word.from = ++pos;
        qsizetype at = pos;
        for (;;) {
            while (at < n && s[at] != quote)
                ++at;
            // Qt lets a backslash escape a single quote.
            if (at < n && quote == u'\'' && s[at - 1] == u'\\') {
                ++at;
                continue;
            }
            break;
        }
        word.length = at - word.from;
        pos = at < n ? at + 1 : n;
        return word;
    }
    qsizetype end = pos;
    for (; end < n; ++end) {
        const char16_t c = s[end];
        if (c < 0x80) {
            const quint8 kind = AsciiClasses[c];
            if ((kind & (WordEnd | Slash)) &&
                ((kind & WordEnd) || (end + 1 < n && s[end + 1] == u'>')))
                break;
        } else if (isSpace(c)) {
            break;
        }
    }
    word.from = pos;
    word.length = end - pos;
    pos = end;
    return word;
}

// A tag's name, as scanWord reads it, with its packed key (0 when no element has that name).
PlainTextExtractor::Word PlainTextExtractor::scanName(quint64 &key) {
    if (pos < n && (s[pos] == u'"' || s[pos] == u'\'')) {
        const Word word = scanWord();
        key = packName(s + word.from, word.length, true);
        return word;
    }
    quint64 packed = 0;
    bool packable = true;
    qsizetype end = pos;
    for (; end < n; ++end) {
        const char16_t c = s[end];
        if (c < 0x80) {
            const quint8 kind = AsciiClasses[c];
            if ((kind & (WordEnd | Slash)) &&
                ((kind & WordEnd) || (end + 1 < n && s[end + 1] == u'>')))
                break;
            const quint8 code = PackCodes[true][c];
            packed = (packed << 6) | code;
            packable = packable && code != 0;
        } else if (isSpace(c)) {
            break;
        } else {
            packable = false;
        }
    }
    const Word word{pos, end - pos};
    key = packable && word.length > 0 && word.length <= PackedLength ? packed : 0;
    pos = end;
    return word;
}

void PlainTextExtractor::scanAttributes() {
    while (pos < n) {
        eatSpace();
        if (pos < n && (s[pos] == u'>' || s[pos] == u'/'))
            break;
        if (scanWord().length == 0)
            break;
        eatSpace();
        if (pos < n && s[pos] == u'=') {
            ++pos;
            eatSpace();
            scanWord();
        }
    }
}

// After '<'.
void PlainTextExtractor::parseTag() {
    eatSpace();
    if (pos < n && s[pos] == u'!') {
        ++pos;
        if (pos + 1 < n && s[pos] == u'-' && s[pos + 1] == u'-') {
            const qsizetype end = QStringView(s, n).indexOf(u"-->", pos + 2);
            pos = end < 0 ? n : end + 3;
        } else {
            while (pos < n && s[pos++] != u'>') {
            }
        }
        // Qt swallows the blanks after a comment or declaration, even between two words.
        if (!preserves(recv.space))
            eatSpace();
        return;
    }
    if (pos < n && s[pos] == u'/') {
        parseCloseTag();
        return;
    }
    const Tag afterVoid = resolvePendingText() ? recv.afterVoid : Tag::Unknown;
    quint64 key = 0;
    const Word name = scanName(key);
    if (pos < n && isSpace(s[pos]))
        scanAttributes();
    bool closed = false;
    while (pos < n && s[pos] != u'>') {
        if (s[pos] == u'/')
            closed = true;
        ++pos;
    }
    if (pos < n)
        ++pos;
    if (name.length == 0) {
        // "<>", "<=" and the like: a nameless element, to Qt the same as a new text node.
        stack[top()].hasChildren = true;
        newTextNode(false, Tag::Unknown);
        return;
    }
    const int element = ElementNames.find(key);
    openElement(element < 0 ? Tag::Unknown : Elements[element].tag,
                element < 0 ? Display::Inline : Elements[element].display, name, closed, afterVoid);
}

// After '<', at '/'.
void PlainTextExtractor::parseCloseTag() {
    ++pos;
    quint64 key = 0;
    Word name = scanName(key);
    while (pos < n) {
        if (s[pos++] == u'>')
            break;
    }
    const Word scanned = name;
    while (name.length > 0 && isSpace(s[name.from])) {
        ++name.from;
        --name.length;
    }
    while (name.length > 0 && isSpace(s[name.from + name.length - 1]))
        --name.length;
    if (name.length != scanned.length)
        key = packName(s + name.from, name.length, true);
    if (name.length == 0) {
        // Only a nameless node matches; a text node is one.
        if (!recv.isText)
            return;
        const Tag afterVoid = resolvePendingText() ? recv.afterVoid : Tag::Unknown;
        newTextNode(false, afterVoid);
        return;
    }
    const int element = ElementNames.find(key);
    const Tag tag = element < 0 ? Tag::Unknown : Elements[element].tag;
    if (recv.isText && tag != Tag::Unknown && tag == recv.afterVoid) {
        // "<br></br>": the end tag closes the <br> again, which only starts a new text node.
        const Tag afterVoid = resolvePendingText() ? recv.afterVoid : Tag::Unknown;
        newTextNode(false, afterVoid);
        return;
    }
    if (tag != Tag::Unknown && tag == elementAfterVoid) {
        // "<meta><p>a</meta>b": the <p> took the place of the text node after the <meta>, so
        // the end tag closes everything up to the <meta>'s parent.
        if (voidParentDepth <= top() && stack[voidParentDepth].serial == voidParentSerial) {
            popTo(voidParentDepth);
            newTextNode(true, Tag::Unknown);
        }
        return;
    }
    const int match = findOpen(tag, name);
    if (match < 0)
        return; // Qt ignores end tags with nothing to end
    if (stack[match].display == Display::Block && preserves(stack[match].space)) {
        // Qt drops the line break just before </pre>: the block's end breaks the line anyway,
        // and when nothing follows that needs a new block the text runs on.
        if (recv.isText && !recv.started && recv.length == 1 && recv.held == u'\n')
            recv.length = 0;
        else if (endsWithNewline)
            restoreBeforeNewline();
    }
    resolvePendingText();
    popTo(match - 1);
    newTextNode(true, Tag::Unknown);
}

// After '&'.
void PlainTextExtractor::parseEntity() {
    const qsizetype start = pos;
    qsizetype q = start;
    qsizetype bodyLength = 0;
    bool error = false;
    while (q < n) {
        const char16_t c = s[q++];
        if (isSpace(c) || q - start > 9) {
            error = true;
            break;
        }
        if (c == u';')
            break;
        ++bodyLength;
    }
    if (!error && bodyLength > 0) {
        char16_t units[2];
        const int count = decodeEntity(QStringView(s + start, bodyLength), units);
        if (count > 0) {
            pos = q;
            for (int i = 0; i < count; ++i)
                text(units[i]);
            return;
        }
    }
    text(u'&');
}

void PlainTextExtractor::openElement(Tag tag, Display display, Word name, bool closed,
                                     Tag afterVoid) {
    bool implicit = false;
    // Qt repairs a stray <td> or <tr> by putting it into a table of its own (a stray <th> just
    // climbs to the root).
    if (tag == Tag::Td) {
        if (openCount[int(Tag::Tr)] == 0) {
            implicit = true;
            pushImplicit(Tag::Table, false);
            pushImplicit(Tag::Tr, false);
        }
    } else if (tag == Tag::Tr && openCount[int(Tag::Table)] == 0) {
        implicit = true;
        pushImplicit(Tag::Table, false);
    }
    int p = top();
    if (tag == Tag::P) {
        // A paragraph inside inline elements of a paragraph ends that paragraph.
        const int block = stack[p].nearestBlock;
        if (block > 0 && stack[block].tag == Tag::P)
            p = block;
    }
    if ((tag == Tag::P || tag == Tag::Li) && stack[p].tag == tag)
        --p;
    while (p > 0 && !allowedIn(tag, stack[p].tag))
        --p;
    const bool popped = p < top();
    popTo(p);

    const Open &parent = stack[p];
    Open e;
    e.tag = tag;
    const bool hidden = parent.display == Display::None || (reusedHidden && tag == Tag::Unknown);
    reusedHidden = false;
    e.display = hidden ? Display::None : display;
    e.space = tag == Tag::Pre    ? Space::Pre
              : tag == Tag::Br   ? Space::PreWrap
              : tag == Tag::Nobr ? Space::NoWrap
                                 : parent.space;
    if (tag == Tag::Unknown) {
        e.nameFrom = name.from;
        e.nameLength = name.length;
        e.nameHash = hashName(name);
    }
    push(e, popped, true);
    // Implicit table nodes come between the empty element and this one.
    if (!implicit)
        elementAfterVoid = afterVoid;
    if (e.display == Display::Block && preserves(e.space) && pos < n - 1 && s[pos] == u'\n')
        ++pos; // the element's own line break is not content
    if (isVoid(tag) || closed) {
        if (tag == Tag::Br)
            text(LineSeparator);
        popTo(top() - 1);
        if (isVoid(tag)) {
            voidParentDepth = top();
            voidParentSerial = stack[top()].serial;
        }
        newTextNode(true, isVoid(tag) ? tag : Tag::Unknown);
    }
}

void PlainTextExtractor::pushImplicit(Tag tag, bool popped) {
    // Qt makes these nodes bare: inline, not hidden, normal white space.
    Open e;
    e.tag = tag;
    push(e, popped, false);
}

void PlainTextExtractor::push(const Open &element, bool popped, bool childOfParent) {
    const int depth = top() + 1;
    Open &parent = stack[top()];
    if (childOfParent)
        parent.hasChildren = true;
    const int chainMax = element.display != Display::Inline ? depth : parent.chainMax;
    const int nearestBlock = element.display == Display::Block ? depth : parent.nearestBlock;
    if (element.tag == Tag::Unknown)
        ++unknownCount(element.nameHash);
    else
        ++openCount[int(element.tag)];
    const bool isChild = lastIsTop && !popped;
    elementAfterVoid = Tag::Unknown;
    Open &e = stack.emplace_back(element);
    e.serial = ++serials;
    e.chainMax = chainMax;
    e.nearestBlock = nearestBlock;
    lastIsTop = true;
    lastChainMax = chainMax;
    startElement(e, isChild);
}

void PlainTextExtractor::popTo(int depth) {
    if (top() > depth)
        lastIsTop = false;
    while (top() > depth) {
        const Open &e = stack.last();
        if (e.tag == Tag::Unknown)
            --unknownCount(e.nameHash);
        else
            --openCount[int(e.tag)];
        closeElement(e);
        stack.removeLast();
    }
}

int PlainTextExtractor::findOpen(Tag tag, Word name) const {
    if (tag != Tag::Unknown) {
        if (openCount[int(tag)] == 0)
            return -1;
        for (int i = top(); i > 0; --i) {
            if (stack[i].tag == tag)
                return i;
        }
        return -1;
    }
    const quint64 hash = hashName(name);
    if (unknownCountOf(hash) == 0)
        return -1;
    for (int i = top(); i > 0; --i) {
        const Open &e = stack[i];
        if (e.tag == Tag::Unknown && e.nameHash == hash && sameName(e, name))
            return i;
    }
    return -1;
}

// Qt reuses the last node for the next one when it is a text node holding nothing, or a single
// blank right after a block, table or invisible element: that text is then never shown.
bool PlainTextExtractor::resolvePendingText() {
    if (!recv.isText || recv.started)
        return false;
    // Qt walks up from the node before this one to this node's level looking for a
    // non-inline element; when that node is this one's parent, the walk climbs to the root.
    const bool afterNonInline =
        recv.isChild ? recv.previousChainMax >= 1 : recv.previousChainMax > recv.parentDepth;
    if (recv.length == 0 || afterNonInline) {
        reusedHidden = recv.hidden;
        lastIsTop = recv.savedLastIsTop;
        lastChainMax = recv.savedLastChainMax;
        return true;
    }
    startTextNode();
    feed(recv.held);
    recv.length = 2;
    return false;
}

void PlainTextExtractor::newTextNode(bool popped, Tag afterVoid) {
    elementAfterVoid = Tag::Unknown;
    endsWithNewline = false;
    const Open &parent = stack[top()];
    Receiver r;
    r.isText = true;
    r.started = false;
    r.isChild = lastIsTop && !popped;
    r.hidden = parent.display == Display::None || reusedHidden;
    reusedHidden = false;
    r.space = parent.space;
    r.parentDepth = top();
    r.previousChainMax = lastChainMax;
    r.afterVoid = afterVoid;
    r.savedLastIsTop = lastIsTop;
    r.savedLastChainMax = lastChainMax;
    recv = r;
    lastIsTop = false;
    // A hidden node is not inline either, to Qt.
    lastChainMax = r.hidden ? top() + 1 : parent.chainMax;
    updateMode();
}

quint64 PlainTextExtractor::hashName(Word name) const {
    quint64 hash = 14695981039346656037ULL;
    for (qsizetype i = 0; i < name.length; ++i) {
        hash ^= lowerChar(s[name.from + i]);
        hash *= 1099511628211ULL;
    }
    return hash ? hash : 1;
}

bool PlainTextExtractor::sameName(const Open &e, Word name) const {
    if (e.nameLength != name.length)
        return false;
    for (qsizetype i = 0; i < name.length; ++i) {
        if (lowerChar(s[e.nameFrom + i]) != lowerChar(s[name.from + i]))
            return false;
    }
    return true;
}

// Open unknown elements per name, so that an end tag nobody opened costs no search.
int &PlainTextExtractor::unknownCount(quint64 hash) {
    if (unknownUsed * 2 >= int(unknownCounts.size())) {
        std::vector<std::pair<quint64, int>> old;
        old.swap(unknownCounts);
        unknownCounts.assign(std::max<size_t>(64, old.size() * 2), {0, 0});
        unknownUsed = 0;
        for (const auto &slot : old) {
            if (slot.first)
                unknownCount(slot.first) = slot.second;
        }
    }
    const size_t mask = unknownCounts.size() - 1;
    for (size_t i = size_t(hash) & mask;; i = (i + 1) & mask) {
        auto &slot = unknownCounts[i];
        if (slot.first == hash)
            return slot.second;
        if (slot.first == 0) {
            slot.first = hash;
            ++unknownUsed;
            return slot.second;
        }
    }
}

int PlainTextExtractor::unknownCountOf(quint64 hash) const {
    if (unknownCounts.empty())
        return 0;
    const size_t mask = unknownCounts.size() - 1;
    for (size_t i = size_t(hash) & mask;; i = (i + 1) & mask) {
        const auto &slot = unknownCounts[i];
        if (slot.first == hash)
            return slot.second;
        if (slot.first == 0)
            return 0;
    }
}

} // namespace

QString DecodeHtml(const QByteArray &bytes) {
    // A byte-order mark outranks whatever the page says about itself.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") ||
        bytes.startsWith("\xEF\xBB\xBF"))
        return DecodeText(bytes);
    QByteArrayView view(bytes);
    const qsizetype zero = view.indexOf('\0');
    if (zero >= 0)
        view = view.first(zero);
    switch (metaCharset(view.first(std::min(view.size(), CharsetScanLimit)))) {
    case Charset::Utf8: {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        return utf8(view);
    }
    case Charset::Windows1252:
        return FromWindows1252(view);
    case Charset::Unnamed:
    case Charset::Other:
        break;
    }
    return DecodeText(bytes);
}

QString ExtractPlainText(QStringView html) {
    // Qt imports only the marked part of clipboard-style HTML.
    const qsizetype start = html.indexOf(u"<!--StartFragment-->");
    if (start >= 0) {
        const qsizetype end = html.indexOf(u"<!--EndFragment-->");
        html = start < end ? html.sliced(start, end - start) : html.sliced(start);
    }
    return PlainTextExtractor(html).run();
}

} // namespace platform

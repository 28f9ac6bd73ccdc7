#include "author/HtmlHelpReader.h"

#include "pagetext/Entities.h"
#include "platform/FileSystem.h"

#include <QStringDecoder>

namespace author {

namespace {

struct Tag {
    QString Name;                                  // lower case, "/ul" for an end tag
    QList<std::pair<QString, QString>> Attributes; // names lower case
    QString attribute(const QString &name) const {
        for (const auto &[key, value] : Attributes)
            if (key == name)
                return value;
        return QString();
    }
};

// Character references and the named entities the viewer itself knows.
QString decodeEntities(const QString &text) {
    if (!text.contains(u'&'))
        return text;
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype semicolon = text[i] == u'&' ? text.indexOf(u';', i) : -1;
        if (semicolon < 0 || semicolon - i > 10) {
            result += text[i];
            continue;
        }
        const QString name = text.mid(i + 1, semicolon - i - 1);
        QString decoded;
        if (name.startsWith(u'#')) {
            bool ok = false;
            const uint code = name.startsWith(u"#x", Qt::CaseInsensitive)
                                  ? name.mid(2).toUInt(&ok, 16)
                                  : name.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF))
                decoded = QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
        } else if (!name.isEmpty()) {
            char16_t units[2];
            decoded = QString(reinterpret_cast<const QChar *>(units),
                              pagetext::decodeEntity(name, units));
        }
        if (decoded.isEmpty()) {
            result += text[i];
            continue;
        }
        result += decoded;
        i = semicolon;
    }
    return result;
}

bool isSpace(QChar c) {
    return c.isSpace();
}

// Reads the tag starting at `pos` (a "<") and returns the position after its ">".
qsizetype readTag(const QString &text, qsizetype pos, Tag &tag) {
    const qsizetype n = text.size();
    qsizetype i = pos + 1;
    const qsizetype nameStart = i;
    while (i < n && !isSpace(text[i]) && text[i] != u'>')
        ++i;
    tag.Name = text.mid(nameStart, i - nameStart).toLower();
    if (tag.Name.endsWith(u'/'))
        tag.Name.chop(1);
    tag.Attributes.clear();
    while (i < n && text[i] != u'>') {
        while (i < n && (isSpace(text[i]) || text[i] == u'/'))
            ++i;
        const qsizetype keyStart = i;
        while (i < n && !isSpace(text[i]) && text[i] != u'=' && text[i] != u'>')
            ++i;
        const QString key = text.mid(keyStart, i - keyStart).toLower();
        while (i < n && isSpace(text[i]))
            ++i;
        QString value;
        if (i < n && text[i] == u'=') {
            ++i;
            while (i < n && isSpace(text[i]))
                ++i;
            if (i < n && (text[i] == u'"' || text[i] == u'\'')) {
                const QChar quote = text[i];
                const qsizetype close = text.indexOf(quote, i + 1);
                const qsizetype end = close < 0 ? n : close;
                value = text.mid(i + 1, end - i - 1);
                i = close < 0 ? n : close + 1;
            } else {
                const qsizetype valueStart = i;
                while (i < n && !isSpace(text[i]) && text[i] != u'>')
                    ++i;
                value = text.mid(valueStart, i - valueStart);
            }
        }
        if (!key.isEmpty())
            tag.Attributes.append({key, decodeEntities(value)});
    }
    return i < n ? i + 1 : n;
}

} // namespace

std::vector<SitemapEntry> ReadSitemap(const QString &text) {
    std::vector<SitemapEntry> root;
    // The lists being filled, innermost last; the root list stays at the bottom.
    std::vector<std::vector<SitemapEntry> *> lists{&root};
    int depth = 0;
    SitemapEntry entry;
    bool inObject = false;
    bool sitemap = false;
    Tag tag;
    constexpr int MaxDepth = 200;
    for (qsizetype pos = text.indexOf(u'<'); pos >= 0 && pos < text.size();
         pos = text.indexOf(u'<', pos)) {
        if (text.mid(pos, 4) == u"<!--") {
            const qsizetype end = text.indexOf(QStringLiteral("-->"), pos + 4);
            pos = end < 0 ? text.size() : end + 3;
            continue;
        }
        pos = readTag(text, pos, tag);
        if (tag.Name == u"ul") {
            // The first list is the top level; a later one holds the children of the entry
            // before it (or, with no entry before it, continues the list it is in).
            std::vector<SitemapEntry> *list = lists.back();
            if (depth > 0 && !list->empty() && static_cast<int>(lists.size()) < MaxDepth)
                lists.push_back(&list->back().Children);
            else
                lists.push_back(list);
            ++depth;
        } else if (tag.Name == u"/ul") {
            if (lists.size() > 1)
                lists.pop_back();
            depth = std::max(depth - 1, 0);
        } else if (tag.Name == u"object") {
            inObject = true;
            sitemap = tag.attribute(QStringLiteral("type"))
                          .compare(QStringLiteral("text/sitemap"), Qt::CaseInsensitive) == 0;
            entry = SitemapEntry();
        } else if (tag.Name == u"param" && inObject && sitemap) {
            const QString name = tag.attribute(QStringLiteral("name")).toLower();
            const QString value = tag.attribute(QStringLiteral("value"));
            if (name == u"name")
                entry.Names << value;
            else if (name == u"local")
                entry.Locals << value;
            else if (name == u"keyword")
                entry.Keyword = value;
            else if (name == u"see also")
                entry.SeeAlso << value;
        } else if (tag.Name == u"/object") {
            if (inObject && sitemap)
                lists.back()->push_back(std::move(entry));
            inObject = false;
            sitemap = false;
        }
    }
    return root;
}

HhpOptions ReadHhp(const QString &text) {
    HhpOptions options;
    QString section;
    for (QString line : text.split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            section = line.toLower();
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (section != u"[options]" || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed().toLower();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == u"contents file")
            options.ContentsFile = value;
        else if (key == u"index file")
            options.IndexFile = value;
        else if (key == u"default topic")
            options.DefaultTopic = value;
        else if (key == u"title")
            options.Title = value;
        else if (key == u"language")
            options.Language = value.section(u' ', 0, 0).toInt(nullptr, 0);
    }
    return options;
}

QString DecodeLegacy(const QByteArray &bytes, int language) {
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    const int primary = language & 0x3FF;
    const char *codec = nullptr;
    switch (primary) {
    case 0x05:
    case 0x0E:
    case 0x15:
    case 0x18:
    case 0x1A:
    case 0x1B:
    case 0x1C:
    case 0x24:
        codec = "windows-1250";
        break;
    case 0x02:
    case 0x19:
    case 0x22:
    case 0x23:
    case 0x2F:
        codec = "windows-1251";
        break;
    case 0x08:
        codec = "windows-1253";
        break;
    case 0x1F:
        codec = "windows-1254";
        break;
    case 0x0D:
        codec = "windows-1255";
        break;
    case 0x01:
        codec = "windows-1256";
        break;
    case 0x25:
    case 0x26:
    case 0x27:
        codec = "windows-1257";
        break;
    case 0x2A:
        codec = "windows-1258";
        break;
    case 0x1E:
        codec = "windows-874";
        break;
    case 0x11:
        codec = "Shift_JIS";
        break;
    case 0x12:
        codec = "windows-949";
        break;
    case 0x04:
        codec = (language == 0x404 || language == 0xC04 || language == 0x1404) ? "Big5" : "GBK";
        break;
    default:
        break;
    }
    if (codec) {
        QStringDecoder legacy(codec);
        if (legacy.isValid()) {
            text = legacy.decode(bytes);
            if (!legacy.hasError())
                return text;
        }
    }
    return platform::FromWindows1252(bytes);
}

} // namespace author

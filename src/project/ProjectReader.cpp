#include "project/ProjectReader.h"

#include "platform/Exception.h"
#include "project/StrToInt.h"

namespace project {

namespace {

constexpr int SettingsCount = 47;

// Line numbers for error messages, computed as the reader moves forward so that a 10 MB file
// is still scanned only once. CR LF, LF and a lone CR each end a line.
class LineTracker {
public:
    explicit LineTracker(const QString &text) : text(text) {}

    // The 1-based line of position `pos`; positions must not go backwards between calls.
    int LineAt(qsizetype pos) {
        for (; scanned < pos; ++scanned) {
            const QChar c = text[scanned];
            if (c == u'\n')
                ++line;
            else if (c == u'\r' && (scanned + 1 >= text.size() || text[scanned + 1] != u'\n'))
                ++line;
        }
        return line;
    }

private:
    const QString &text;
    qsizetype scanned = 0;
    int line = 1;
};

// Position after one line break at `pos` (CR LF, LF or CR), or `pos` when there is none.
qsizetype SkipLineBreak(const QString &text, qsizetype pos) {
    if (pos < text.size() && text[pos] == u'\r')
        ++pos;
    else if (pos < text.size() && text[pos] == u'\n')
        return pos + 1;
    else
        return pos;
    if (pos < text.size() && text[pos] == u'\n')
        ++pos;
    return pos;
}

// Position after the blanks (spaces, tabs) and the line break at `pos`; the blanks stay when
// no line break follows them.
qsizetype SkipBlanksAndLineBreak(const QString &text, qsizetype pos) {
    qsizetype end = pos;
    while (end < text.size() && (text[end] == u' ' || text[end] == u'\t'))
        ++end;
    if (end == text.size() || text[end] == u'\r' || text[end] == u'\n')
        pos = end;
    return SkipLineBreak(text, pos);
}

// Position after the line starting at `pos` and its line break (the end if it has none).
qsizetype SkipLine(const QString &text, qsizetype pos) {
    while (pos < text.size() && text[pos] != u'\r' && text[pos] != u'\n')
        ++pos;
    return SkipLineBreak(text, pos);
}

bool IsHeaderCharacter(char16_t c) {
    return c == u'R' || c == u'F' || c == u'P' || (c >= u'0' && c <= u'9');
}

// Reads the contents section and returns the position just after its "^", or the text's
// size when there is no "^".
qsizetype ReadContents(const QString &text, ProjectSink &sink, LineTracker &lines) {
    bool inHeader = false;
    int field = 0;
    QString accumulator;
    QString lastType;
    int lastParent = 0;

    const qsizetype n = text.size();
    for (qsizetype j = 0; j < n; ++j) {
        const char16_t c = text[j].unicode();
        if (c == u'[')
            inHeader = true;
        if (inHeader && c != u'*' && c != u'^') {
            if (IsHeaderCharacter(c))
                accumulator += QChar(c);
            if (field == 0 && c == u',') {
                StrToInt(accumulator, lines.LineAt(j)); // sequence number: must convert, unused
                field = 1;
                accumulator.clear();
            } else if (field == 1 && c == u',') {
                lastType = accumulator;
                field = 2;
                accumulator.clear();
            } else if (field == 2 && c == u']') {
                lastParent = StrToInt(accumulator, lines.LineAt(j));
                field = 0;
                accumulator.clear();
                inHeader = false;
            }
            continue;
        }
        if (c == u'*') {
            // Completing a record from half a header would attach the body to the wrong
            // parent; a broken file is better refused here.
            if (inHeader)
                throw platform::EConvertError(
                    QStringLiteral("Record header without ']' before '*' (line %1)")
                        .arg(lines.LineAt(j)));
            sink.RecordLine(lines.LineAt(j));
            sink.ContentsRecord(accumulator, lastType, lastParent);
            accumulator.clear();
        } else if (c == u'^') {
            return j + 1;
        } else if (!inHeader && c != u']' && c != u'\r' && c != u'\n') {
            accumulator += QChar(c);
        }
    }
    return n;
}

// Reads the 47 settings values from `pos` and returns where the index section starts.
qsizetype ReadSettings(const QString &text, qsizetype pos, ProjectSink &sink, LineTracker &lines) {
    for (int k = 1; k <= SettingsCount; ++k) {
        const int line = lines.LineAt(pos);
        const qsizetype star = text.indexOf(u'*', pos);
        QString value;
        if (star >= 0) {
            value = text.mid(pos, star - pos);
            pos = star + 1;
        }
        sink.Setting(k, value, line);
        pos = SkipBlanksAndLineBreak(text, pos);
    }
    // The writer puts a separator line between the settings and the index.
    return SkipLine(text, pos);
}

void ReadIndex(const QString &text, qsizetype pos, ProjectSink &sink, LineTracker &lines) {
    QString accumulator;
    for (; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (c == u'*') {
            sink.RecordLine(lines.LineAt(pos));
            sink.IndexRecord(accumulator);
            accumulator.clear();
        } else if (c == u'%') {
            return; // nothing after the first "%" belongs to the project
        } else if (c != u'\r' && c != u'\n') {
            accumulator += c;
        }
    }
}

} // namespace

void ReadHelpProject(const QString &text, ProjectSink &sink) {
    LineTracker lines(text);
    const qsizetype afterContents = ReadContents(text, sink, lines);
    sink.ContentsEnd();
    const qsizetype indexStart =
        ReadSettings(text, SkipLineBreak(text, afterContents), sink, lines);
    ReadIndex(text, indexStart, sink, lines);
}

} // namespace project

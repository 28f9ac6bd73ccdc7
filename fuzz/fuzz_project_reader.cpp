// Reads arbitrary bytes as a help project file the way the viewer does: decoded once, parsed in
// one pass, settings stored and converted. Besides crashes it checks the order of the reader's
// calls and that what it hands on, written back out as a clean file, reads back the same.
#include "FuzzCheck.h"
#include "platform/Exception.h"
#include "platform/FileSystem.h"
#include "project/Appearance.h"
#include "project/ProjectReader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

struct ContentsEntry {
    QString Body;
    QString Type;
    int Parent = 0;
    bool operator==(const ContentsEntry &) const = default;
};

bool ContainsAny(const QString &text, QStringView characters) {
    for (const QChar c : characters) {
        if (text.contains(c))
            return true;
    }
    return false;
}

// Stores what the viewer stores, as the viewer's own sink does, and records the rest.
class RecordingSink : public project::ProjectSink {
public:
    void ContentsRecord(const QString &body, const QString &type, int parent) override {
        FUZZ_CHECK(!contentsEnded);
        // A record body never holds what delimits headers, records or the section.
        FUZZ_CHECK(!ContainsAny(body, u"[]*^\r\n"));
        for (const QChar c : type)
            FUZZ_CHECK(c == u'R' || c == u'F' || c == u'P' || (c >= u'0' && c <= u'9'));
        FUZZ_CHECK(parent >= 0); // only digits reach the parent number
        Contents.push_back({body, type, parent});
    }
    void ContentsEnd() override {
        FUZZ_CHECK(!contentsEnded);
        contentsEnded = true;
    }
    void Setting(int k, const QString &value, int line) override {
        FUZZ_CHECK(contentsEnded);
        FUZZ_CHECK(k == Values.size() + 1 && k <= 47);
        FUZZ_CHECK(line >= 1 && line >= lastLine);
        FUZZ_CHECK(!value.contains(u'*'));
        lastLine = line;
        Values << value;
        if (k == 2)
            Title = value;
        else if (k == 3)
            IconFileName = value;
        else
            Appearance.Store(k, value, line);
        if (k >= 9 && k <= 11)
            Appearance.ColorLines[static_cast<size_t>(k - 9)] = line;
    }
    void IndexRecord(const QString &body) override {
        FUZZ_CHECK(Values.size() == 47);
        FUZZ_CHECK(!ContainsAny(body, u"*%\r\n"));
        Index << body;
    }

    std::vector<ContentsEntry> Contents;
    QStringList Values;
    QStringList Index;
    QString Title;
    QString IconFileName;
    project::AppearanceSettings Appearance;

private:
    bool contentsEnded = false;
    int lastLine = 1;
};

// The project file a careful author would write for what was read: every record with its own
// header, one value a line, a "^" separator and a closing "%".
QString WriteProject(const RecordingSink &read) {
    QString text;
    for (const ContentsEntry &entry : read.Contents)
        text += QStringLiteral("[0,%1,%2]%3*\r\n")
                    .arg(entry.Type, QString::number(entry.Parent), entry.Body);
    text += QStringLiteral("^\r\n");
    for (const QString &value : read.Values)
        text += value + QStringLiteral("*\r\n");
    text += QStringLiteral("^\r\n");
    for (const QString &record : read.Index)
        text += record + QStringLiteral("*\r\n");
    text += QStringLiteral("%\r\n");
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text =
        platform::DecodeText(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (text.isEmpty())
        return 0; // the viewer refuses an empty project before reading it

    RecordingSink first;
    try {
        project::ReadHelpProject(text, first);
    } catch (const platform::EConvertError &) {
        return 0; // a refused file; what was handed on before stays, which is all right
    }
    FUZZ_CHECK(first.Values.size() == 47);

    RecordingSink second;
    try {
        project::ReadHelpProject(WriteProject(first), second);
    } catch (const platform::EConvertError &) {
        FUZZ_CHECK(!"a clean rewrite of an accepted file was refused");
    }
    FUZZ_CHECK(second.Contents == first.Contents);
    FUZZ_CHECK(second.Values == first.Values);
    FUZZ_CHECK(second.Index == first.Index);
    return 0;
}

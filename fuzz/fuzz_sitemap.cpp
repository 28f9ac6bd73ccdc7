// Reads arbitrary bytes as an HTML Help contents or index file, then writes what it found as a
// help project and reads that back with the viewer's reader: every entry must come back.
#include "FuzzCheck.h"
#include "author/HtmlHelpReader.h"
#include "author/ProjectWriter.h"
#include "project/ProjectReader.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace {

void Collect(const std::vector<author::SitemapEntry> &entries, int parent, author::HelpModel &model,
             int &count) {
    for (const author::SitemapEntry &entry : entries) {
        ++count;
        const int number = static_cast<int>(model.Nodes.size());
        model.Nodes.push_back({entry.Names.value(0), entry.Locals.value(0), parent});
        for (const QString &local : entry.Locals)
            model.Index.push_back({entry.Keyword + entry.Names.value(0), local});
        Collect(entry.Children, number, model, count);
    }
}

class Counter : public project::ProjectSink {
public:
    void ContentsRecord(const QString &, const QString &type, int) override {
        FUZZ_CHECK(type == u"R" || type == u"F" || type == u"P");
        ++Nodes;
    }
    void ContentsEnd() override {}
    void Setting(int, const QString &, int) override {}
    void IndexRecord(const QString &) override { ++Keywords; }
    int Nodes = 0;
    int Keywords = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = author::DecodeLegacy(bytes, 0);
    const std::vector<author::SitemapEntry> entries = author::ReadSitemap(text);

    author::HelpModel model;
    int count = 0;
    Collect(entries, -1, model, count);
    // An entry is only kept when its OBJECT is closed.
    FUZZ_CHECK(count <= text.count(QStringLiteral("</object"), Qt::CaseInsensitive));

    author::PrepareModel(model);
    Counter counter;
    project::ReadHelpProject(QString::fromUtf8(author::ProjectText(model, QString())), counter);
    FUZZ_CHECK(counter.Nodes == static_cast<int>(model.Nodes.size()));
    FUZZ_CHECK(counter.Keywords == static_cast<int>(model.Index.size()));
    return 0;
}

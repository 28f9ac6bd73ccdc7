// Finds a help project from an arbitrary command line, and runs the string functions that turn
// project entries into topic URLs and search results on the same text. The input's first line
// is the command line; the lines after it, when there are any, are what every directory lists.
#include "FuzzCheck.h"
#include "app/Discovery.h"
#include "navigation/TopicUrl.h"
#include "platform/FileSystem.h"
#include "project/Record.h"
#include "search/SearchMatch.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace {

bool HasProjectExtension(const QString &name) {
    return name.endsWith(QStringLiteral(".vlp"), Qt::CaseInsensitive);
}

void CheckDiscovery(const QString &commandLine, const std::optional<QStringList> &listing) {
    int listings = 0;
    QString listedDir;
    const app::DirectoryLister list = [&](const QString &dir) {
        ++listings;
        listedDir = dir;
        return listing;
    };
    const std::optional<app::ProjectLocation> found = app::DiscoverProject(commandLine, list);
    FUZZ_CHECK(listings <= 1);
    if (!found)
        return;

    const QString &file = found->ProjectFileName;
    const QString &dir = found->HelpDir;
    // An absolute folder ("C:\..."), and the project file is in it.
    FUZZ_CHECK(dir.size() >= 3 && dir.at(1) == u':' && dir.at(2) == u'\\');
    FUZZ_CHECK(dir.endsWith(u'\\'));
    FUZZ_CHECK(file.startsWith(dir) && file.size() > dir.size());
    FUZZ_CHECK(HasProjectExtension(file));
    if (listings == 1) {
        // A scanned folder yields its first project entry, found in the folder scanned.
        FUZZ_CHECK(listedDir == dir);
        const QString name = file.mid(dir.size());
        const auto first = std::find_if(listing->begin(), listing->end(), HasProjectExtension);
        FUZZ_CHECK(first != listing->end() && *first == name);
    }
    const QString url = navigation::MakeTopicURL(file);
    FUZZ_CHECK(url.startsWith(QStringLiteral("file:///")) && url.at(9) == u'|');
}

void CheckEntryFunctions(const QString &text) {
    if (text.size() >= 2) {
        const QString url = navigation::MakeTopicURL(text);
        FUZZ_CHECK(url.size() == text.size() + 8);
        const QChar drive = text.at(0) == u'\\' ? QChar(u'/') : text.at(0);
        FUZZ_CHECK(url.at(8) == drive && url.at(9) == u'|');
        FUZZ_CHECK(!url.contains(u'\\'));
    }

    const QString target = project::TopicTarget(text);
    const QString caption = project::Caption(text);
    if (text.contains(u'@')) {
        FUZZ_CHECK(!caption.contains(u'@'));
        FUZZ_CHECK(caption + u'@' + target == text);
    } else {
        FUZZ_CHECK(caption.isEmpty() && target == text);
    }

    const QString page = navigation::PageName(text);
    FUZZ_CHECK(!page.contains(u'/') && text.endsWith(page));
    if (text.contains(u'/'))
        FUZZ_CHECK(text.at(text.size() - page.size() - 1) == u'/');

    const bool atLeast = navigation::PassesLengthRule(text, navigation::LengthRule::AtLeast14);
    const bool moreThan = navigation::PassesLengthRule(text, navigation::LengthRule::MoreThan14);
    FUZZ_CHECK(atLeast == (text.size() >= 14) && moreThan == (text.size() > 14));
}

QString PageOf(const QString &entry) {
    QString target = project::TopicTarget(entry).toLower();
    const qsizetype hash = target.indexOf(u'#');
    if (hash >= 0)
        target.truncate(hash);
    return target;
}

// Every entry's page leads back to the first entry with that page; checked against a plain
// scan for the first entries, which keeps each run linear in the input.
void CheckPageMatcher(const QStringList &entries) {
    const search::PageMatcher matcher(entries);
    const qsizetype checked = std::min<qsizetype>(entries.size(), 64);
    for (qsizetype i = 0; i < checked; ++i) {
        const QString page = PageOf(entries.at(i));
        qsizetype first = 0;
        while (PageOf(entries.at(first)) != page)
            ++first;
        FUZZ_CHECK(matcher.Find(page) == first);

        const QString lower = entries.at(i).toLower();
        FUZZ_CHECK(search::IsCandidatePage(lower) == lower.contains(QStringLiteral(".htm")));
        // A name no entry can have as its page: pages never hold "#".
        FUZZ_CHECK(matcher.Find(lower + u'#') == -1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text =
        platform::DecodeText(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const qsizetype newline = text.indexOf(u'\n');
    const QString commandLine = newline < 0 ? text : text.left(newline);
    std::optional<QStringList> listing;
    if (newline >= 0)
        listing = text.mid(newline + 1).split(u'\n');

    CheckDiscovery(commandLine, listing);
    CheckEntryFunctions(commandLine);
    const QStringList entries = text.split(u'\n');
    for (const QString &entry : entries)
        CheckEntryFunctions(entry);
    CheckPageMatcher(entries);
    return 0;
}

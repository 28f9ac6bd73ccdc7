#include "app/Discovery.h"

#include <gtest/gtest.h>

using app::DiscoverProject;

namespace {

// A listing that knows a few directories of a pretend Windows machine.
std::optional<QStringList> pretendListing(const QString &dir) {
    if (dir == u"C:\\Program Files\\Help\\")
        return QStringList{".", "..", "readme.txt", "Manual.VLP", "second.vlp"};
    if (dir == u"D:\\Help\\")
        return QStringList{".", "..", "a.htm", "help.vlp"};
    if (dir == u"D:\\Help2\\")
        return QStringList{".", "..", "other.vlp"};
    if (dir == u"D:\\My Help\\")
        return QStringList{".", "..", "x.vlp"};
    if (dir == u"D:\\Empty\\")
        return QStringList{".", "..", "page.htm", "vlp", "a.vlpx"};
    return std::nullopt;
}

struct Case {
    const char *line;
    const char *projectFile; // empty: discovery fails
    const char *helpDir;
};

} // namespace

TEST(Discovery, ChoosesTheProjectFromTheCommandLine) {
    const Case cases[] = {
        // No argument: the program's own directory is scanned; the extension ignores case and
        // the first match in listing order wins.
        {R"("C:\Program Files\Help\viewer.exe")", R"(C:\Program Files\Help\Manual.VLP)",
         R"(C:\Program Files\Help\)"},
        {R"(C:\Program Files\Help\viewer.exe   )", R"(C:\Program Files\Help\Manual.VLP)",
         R"(C:\Program Files\Help\)"},
        // A project file argument, quoted or not, with trailing spaces, in any case.
        {R"(C:\v.exe D:\Help\manual.vlp)", R"(D:\Help\manual.vlp)", R"(D:\Help\)"},
        {R"("C:\v.exe" "D:\Help\manual.vlp")", R"(D:\Help\manual.vlp)", R"(D:\Help\)"},
        {R"(C:\v.exe D:\Help\MANUAL.VLP   )", R"(D:\Help\MANUAL.VLP)", R"(D:\Help\)"},
        // Spaces inside the argument stay part of it.
        {R"(C:\v.exe D:\My Help\manual.vlp)", R"(D:\My Help\manual.vlp)", R"(D:\My Help\)"},
        {R"(C:\v.exe D:\My Help)", R"(D:\My Help\x.vlp)", R"(D:\My Help\)"},
        // A directory argument, with or without its backslash, is scanned.
        {R"(C:\v.exe D:\Help)", R"(D:\Help\help.vlp)", R"(D:\Help\)"},
        {R"(C:\v.exe D:\Help\)", R"(D:\Help\help.vlp)", R"(D:\Help\)"},
        {R"(C:\v.exe "D:\Help\")", R"(D:\Help\help.vlp)", R"(D:\Help\)"},
        // A trailing digit or backslash is the path's own and stays.
        {R"(C:\v.exe D:\Help2\)", R"(D:\Help2\other.vlp)", R"(D:\Help2\)"},
        {R"(C:\v.exe D:\Help2)", R"(D:\Help2\other.vlp)", R"(D:\Help2\)"},
        // Two drive-qualified arguments: the last one counts.
        {R"(C:\v.exe D:\Help2 D:\Help)", R"(D:\Help\help.vlp)", R"(D:\Help\)"},
        // A relative argument ending in ".vlp" makes a path that cannot be opened later.
        {R"(C:\Program Files\Help\viewer.exe manual.vlp)",
         R"(C:\Program Files\Help\viewer.exe manual.vlp)", R"(C:\Program Files\Help\)"},
        // Failures: a directory without project file, a missing directory, no drive at all.
        {R"(C:\v.exe D:\Empty)", "", ""},
        {R"(C:\v.exe D:\Missing\)", "", ""},
        {R"(viewer.exe)", "", ""},
        {R"(   "" 123 )", "", ""},
        {"", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        const auto found = DiscoverProject(QString::fromUtf8(c.line), pretendListing);
        if (*c.projectFile == 0) {
            EXPECT_FALSE(found.has_value());
            continue;
        }
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->ProjectFileName, QString::fromUtf8(c.projectFile));
        EXPECT_EQ(found->HelpDir, QString::fromUtf8(c.helpDir));
    }
}

TEST(Discovery, RefusesPathsWithoutAnAbsoluteFolder) {
    // A listing that offers a project everywhere, so only the path decides.
    QStringList listed;
    const app::DirectoryLister everywhere = [&listed](const QString &dir) {
        listed << dir;
        return std::optional<QStringList>(QStringList{".", "..", "help.vlp"});
    };
    const Case cases[] = {
        // A Linux argument whose name holds a colon: the last colon makes "Z:ual.vlp", which
        // would be read as /ual.vlp with no folder for its pages.
        {R"(Z:\optellumo Z:ual.vlp)", "", ""},
        {R"(C:.exe D:sub\help.vlp)", "", ""},
        {R"(C:.exe D:folder)", "", ""},
        {R"(C:v.exe)", "", ""},
        // A drive alone stands for its root, as before.
        {R"(C:.exe D:)", R"(D:\help.vlp)", R"(D:\)"},
        {R"(C:.exe D:\help.vlp)", R"(D:\help.vlp)", R"(D:\)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        listed.clear();
        const auto found = DiscoverProject(QString::fromUtf8(c.line), everywhere);
        if (*c.projectFile == 0) {
            EXPECT_FALSE(found.has_value());
            EXPECT_EQ(listed, QStringList()) << "a relative folder was listed";
            continue;
        }
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->ProjectFileName, QString::fromUtf8(c.projectFile));
        EXPECT_EQ(found->HelpDir, QString::fromUtf8(c.helpDir));
    }
}

TEST(Discovery, TrimsOnlyWhatCannotBelongToAPath) {
    const std::pair<const char *, const char *> cases[] = {
        {R"(  "C:\a b\v.exe"  )", R"(C:\a b\v.exe)"},
        {"123 C:\\x\\", "C:\\x\\"},
        {"C:\\x.1 \t\"", "C:\\x.1"},
        {"C:\\x(2)", "C:\\x(2)"},
        {"\"\"\" ", ""},
    };
    for (const auto &[line, trimmed] : cases)
        EXPECT_EQ(app::TrimCommandLine(QString::fromUtf8(line)), QString::fromUtf8(trimmed))
            << line;
}

TEST(Discovery, DirectoryPartKeepsTheLastBackslash) {
    EXPECT_EQ(app::DirectoryPart(R"(C:\Help\manual.vlp)"), R"(C:\Help\)");
    EXPECT_EQ(app::DirectoryPart(R"(C:\Help\)"), R"(C:\Help\)");
    EXPECT_EQ(app::DirectoryPart(R"(C:\)"), R"(C:\)");
    EXPECT_EQ(app::DirectoryPart("C:manual.vlp"), QString());
    EXPECT_EQ(app::DirectoryPart(QString()), QString());
}

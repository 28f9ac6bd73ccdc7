#include "app/Unit1.h"
#include "platform/CommandLine.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// Runs FormCreate with `line`; gives the exit status it asked for, or -1 when it returned.
int createWith(const QString &line, MessageRecorder &messages) {
    ExitRecorder exits;
    platform::SetCommandLine(line);
    try {
        TForm1 form;
        return -1;
    } catch (const ProcessExit &exit) {
        EXPECT_EQ(messages.Messages.size(), 1u);
        if (!messages.Messages.empty()) {
            EXPECT_EQ(messages.Messages[0].first, "File Not Found! Exiting...");
            EXPECT_EQ(messages.Messages[0].second, "Help Error");
        }
        return exit.Status;
    }
}

QString programIn(const HelpFolder &folder) {
    return platform::ToWindowsPath(folder.Path() + QStringLiteral("/vellumo"));
}

} // namespace

TEST(FormCreate, ReadsTheProjectFoundInTheProgramDirectory) {
    HelpFolder folder;
    folder.Write("Manual.VLP", "[0,R,0]Welcome@welcome.html*\r\n^");
    MessageRecorder messages;
    platform::SetCommandLine(programIn(folder));
    TForm1 form;
    EXPECT_TRUE(messages.Messages.empty());
    EXPECT_EQ(form.HelpDir, folder.WindowsPath());
    EXPECT_EQ(ProjectFileName, folder.WindowsPath() + "Manual.VLP");
    EXPECT_EQ(ProjectText, "[0,R,0]Welcome@welcome.html*\r\n^");
    EXPECT_EQ(StyleSets[1], (platform::TFontStyles{true, false}));
    EXPECT_EQ(StyleSets[3], (platform::TFontStyles{true, true}));
    EXPECT_EQ(ViewerReady, 0);
    EXPECT_EQ(CaseSensitive, 0);
    EXPECT_EQ(SuppressHistory, 0);
}

TEST(FormCreate, TextEndsAtTheFirstZeroByteAndDecodesWindows1252) {
    HelpFolder folder;
    folder.Write("help.vlp", QByteArray("[0,R,0]Caf\xE9@a.htm*\0junk", 24));
    MessageRecorder messages;
    platform::SetCommandLine(programIn(folder) + " " + folder.WindowsPath() + "help.vlp");
    TForm1 form;
    EXPECT_EQ(ProjectText, QString::fromUtf8("[0,R,0]Caf\u00e9@a.htm*"));
}

TEST(FormCreate, NamedFileOrScannedFolderInAnyLetterCase) {
    HelpFolder folder;
    folder.Mkdir("sub");
    folder.Write("sub/Guide.vlp", "x");
    MessageRecorder messages;
    // Windows authors and users are careless about case: the folder is found ignoring it.
    platform::SetCommandLine("Z:\\opt\\vellumo " + folder.WindowsPath() + "SUB");
    TForm1 form;
    EXPECT_TRUE(messages.Messages.empty());
    EXPECT_EQ(form.HelpDir, folder.WindowsPath() + "SUB\\");
    EXPECT_EQ(ProjectText, "x");
}

TEST(FormCreate, EveryFailureEndsWithTheMessageAndStatusOne) {
    HelpFolder folder;
    folder.Mkdir("empty");
    folder.Write("empty/project.vlp", "");
    folder.Mkdir("dironly/old.vlp");
    folder.Mkdir("nothing");
    folder.Write("nothing/page.htm", "<p>x</p>");

    const QString program = "Z:\\opt\\vellumo ";
    const QString base = folder.WindowsPath();
    const QStringList lines{
        program + base + "empty\\project.vlp", // a file of zero bytes
        program + base + "dironly",            // a directory named like a project file
        program + base + "nothing",            // no project file in the folder
        program + base + "missing\\",          // no such folder
        program + base + "missing.vlp",        // no such file
        QStringLiteral("vellumo"),             // no drive anywhere on the line
    };
    for (const QString &line : lines) {
        SCOPED_TRACE(line.toStdString());
        MessageRecorder messages;
        EXPECT_EQ(createWith(line, messages), 1);
    }
}

TEST(FormCreate, AZeroByteFirstLeavesAnEmptyTextForTheLoader) {
    HelpFolder folder;
    folder.Write("zero.vlp", QByteArray("\0abc", 4));
    MessageRecorder messages;
    platform::SetCommandLine("Z:\\opt\\vellumo " + folder.WindowsPath() + "zero.vlp");
    TForm1 form;
    EXPECT_TRUE(messages.Messages.empty());
    EXPECT_TRUE(ProjectText.isEmpty());
}

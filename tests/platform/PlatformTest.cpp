#include "platform/Colors.h"
#include "platform/CommandLine.h"
#include "platform/FileSystem.h"
#include "platform/KeptText.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

#include <QGuiApplication>
#include <QPalette>
#include <QStringDecoder>
#include <gtest/gtest.h>
#include <thread>

using namespace testing_support;

TEST(Platform, PathsMapToDriveZAndBack) {
    EXPECT_EQ(platform::ToWindowsPath("/home/ann/help/"), "Z:\\home\\ann\\help\\");
    EXPECT_EQ(platform::ToNativePath("Z:\\no\\such\\place.htm"), "/no/such/place.htm");
    EXPECT_EQ(platform::ToNativePath("z:/tmp"), "/tmp");
    EXPECT_EQ(platform::ToNativePath("C:\\Windows"), "") << "no other drive exists here";
    EXPECT_EQ(platform::ToNativePath("relative\\x"), "");

    HelpFolder folder;
    folder.Mkdir("Pages");
    folder.Write("Pages/Intro.HTM", "x");
    EXPECT_EQ(platform::ToNativePath(folder.WindowsPath() + "pages\\intro.htm"),
              folder.Path() + "/Pages/Intro.HTM");

    // A file's stamp and path taken in one step agree with the two steps.
    const QString base = folder.WindowsPath();
    for (const QString &path :
         {base + "Pages\\Intro.HTM", base + "pages\\intro.htm", base + "Pages", base + "none",
          QString("Z:\\dev\\zero"), QString("C:\\x")}) {
        SCOPED_TRACE(qPrintable(path));
        QString native;
        const std::optional<platform::FileStamp> stamp = platform::StampOfFile(path, native);
        EXPECT_EQ(native, platform::ToNativePath(path));
        EXPECT_EQ(stamp, platform::StampOfFile(platform::ToNativePath(path)));
        EXPECT_EQ(stamp.has_value(), path.endsWith("tro.htm", Qt::CaseInsensitive));
    }
}

TEST(Platform, CommandLineIsBuiltFromAbsoluteArguments) {
    EXPECT_EQ(
        platform::BuildCommandLine({"/opt/v/vellumo", "help", "/data/x.vlp", "sub/"}, "/home/ann"),
        "Z:\\opt\\v\\vellumo Z:\\home\\ann\\help Z:\\data\\x.vlp Z:\\home\\ann\\sub\\");
    platform::SetCommandLine("Z:\\a b");
    EXPECT_EQ(platform::GetCommandLineA(), "Z:\\a b");
}

TEST(Platform, ListingHasEveryEntryAndReadingTakesRegularFilesOnly) {
    HelpFolder folder;
    folder.Write(".hidden.vlp", "h");
    folder.Mkdir("dir.htm");
    folder.Write("page.htm", "abc");
    const auto names = platform::ListDirectory(folder.WindowsPath());
    ASSERT_TRUE(names.has_value());
    QStringList sorted = *names;
    sorted.sort();
    EXPECT_EQ(sorted, QStringList({".", "..", ".hidden.vlp", "dir.htm", "page.htm"}));
    EXPECT_FALSE(platform::ListDirectory(folder.WindowsPath() + "missing\\").has_value());

    EXPECT_EQ(platform::ReadWholeFile(folder.WindowsPath() + "PAGE.HTM"), QByteArray("abc"));
    EXPECT_FALSE(platform::ReadWholeFile(folder.WindowsPath() + "dir.htm").has_value());
    EXPECT_FALSE(platform::ReadWholeFile("Z:\\dev\\zero").has_value());
    EXPECT_FALSE(platform::ReadWholeFile(folder.WindowsPath() + "none").has_value());
}

TEST(Platform, TextIsDecodedOnce) {
    const std::pair<QByteArray, QString> cases[] = {
        {"plain", "plain"},
        {"caf\xC3\xA9", QString::fromUtf8("caf\u00e9")},
        {"caf\xE9 \x80", QString::fromUtf8("caf\u00e9 \u20ac")},
        {"\xEF\xBB\xBFwith bom", "with bom"},
        {QByteArray("cut\0here", 8), "cut"},
        {QByteArray("\xFF\xFEu\0t\0f\0", 8), "utf"},
    };
    for (const auto &[bytes, text] : cases)
        EXPECT_EQ(platform::DecodeText(bytes), text) << bytes.toHex().toStdString();
}

// Every byte at every place in a sixteen-byte chunk, against ICU's own Windows-1252; the five
// bytes it leaves undefined are C1 controls here, as browsers read them.
TEST(Platform, Windows1252AgreesWithIcuWhereverTheByteFalls) {
    QByteArray high;
    for (int b = 0x80; b <= 0xFF; ++b)
        high += char(b);
    for (int offset = 0; offset < 17; ++offset) {
        const QByteArray bytes = QByteArray(offset, 'a') + high + "tail";
        QStringDecoder icu("windows-1252");
        const QString expected = icu(bytes);
        const QString text = platform::FromWindows1252(bytes);
        ASSERT_EQ(text.size(), bytes.size());
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
                EXPECT_EQ(text[i].unicode(), b);
            else
                EXPECT_EQ(text[i], expected[i]) << "byte " << int(b) << " at " << i;
        }
    }
}

// Kept texts share blocks of memory, made on a reading thread that is gone by the time they are
// used: each stays its own, whatever is done to the others, and a text larger than a block too.
TEST(Platform, KeptTextsStayTheirOwn) {
    QStringList expected;
    for (int i = 0; i < 3000; ++i)
        expected << QString(QChar(u'a' + i % 26)).repeated(1 + i * 7 % 1000) + QString::number(i);
    expected << QString(u'x').repeated(700 * 1024);
    QStringList kept;
    std::thread([&] {
        for (const QString &text : expected)
            kept << platform::KeepText(text);
    }).join();
    ASSERT_EQ(kept, expected);
    kept[5].append(u"tail");
    expected[5].append(u"tail");
    kept[6][0] = u'Z';
    expected[6][0] = u'Z';
    for (int i = 100; i < 2999; ++i)
        kept[i] = expected[i] = QString();
    kept[2999].append(QString(u'y').repeated(5000)); // the others of its block gone
    expected[2999].append(QString(u'y').repeated(5000));
    EXPECT_EQ(kept, expected);
}

TEST(Platform, ColoursHaveRedInTheLowByteAndSystemColoursComeFromThePalette) {
    EXPECT_EQ(platform::TColorToQColor(255), QColor(255, 0, 0));
    EXPECT_EQ(platform::TColorToQColor(16711680), QColor(0, 0, 255));
    EXPECT_EQ(platform::TColorToQColor(0x00336699), QColor(0x99, 0x66, 0x33));
    const QPalette palette = QGuiApplication::palette();
    EXPECT_EQ(platform::TColorToQColor(qint32(0x80000005)), palette.color(QPalette::Base));
    EXPECT_EQ(platform::TColorToQColor(qint32(0x80000008)), palette.color(QPalette::Text));
    EXPECT_EQ(platform::TColorToQColor(qint32(0x8000000D)), palette.color(QPalette::Highlight));
}

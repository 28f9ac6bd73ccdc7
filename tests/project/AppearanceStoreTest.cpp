#include "platform/Exception.h"
#include "project/Appearance.h"
#include "project/ProjectReader.h"

#include <QStringList>
#include <gtest/gtest.h>

using project::AppearanceSettings;
using project::FontSpec;

static void PrintTo(const QString &text, std::ostream *os) {
    *os << text.toStdString();
}

namespace {

bool IsTextValue(int k) {
    return k == 5 || (k >= 9 && k <= 12) || k == 16 || k == 20 || (k >= 24 && (k - 24) % 4 == 0);
}

// Every value distinct, so a value stored in the wrong place shows.
AppearanceSettings StoreDistinctValues() {
    AppearanceSettings settings;
    for (int k = 1; k <= 47; ++k)
        settings.Store(k, IsTextValue(k) ? QStringLiteral("N%1").arg(k) : QString::number(k * 10),
                       k);
    return settings;
}

void ExpectFont(const FontSpec &font, int firstValue) {
    SCOPED_TRACE(firstValue);
    EXPECT_EQ(font.Name, QStringLiteral("N%1").arg(firstValue));
    EXPECT_EQ(font.Color, (firstValue + 1) * 10);
    EXPECT_EQ(font.Size, (firstValue + 2) * 10);
    EXPECT_EQ(font.Style, (firstValue + 3) * 10);
}

TEST(AppearanceStoreTest, EachValueLandsInItsMember) {
    const AppearanceSettings s = StoreDistinctValues();
    ExpectFont(s.HtmlFont, 5);
    ExpectFont(s.TreeFont, 16);
    for (int i = 0; i < 6; ++i)
        ExpectFont(s.HtmlFont28To33[i], 24 + 4 * i);
    // The three colours stay text until they are applied.
    EXPECT_EQ(s.HtmlBackColorText, "N9");
    EXPECT_EQ(s.HtmlColor21Text, "N10");
    EXPECT_EQ(s.HtmlColor22Text, "N11");
    EXPECT_EQ(s.SpareGroupA.Text, "N12");
    EXPECT_EQ(s.SpareGroupA.Numbers, (std::array<qint32, 3>{130, 140, 150}));
    EXPECT_EQ(s.SpareGroupB.Text, "N20");
    EXPECT_EQ(s.SpareGroupB.Numbers, (std::array<qint32, 3>{210, 220, 230}));
}

TEST(AppearanceStoreTest, IntegerValuesMustConvertTextValuesNeedNot) {
    AppearanceSettings s;
    for (int k : {1, 2, 3, 4, 5, 9, 10, 11, 12, 16, 20, 24, 44, 0, 48})
        EXPECT_NO_THROW(s.Store(k, QStringLiteral("not a number"), 1)) << k;
    EXPECT_EQ(s.HtmlFont.Name, "not a number");

    for (int k : {6, 7, 8, 13, 14, 15, 17, 18, 19, 21, 22, 23, 25, 26, 27, 45, 46, 47}) {
        SCOPED_TRACE(k);
        try {
            s.Store(k, QStringLiteral("1x"), k + 7);
            ADD_FAILURE() << "no exception";
        } catch (const platform::EConvertError &e) {
            EXPECT_EQ(e.Message,
                      QStringLiteral("'1x' is not a valid integer value (line %1)").arg(k + 7));
        }
    }
}

// Hands the settings to AppearanceSettings, as the loader does.
class StoringSink : public project::ProjectSink {
public:
    void ContentsRecord(const QString &, const QString &, int) override { ++records; }
    void ContentsEnd() override {}
    void Setting(int k, const QString &value, int line) override {
        lastSetting = k;
        settings.Store(k, value, line);
    }
    void IndexRecord(const QString &) override { ++indexRecords; }

    AppearanceSettings settings;
    int records = 0;
    int indexRecords = 0;
    int lastSetting = 0;
};

TEST(AppearanceStoreTest, ConversionErrorFromSettingStopsTheRead) {
    // Without "^" every value is empty, and value 6 is the first that must be an integer.
    StoringSink sink;
    try {
        project::ReadHelpProject(QStringLiteral("[0,R,0]A@a*\r\nI@i*\r\n%"), sink);
        ADD_FAILURE() << "no exception";
    } catch (const platform::EConvertError &e) {
        EXPECT_EQ(e.Message, "'' is not a valid integer value (line 3)");
    }
    EXPECT_EQ(sink.records, 2);
    EXPECT_EQ(sink.lastSetting, 6);
    EXPECT_EQ(sink.indexRecords, 0);
}

TEST(AppearanceStoreTest, SizesAndStylesFromAnLfFile) {
    QStringList lines = {"[0,R,0]A@a*", "^", "*", "Title*", "icon.ico*", "*"};
    for (int k = 5; k <= 47; ++k)
        lines << (IsTextValue(k) ? QStringLiteral("Face%1*").arg(k)
                                 : QStringLiteral("%1*").arg(k % 10));
    lines << ""
          << "K@k*";
    StoringSink sink;
    project::ReadHelpProject(lines.join('\n'), sink);
    EXPECT_EQ(sink.indexRecords, 1);
    EXPECT_EQ(sink.settings.HtmlFont.Name, "Face5");
    EXPECT_EQ(sink.settings.HtmlFont.Size, 7);
    EXPECT_EQ(sink.settings.TreeFont.Style, 9);
    EXPECT_EQ(sink.settings.HtmlFont28To33[5].Name, "Face44");
    EXPECT_EQ(sink.settings.HtmlFont28To33[5].Style, 7);
}

} // namespace

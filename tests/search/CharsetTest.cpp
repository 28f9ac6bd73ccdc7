#include "app/Unit1.h"
#include "platform/THTML.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

// UTF-8 text in another charset, by the C library's own converter.
QByteArray Iconv(const QString &charset, const QString &text) {
    QProcess iconv;
    iconv.start(QStringLiteral("iconv"),
                {QStringLiteral("-f"), QStringLiteral("UTF-8"), QStringLiteral("-t"), charset});
    iconv.write(text.toUtf8());
    iconv.closeWriteChannel();
    iconv.waitForFinished();
    EXPECT_EQ(iconv.exitCode(), 0) << qPrintable(charset);
    return iconv.readAllStandardOutput();
}

// Pages as their authors' tools wrote them: the charset declared in a <meta> (both forms), or
// only a byte-order mark.
const struct {
    const char *charset;
    const char *declaration; // %1 is the charset; empty: none
    const char *phrase;
} Pages[] = {
    {"windows-1250", "<meta charset=\"%1\">", "Žluťoučký kůň úpěl"},
    {"windows-1251", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=%1\">",
     "Параметры печати"},
    {"KOI8-R", "<META HTTP-EQUIV=\"content-type\" CONTENT=\"text/html;charset=%1\">",
     "Настройка принтера"},
    {"ISO-8859-2", "<meta charset=%1>", "Zażółć gęślą jaźń"},
    {"Shift_JIS", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=%1\">",
     "印刷の設定とヘルプ"},
    {"EUC-JP", "<meta charset=\"%1\">", "日本語のヘルプ画面"},
    {"GB18030", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=%1\">",
     "打印机帮助主题"},
    {"Big5", "<meta charset='%1'>", "說明主題與列印"},
    {"EUC-KR", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=%1\">",
     "도움말 항목 인쇄"},
    {"UTF-16", "", "Ünïcödé with a byte-order mark"},
};

} // namespace

TEST(Charsets, PagesShowAndSearchInTheCharsetTheyDeclare) {
    HelpFolder folder;
    QStringList contents;
    for (int i = 0; i < int(std::size(Pages)); ++i) {
        QString declaration = QString::fromUtf8(Pages[i].declaration);
        if (!declaration.isEmpty())
            declaration = declaration.arg(QLatin1String(Pages[i].charset));
        const QString html = QStringLiteral("<html><head>%1<title>Page</title></head><body>"
                                            "<h1>Page %2</h1><p>%3</p></body></html>")
                                 .arg(declaration)
                                 .arg(i)
                                 .arg(QString::fromUtf8(Pages[i].phrase));
        folder.Write(QStringLiteral("page%1.htm").arg(i),
                     Iconv(QLatin1String(Pages[i].charset), html));
        contents << QStringLiteral("[%1,R,0]%2@page%1.htm").arg(i).arg(Pages[i].charset);
    }
    folder.WriteText("help.vlp", MakeProject(contents, {}));
    MessageRecorder messages;
    Viewer viewer(folder, "help.vlp");
    TForm1 *form = viewer.form1();
    messages.Messages.clear();

    for (int i = 0; i < int(std::size(Pages)); ++i) {
        SCOPED_TRACE(Pages[i].charset);
        const QString phrase = QString::fromUtf8(Pages[i].phrase);
        form->RadioGroup1->SetItemIndex(0);
        form->RadioGroup1Click();
        form->Edit1->setText(phrase);
        form->BitBtn1Click();
        ASSERT_EQ(form->ListBox5->count(), 1);
        EXPECT_EQ(form->ListBox6->item(0)->text(), QStringLiteral("page%1.htm").arg(i));

        form->ListBox5->setCurrentRow(0);
        form->ListBox5Click();
        Viewer::Settle();
        EXPECT_TRUE(viewer.Url().endsWith(QStringLiteral("/page%1.htm").arg(i)));
        EXPECT_TRUE(form->HTML1->document()->toPlainText().contains(phrase))
            << qPrintable(form->HTML1->document()->toPlainText());
    }
    EXPECT_EQ(messages.Texts(), QStringList());
}

#include "ReadingFixture.h"

#include "app/Unit2.h"
#include "reading/Printing.h"

#include <QClipboard>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <functional>

using testing_support::Viewer;

namespace {
// The size in points the word `word` is laid out in.
double pointSizeOf(platform::THTML *html, const QString &word) {
    QTextCursor cursor = html->document()->find(word);
    return cursor.charFormat().font().resolve(html->document()->defaultFont()).pointSizeF();
}
} // namespace

TEST_F(ReadingFixture, ZoomStaysForEveryPageAndIsBounded) {
    const double bodySize = html()->Font(0).Size();
    const double shown = pointSizeOf(html(), "pie");
    html()->setFocus();
    struct Step {
        QKeySequence keys;
        int times;
        int zoom;
    };
    const Step steps[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), 1, 110},
        {QKeySequence(Qt::CTRL | Qt::Key_Equal), 1, 125},
        {QKeySequence(Qt::CTRL | Qt::Key_Minus), 1, 110},
        {QKeySequence(Qt::CTRL | Qt::Key_0), 1, 100},
        {QKeySequence(Qt::CTRL | Qt::Key_Minus), 20, 50},
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), 30, 400},
        {QKeySequence(Qt::CTRL | Qt::Key_0), 1, 100},
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), 5, 200},
    };
    for (const Step &step : steps) {
        for (int i = 0; i < step.times; ++i)
            keys(step.keys);
        EXPECT_EQ(html()->Zoom(), step.zoom) << step.keys.toString().toStdString();
    }
    EXPECT_DOUBLE_EQ(pointSizeOf(html(), "pie"), 2 * shown);

    // Kept by the next page, laid out at that size; the fonts applied stay as they were, and
    // the extractor's control does not zoom.
    click(viewer->Node("Book"));
    ASSERT_EQ(page(), "p1.htm");
    EXPECT_EQ(html()->Zoom(), 200);
    EXPECT_DOUBLE_EQ(pointSizeOf(html(), "apple"), 2 * shown);
    EXPECT_EQ(html()->Font(0).Size(), bodySize);
    EXPECT_EQ(html()->GetTFontProp(platform::THTML::FontBody)->Size(), bodySize);
    EXPECT_EQ(Form2->HTML1->Zoom(), 100);

    // Ctrl and the wheel.
    QWheelEvent wheel(QPointF(50, 50), html()->viewport()->mapToGlobal(QPointF(50, 50)), {},
                      QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(html()->viewport(), &wheel);
    EXPECT_EQ(html()->Zoom(), 250);
}

TEST_F(ReadingFixture, PageMenuDoesWhatItsKeysDo) {
    QClipboard *clipboard = QApplication::clipboard();
    const auto pointAt = [this](const QString &text) {
        QTextCursor cursor = html()->document()->find(text);
        cursor.setPosition(cursor.selectionStart() + 1);
        return html()->cursorRect(cursor).center();
    };
    // Opens the menu with a right click at `text`; the caller closes it.
    const auto open = [&](const QString &text) -> QMenu * {
        QContextMenuEvent event(QContextMenuEvent::Mouse, pointAt(text),
                                html()->viewport()->mapToGlobal(pointAt(text)));
        QApplication::sendEvent(html()->viewport(), &event);
        return qobject_cast<QMenu *>(QApplication::activePopupWidget());
    };
    const auto texts = [](QMenu *menu) {
        QStringList list;
        for (QAction *action : menu->actions())
            if (!action->isSeparator())
                list << action->text();
        return list;
    };
    const auto choose = [&](const QString &at, const QString &entry) {
        QMenu *menu = open(at);
        ASSERT_TRUE(menu) << entry.toStdString();
        for (QAction *action : menu->actions())
            if (action->text() == entry) {
                ASSERT_TRUE(action->isEnabled()) << entry.toStdString();
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                Viewer::Settle();
                return;
            }
        menu->close();
        FAIL() << "no entry " << entry.toStdString();
    };

    QMenu *onLink = open("one");
    ASSERT_TRUE(onLink);
    EXPECT_EQ(
        texts(onLink),
        (QStringList{"Go Back", "Go Forward", "Copy", "Select All", "Copy Link Address", "Find...",
                     "Print...", "Print Preview...", "Zoom In", "Zoom Out", "Reset Zoom"}));
    onLink->close();
    Viewer::Settle();
    QMenu *onText = open("Welcome");
    ASSERT_TRUE(onText);
    EXPECT_FALSE(texts(onText).contains("Copy Link Address"));
    onText->close();
    Viewer::Settle();

    choose("one", "Copy Link Address");
    EXPECT_EQ(clipboard->text(), QUrl::fromLocalFile(folder.Path() + "/p1.htm").toString());

    struct Step {
        const char *entry;
        std::function<bool()> done;
    };
    const Step steps[] = {
        {"Select All", [&] { return selected().startsWith("Welcome"); }},
        {"Copy", [&] { return clipboard->text().contains("Apple pie"); }},
        {"Zoom In", [&] { return html()->Zoom() == 110; }},
        {"Zoom Out", [&] { return html()->Zoom() == 100; }},
        {"Zoom In", [&] { return html()->Zoom() == 110; }},
        {"Reset Zoom", [&] { return html()->Zoom() == 100; }},
        {"Go Back", [&] { return messages.Texts() == QStringList{"Bottom of History List."}; }},
        {"Go Forward",
         [&] {
             return messages.Texts() ==
                    QStringList{"Bottom of History List.", "End of History List."};
         }},
        {"Find...", [&] { return bar()->isVisible(); }},
    };
    for (const Step &step : steps) {
        choose("Welcome", step.entry);
        EXPECT_TRUE(step.done()) << step.entry;
    }

    // The same from the keyboard in the page.
    clipboard->clear();
    form()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form()));
    html()->setFocus();
    keys(QKeySequence(Qt::CTRL | Qt::Key_A));
    keys(QKeySequence(Qt::CTRL | Qt::Key_C));
    EXPECT_TRUE(clipboard->text().startsWith("Welcome"));
}

TEST_F(ReadingFixture, SearchHitsAreMarkedInTheResultShown) {
    const auto search = [this](const QString &phrase, int caseItem) {
        form()->RadioGroup1->findChildren<QAbstractButton *>().at(caseItem)->click();
        form()->Edit1->setText(phrase);
        QTest::mouseClick(form()->BitBtn1, Qt::LeftButton);
        Viewer::Settle();
    };
    const auto openResult = [this](const QString &title) {
        const auto items = form()->ListBox5->findItems(title, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << title.toStdString();
        QTest::mouseClick(form()->ListBox5->viewport(), Qt::LeftButton, {},
                          form()->ListBox5->visualItemRect(items.first()).center());
        Viewer::Settle();
    };
    form()->PageControl1->setCurrentIndex(2);

    search("BANANA", 0);
    openResult("Two");
    ASSERT_EQ(page(), "p2.htm");
    EXPECT_EQ(marks(), 1);
    EXPECT_EQ(selected(), "Banana");
    // Far down the page, scrolled into view.
    EXPECT_GT(html()->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(html()->viewport()->rect().contains(html()->cursorRect()));

    // The rule of the search that found the page, whatever is chosen since.
    form()->RadioGroup1->findChildren<QAbstractButton *>().at(1)->click();
    openResult("Three");
    EXPECT_EQ(marks(), 2);
    EXPECT_EQ(selected(), "Banana");

    search("banana", 1);
    openResult("Three");
    EXPECT_EQ(marks(), 1);
    EXPECT_EQ(selected(), "banana");

    click(viewer->Node("Welcome"));
    ASSERT_EQ(page(), "p0.htm");
    EXPECT_EQ(marks(), 0);
    EXPECT_EQ(selected(), "");
}

TEST_F(ReadingFixture, PrintingToPdfHoldsThePageText) {
    html()->SetZoom(300); // printed at the page's own size all the same
    QTemporaryDir dir;
    const QString pdf = dir.filePath("page.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    reading::PrintPage(html(), &printer);
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(30000)) << "pdftotext (poppler-utils) did not run";
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    for (const char *words : {"Welcome", "Apple pie. An apple a day.", "APPLE cider", "one"})
        EXPECT_TRUE(printed.contains(words)) << words << " not in: " << printed.toStdString();
    EXPECT_EQ(printed.count("\f"), 1); // one page, not zoomed onto several

    // Ctrl+P opens the print dialog, whose preview button opens a preview of the page.
    bool offered = false;
    int previewPages = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (qobject_cast<QPrintDialog *>(dialog)) {
            for (QPushButton *button : dialog->findChildren<QPushButton *>())
                if (button->text() == "Print Preview..." && !offered) {
                    offered = true;
                    QTest::mouseClick(button, Qt::LeftButton);
                    return;
                }
        } else if (qobject_cast<QPrintPreviewDialog *>(dialog)) {
            if (auto *preview = dialog->findChild<QPrintPreviewWidget *>())
                previewPages = preview->pageCount();
        }
        dialog->reject();
    });
    poll.start(50);
    html()->setFocus();
    keys(QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_TRUE(offered);
    EXPECT_EQ(previewPages, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

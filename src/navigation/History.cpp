#include "app/Unit1.h"
#include "platform/MessageBox.h"

namespace {
const QString HistoryCaption = QStringLiteral("History List!");
const QString Bottom = QStringLiteral("Bottom of History List.");
const QString End = QStringLiteral("End of History List.");
} // namespace

// Home
void TForm1::SpeedButton1Click() {
    if (ViewerReady != 1)
        return;
    SuppressHistory = 1;
    const QString notFound = QStringLiteral("Html File not Found.");
    const QString helpError = QStringLiteral("Html Help Error!");
    if (ListBox2->count() == 0) {
        platform::MessageBoxA(notFound, helpError);
        return;
    }
    ShowTopic(ListBox2->item(0)->text(), navigation::LengthRule::AtLeast14, notFound, helpError);
}

namespace {
// The node target entry a history entry names; empty when it names none.
QString historyTopic(const QListWidget *history, const QListWidget *targets, int position) {
    bool ok = false;
    const int k = history->item(position)->text().toInt(&ok);
    if (!ok || k < 0 || k >= targets->count())
        return {};
    return targets->item(k)->text();
}
} // namespace

// Go Back
void TForm1::SpeedButton2Click() {
    if (ViewerReady != 1)
        return;
    const int position = ListBox4->currentRow();
    if (position <= 0) {
        platform::MessageBoxA(Bottom, HistoryCaption);
        return;
    }
    SuppressHistory = 1;
    ListBox4->setCurrentRow(position - 1);
    const QString entry = historyTopic(ListBox4, ListBox2, position - 1);
    if (entry.isNull())
        platform::MessageBoxA(Bottom, HistoryCaption);
    else
        ShowTopic(entry, navigation::LengthRule::AtLeast14, Bottom, HistoryCaption);
}

// Go Forward
void TForm1::SpeedButton3Click() {
    if (ViewerReady != 1)
        return;
    SuppressHistory = 1;
    const int position = ListBox4->currentRow();
    if (position < 0 || position + 1 >= ListBox4->count()) {
        platform::MessageBoxA(End, HistoryCaption);
        return;
    }
    ListBox4->setCurrentRow(position + 1);
    const QString entry = historyTopic(ListBox4, ListBox2, position + 1);
    if (entry.isNull())
        platform::MessageBoxA(End, HistoryCaption);
    else
        ShowTopic(entry, navigation::LengthRule::AtLeast14, End, HistoryCaption);
}

// Refresh: only folds the Contents tree; the page is not requested again.
void TForm1::SpeedButton4Click() {
    TreeView1->collapseAll();
}

// Exit Help
void TForm1::SpeedButton5Click() {
    close();
}

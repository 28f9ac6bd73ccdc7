#include "app/Unit1.h"
#include "app/Unit2.h"
#include "platform/FileSystem.h"
#include "platform/InputBlock.h"
#include "platform/MessageBox.h"
#include "search/LowerCase.h"
#include "search/SearchMatch.h"

namespace search {
const QString CreditsPhrase = QStringLiteral("Vellumo Credits");
const QString CreditsText =
    QStringLiteral("Vellumo help viewer\nWritten by the Vellumo team.\nThank you for reading.");
} // namespace search

void TForm1::RadioGroup1Click() {
    const int item = RadioGroup1->ItemIndex();
    if (item == 0)
        CaseSensitive = 0;
    else if (item == 1)
        CaseSensitive = 1;
}

void TForm1::Edit1KeyPress(QChar &key) {
    if (key == QChar(13))
        BitBtn1Click();
}

void TForm1::BitBtn1Click() {
    SearchText = Edit1->text();
    qsizetype length = SearchText.size();
    if (SearchText == search::CreditsPhrase) {
        platform::MessageBoxA(search::CreditsText, QStringLiteral("CopyRights"));
        Edit1->setText(QString());
        length = -1;
    }
    if (length <= 0)
        return;

    ListBox5->clear();
    ListBox6->clear();
    const std::optional<QStringList> names = platform::ListDirectory(HelpDir);
    if (!names)
        return;

    QStringList entries;
    entries.reserve(ListBox2->count());
    for (int i = 0; i < ListBox2->count(); ++i)
        entries << ListBox2->item(i)->text();
    const search::PageMatcher matcher(entries);

    // One block for the whole search: the main window takes no input, yet repaints, so the
    // result list is seen to grow.
    platform::InputBlock block(this);
    for (const QString &name : *names) {
        const QString lowerName = name.toLower();
        if (!search::IsCandidatePage(lowerName))
            continue;
        // Opened under its name as listed, for file systems that respect letter case.
        PageURL = MakeTopicURL(HelpDir + name);
        Form2->ShowModal();
        if (CaseSensitive == 0) {
            search::LowerCase(PageText);
            search::LowerCase(SearchText);
        }
        if (!PageText.contains(SearchText))
            continue;
        const int match = matcher.Find(lowerName);
        if (match < 0)
            continue;
        const QString &entry = entries.at(match);
        const qsizetype at = entry.indexOf(u'@');
        if (at < 0)
            continue;
        ListBox5->addItem(entry.left(at));
        ListBox6->addItem(entry.mid(at + 1));
    }
}

#include "app/Unit1.h"
#include "project/Record.h"

void TForm1::HTML1EndRetrieval() {
    const QString url = HTML1->GetWideStringProp(platform::THTML::PropDocumentUrl);
    const int count = ListBox2->count();
    if (count == 0)
        return;
    const QString page = navigation::PageName(url).toLower();
    for (int i = 0; i < count; ++i) {
        if (project::TopicTarget(ListBox2->item(i)->text()).toLower() != page)
            continue;
        CurrentNode = NodeTable[static_cast<size_t>(i)];
        SelectNode(CurrentNode);
        // The change's handlers may have waited for a box while the user picked another node.
        if (CurrentNode)
            CurrentNode->setSelected(true);
        return;
    }
    // No Contents entry names this page (a link outside the Contents, a fragment, a page in a
    // subfolder): the page stays on screen and the tree as it is.
}

#include "app/Unit1.h"
#include "platform/PixelIcon.h"
#include "project/KeywordOrder.h"
#include "project/NodeNumber.h"
#include "project/Record.h"

namespace {

// A node's icon: its image, and its selected image for when it is selected.
QIcon nodeIcon(const std::array<QIcon, 4> &images, int image, int selected) {
    return platform::SelectedVariant(images[image], images[selected]);
}

// Position at which `keyword` goes into a list sorted alphabetically without regard to case;
// after the entries that compare equal, so equal keywords keep their file order.
int sortedPosition(const QListWidget *list, const QString &keyword) {
    int low = 0;
    int high = list->count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (project::CompareKeywords(keyword, list->item(middle)->text()) < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

} // namespace

void TForm1::CompleteContentsRecord(const QString &body, const QString &type, int parent) {
    const bool book = type == u"R" || type == u"F";
    if (!book && type != u"P")
        return; // any other entry type makes nothing and uses no creation number

    // A parent number that names no node made earlier makes a top-level node, so nothing of
    // the file is lost and the creation numbers stay in step.
    TTreeNode *parentNode = nullptr;
    if (type != u"R" && parent >= 0 && static_cast<size_t>(parent) < NodeTable.size())
        parentNode = NodeTable[static_cast<size_t>(parent)];
    // Beyond the deepest level a node hangs beside its parent instead of under it.
    TTreeNode *home = parentNode;
    if (home && project::NodeDepth(home) + 1 >= project::MaxNodeDepth)
        home = home->parent();

    auto *node = new QTreeWidgetItem(QStringList{project::Caption(body)});
    const int number = static_cast<int>(NodeTable.size());
    project::SetNodeNumber(node, number);
    if (type == u"R") {
        TreeView1->addTopLevelItem(node);
        SelectNode(node);
        CurrentNode = node;
    } else if (parentNode) {
        CurrentNode = parentNode;
        if (type == u"F")
            SelectNode(parentNode);
        if (home)
            home->addChild(node);
        else
            TreeView1->addTopLevelItem(node);
        project::SetNodeDepth(node, home ? project::NodeDepth(home) + 1 : 0);
    } else {
        TreeView1->addTopLevelItem(node);
    }
    ListBox2->addItem(body);
    NodeTable.push_back(node);
    const int image = book ? 0 : 2;
    node->setIcon(0, nodeIcon(ImageList1, image, image + 1));
    project::SetNodeImages(node, image, image + 1);
}

void TForm1::CompleteIndexRecord(const QString &body) {
    const QString keyword = project::Caption(body);
    const int record = ListBox3->count();
    ListBox3->addItem(body);
    auto *entry = new QListWidgetItem(keyword);
    // The keyword keeps its own record, wherever sorting puts it.
    entry->setData(Qt::UserRole, record);
    ListBox1->insertItem(sortedPosition(ListBox1, keyword), entry);
}

#include "app/Unit1.h"
#include "platform/MessageBox.h"
#include "project/NodeNumber.h"

namespace {
const QString NotFound = QStringLiteral("Html File not Found.");
const QString HelpError = QStringLiteral("Html Help Error!");
} // namespace

void TForm1::SelectNode(TTreeNode *node) {
    // Selecting the selected node changes nothing: a node the user has just folded away stays
    // folded when its page arrives again.
    if (node == TreeView1->currentItem())
        return;
    // Shown first, the way the tree shows a newly selected node, then selected: the change's
    // handlers may wait for a message box while the user picks another node.
    OpenParents(node);
    // While loading the tree is hidden and lays out only once, for the final selection.
    if (ViewerReady == 1)
        TreeView1->scrollToItem(node);
    TreeView1->setCurrentItem(node);
}

void TForm1::OpenParents(TTreeNode *node) {
    // From the top down each level is laid out once; the tree's own scrolling opens them
    // bottom up and lays every opened level out again.
    std::vector<TTreeNode *> parents;
    for (TTreeNode *parent = node->parent(); parent; parent = parent->parent())
        parents.push_back(parent);
    for (auto it = parents.rbegin(); it != parents.rend(); ++it)
        (*it)->setExpanded(true);
}

void TForm1::RevealNode(TTreeNode *node) {
    OpenParents(node);
    TreeView1->scrollToItem(node);
}

void TForm1::TreeView1Change() {
    CurrentNode = TreeView1->currentItem();
    if (!CurrentNode || ViewerReady != 1 || SuppressHistory != 0)
        return;
    // The history names a node by its creation number: the position of its own entry.
    ListBox4->addItem(QString::number(project::NodeNumber(CurrentNode)));
    ListBox4->setCurrentRow(ListBox4->count() - 1);
    TreeView1Click();
}

void TForm1::TreeView1Click() {
    if (!CurrentNode) {
        platform::MessageBoxA(NotFound, HelpError);
        return;
    }
    SuppressHistory = 0;
    CurrentNode = TreeView1->currentItem();
    if (!CurrentNode) {
        platform::MessageBoxA(NotFound, HelpError);
        return;
    }
    CurrentNode->setSelected(true);
    const int count = ListBox2->count();
    const int position = CurrentNode == LastNode ? count - 1 : project::NodeNumber(CurrentNode);
    if (count == 0 || position < 0 || position >= count) {
        platform::MessageBoxA(NotFound, HelpError);
        return;
    }
    ShowTopic(ListBox2->item(position)->text(), navigation::LengthRule::AtLeast14, NotFound,
              HelpError);
}

void TForm1::ListBox1Click() {
    if (ListBox1->count() == 0)
        return;
    if (!ListBox1->currentItem() || !ListBox1->currentItem()->isSelected())
        ListBox1->setCurrentRow(0);
    // The keyword's own index record, not the one at the same position in file order.
    const int record = ListBox1->currentItem()->data(Qt::UserRole).toInt();
    if (record < 0 || record >= ListBox3->count())
        return;
    ShowTopic(ListBox3->item(record)->text(), navigation::LengthRule::MoreThan14, NotFound,
              HelpError);
}

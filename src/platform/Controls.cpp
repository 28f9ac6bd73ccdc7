#include "platform/Controls.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QRadioButton>
#include <QVBoxLayout>

namespace platform {

void TListBox::mouseReleaseEvent(QMouseEvent *event) {
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit Click();
}

void TListBox::keyPressEvent(QKeyEvent *event) {
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before)
        emit Click();
}

TTreeView::~TTreeView() {
    // A tree being destroyed tells nobody: its owner may already be half gone.
    blockSignals(true);
    // QTreeWidgetItem deletes its children recursively; take the tree apart leaf by leaf.
    std::vector<QTreeWidgetItem *> stack;
    while (topLevelItemCount() > 0) {
        stack.push_back(takeTopLevelItem(topLevelItemCount() - 1));
        while (!stack.empty()) {
            QTreeWidgetItem *node = stack.back();
            if (node->childCount() > 0) {
                stack.push_back(node->takeChild(node->childCount() - 1));
            } else {
                stack.pop_back();
                delete node;
            }
        }
    }
}

void TTreeView::mouseReleaseEvent(QMouseEvent *event) {
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit Click();
}

void TEdit::keyPressEvent(QKeyEvent *event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        emit KeyPress(QChar(13));
    else if (!event->text().isEmpty())
        emit KeyPress(event->text().at(0));
    QLineEdit::keyPressEvent(event);
}

TRadioGroup::TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent)
    : QGroupBox(caption, parent), buttons(new QButtonGroup(this)) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 2, 8, 2);
    layout->setSpacing(0);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items.at(i), this);
        buttons->addButton(button, i);
        layout->addWidget(button);
    }
    connect(buttons, &QButtonGroup::idClicked, this, [this] { emit Click(); });
}

int TRadioGroup::ItemIndex() const {
    return buttons->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    if (QAbstractButton *button = buttons->button(index))
        button->setChecked(true);
}

} // namespace platform

#include "platform/Controls.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QPointer>
#include <QRadioButton>
#include <QVBoxLayout>

namespace platform {

namespace {

// Only a plain left click picks: Qt would select with any button, and toggle with Ctrl.
bool plainLeft(const QMouseEvent *event) {
    return event->button() == Qt::LeftButton &&
           !(event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier));
}

} // namespace

void TListBox::HoldLayout(bool held) {
    layoutHeld = held;
    if (!held && layoutPending) {
        layoutPending = false;
        doItemsLayout();
    }
}

void TListBox::doItemsLayout() {
    if (layoutHeld) {
        layoutPending = true;
        return;
    }
    QListWidget::doItemsLayout();
}

void TListBox::mousePressEvent(QMouseEvent *event) {
    event->accept();
    picked = false;
    if (!plainLeft(event))
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return; // the blank area under the last entry
    setCurrentRow(index.row(), QItemSelectionModel::ClearAndSelect);
    picked = true;
}

void TListBox::mouseDoubleClickEvent(QMouseEvent *event) {
    mousePressEvent(event); // the second press of a double click picks again
}

void TListBox::mouseMoveEvent(QMouseEvent *event) {
    if (event->buttons() != Qt::NoButton) {
        event->accept(); // dragging never moves the selection
        return;
    }
    QListWidget::mouseMoveEvent(event);
}

void TListBox::mouseReleaseEvent(QMouseEvent *event) {
    event->accept();
    if (event->button() != Qt::LeftButton || !picked)
        return;
    picked = false;
    emit Click();
}

void TListBox::keyPressEvent(QKeyEvent *event) {
    const int before = currentRow();
    const bool hadSelection = !selectedItems().isEmpty();
    QListWidget::keyPressEvent(event);
    const int row = currentRow();
    // A move selects where it lands (Ctrl+arrows would only move the focus), and no key
    // leaves the list without a selection (Ctrl+Space would).
    if (row >= 0 && (row != before || hadSelection) && !item(row)->isSelected())
        setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    if (row >= 0 && row != before)
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

QTreeWidgetItem *TTreeView::indicatorAt(const QPoint &pos) const {
    QTreeWidgetItem *node = itemAt(pos);
    if (!node || node->childCount() == 0 || (!node->parent() && !rootIsDecorated()))
        return nullptr;
    // The indicator fills the last indentation step before the node's own rectangle.
    const QRect own = visualItemRect(node);
    const int left = isRightToLeft() ? own.right() + 1 : own.left() - indentation();
    return pos.x() >= left && pos.x() < left + indentation() ? node : nullptr;
}

void TTreeView::mousePressEvent(QMouseEvent *event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    if (QTreeWidgetItem *node = indicatorAt(pos)) {
        node->setExpanded(!node->isExpanded());
        return;
    }
    QTreeWidgetItem *node = itemAt(pos);
    if (!node)
        return; // the empty area below the last node
    // The change's handlers may wait for a message box in a local loop, where the button can
    // come up: that click is raised once they are done, not inside them.
    const QPointer<TTreeView> self(this);
    pressing = true;
    releasedInPress = false;
    setCurrentItem(node, 0, QItemSelectionModel::ClearAndSelect);
    if (!self)
        return;
    pressing = false;
    if (releasedInPress)
        emit Click();
}

void TTreeView::mouseDoubleClickEvent(QMouseEvent *event) {
    // The second press of a double click; on a node's row it also opens or closes the node.
    const QPoint pos = event->position().toPoint();
    QTreeWidgetItem *node =
        event->button() == Qt::LeftButton && !indicatorAt(pos) ? itemAt(pos) : nullptr;
    const QPointer<TTreeView> self(this);
    mousePressEvent(event);
    if (self && node && node->childCount() > 0)
        node->setExpanded(!node->isExpanded());
}

void TTreeView::mouseMoveEvent(QMouseEvent *event) {
    if (event->buttons() != Qt::NoButton) {
        event->accept(); // dragging never moves the selection
        return;
    }
    QTreeWidget::mouseMoveEvent(event);
}

void TTreeView::mouseReleaseEvent(QMouseEvent *event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    if (pressing)
        releasedInPress = true;
    else
        emit Click();
}

void TTreeView::keyPressEvent(QKeyEvent *event) {
    QTreeWidget::keyPressEvent(event);
    // The tree always shows its current node selected: Ctrl+arrows would only move the focus,
    // and Ctrl+Space would deselect.
    if (QTreeWidgetItem *node = currentItem(); node && !node->isSelected())
        setCurrentItem(node, 0, QItemSelectionModel::ClearAndSelect);
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

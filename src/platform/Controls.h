#pragma once

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

class QButtonGroup;

// The few controls whose events differ from Qt's own: a click is the user's pick (mouse or
// keyboard), never a change the program makes itself.
namespace platform {

// A single-selection list box. Click() when the user picks an entry: a left click on an entry
// (also the selected one) or a keyboard move of the selection. A click elsewhere, with another
// button or with Ctrl or Shift, and dragging with the button held, leave the selection alone.
class TListBox : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;

    // While held, the entries are laid out only once it is released, however many are added
    // meanwhile: each layout measures the entries again, twice per entry added.
    void HoldLayout(bool held);
    void doItemsLayout() override;

signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool picked = false; // a left press chose an entry; its release raises Click()
    bool layoutHeld = false;
    bool layoutPending = false;
};

// A tree view. A left press on a node selects it; dragging never moves the selection; right and
// middle clicks do nothing; the expand indicator opens or closes its node without selecting it.
// Click() on every left click anywhere in it. Its nodes are deleted without recursion, however
// deep they nest.
class TTreeView : public QTreeWidget {
    Q_OBJECT
public:
    using QTreeWidget::QTreeWidget;
    ~TTreeView() override;
signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The node whose expand indicator is at `pos`, or null.
    QTreeWidgetItem *indicatorAt(const QPoint &pos) const;
    bool pressing = false;        // the press's own handlers are still running
    bool releasedInPress = false; // ... and the button came up meanwhile
};

// An edit box that reports every key typed in it (Enter as carriage return, 13) before the
// box handles it.
class TEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
signals:
    void KeyPress(QChar key);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// A captioned group of radio buttons with the index of the chosen item (-1 for none).
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent);
    int ItemIndex() const;
    void SetItemIndex(int index);
signals:
    // The user chose another item.
    void Click();

private:
    QButtonGroup *buttons;
};

} // namespace platform

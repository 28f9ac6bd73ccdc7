#pragma once

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

class QButtonGroup;

// The few controls whose events differ from Qt's own: a click is the user's pick (mouse or
// keyboard), never a change the program makes itself.
namespace platform {

// A list box: Click() when the user clicks it or moves its current entry with the keyboard.
class TListBox : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;
signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

// A tree view: Click() on a mouse click anywhere in it. Its nodes are deleted without
// recursion, however deep they nest.
class TTreeView : public QTreeWidget {
    Q_OBJECT
public:
    using QTreeWidget::QTreeWidget;
    ~TTreeView() override;
signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
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

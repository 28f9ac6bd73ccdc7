#include "reading/ReadingTools.h"

#include "app/Unit1.h"
#include "platform/InputBlock.h"
#include "platform/MessageBox.h"
#include "reading/FindBar.h"
#include "reading/Highlights.h"
#include "reading/Printing.h"
#include "reading/ZoomSteps.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

namespace reading {

namespace {
// The platform's keys for `standard`, and always `key`, which readers know from every
// platform (Windows' own scheme, for one, has no key to quit).
QList<QKeySequence> keys(QKeySequence::StandardKey standard, const QKeySequence &key) {
    QList<QKeySequence> list = QKeySequence::keyBindings(standard);
    if (!list.contains(key))
        list.prepend(key);
    return list;
}
} // namespace

ReadingTools::ReadingTools(TForm1 *form) : QObject(form), form(form) {
    platform::THTML *html = form->HTML1;
    marks = new Highlights(html);
    findBar = new FindBar(html, marks);

    const auto press = [](QToolButton *button) { return [button] { button->click(); }; };
    Back = action(QStringLiteral("Go Back"),
                  keys(QKeySequence::Back, QKeySequence(Qt::ALT | Qt::Key_Left)),
                  press(form->SpeedButton2));
    Forward = action(QStringLiteral("Go Forward"),
                     keys(QKeySequence::Forward, QKeySequence(Qt::ALT | Qt::Key_Right)),
                     press(form->SpeedButton3));
    Home = action(QStringLiteral("Home"), {QKeySequence(Qt::ALT | Qt::Key_Home)},
                  press(form->SpeedButton1));
    Refresh =
        action(QStringLiteral("Refresh"), keys(QKeySequence::Refresh, QKeySequence(Qt::Key_F5)),
               press(form->SpeedButton4));
    Quit = action(QStringLiteral("Exit Help"),
                  keys(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)),
                  press(form->SpeedButton5));

    for (int tab = 0; tab < 3; ++tab)
        action(form->PageControl1->tabText(tab),
               {QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + tab))},
               [this, tab] { showTab(tab, true); });
    const auto cycle = [this](int step) {
        return [this, step] {
            const bool inTabs = this->form->PageControl1->isAncestorOf(QApplication::focusWidget());
            showTab((this->form->PageControl1->currentIndex() + step + 3) % 3, inTabs);
        };
    };
    action(QStringLiteral("Next Tab"), {QKeySequence(Qt::CTRL | Qt::Key_Tab)}, cycle(1));
    action(QStringLiteral("Previous Tab"),
           {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)},
           cycle(-1));
    action(QStringLiteral("Switch Pane"), {QKeySequence(Qt::Key_F6)}, [this] { switchSide(); });

    FindInPage = action(QStringLiteral("Find..."),
                        keys(QKeySequence::Find, QKeySequence(Qt::CTRL | Qt::Key_F)),
                        [this] { findBar->Open(); });
    FindNext =
        action(QStringLiteral("Find Next"), keys(QKeySequence::FindNext, QKeySequence(Qt::Key_F3)),
               [this] { findBar->Next(); });
    FindPrevious = action(QStringLiteral("Find Previous"),
                          keys(QKeySequence::FindPrevious, QKeySequence(Qt::SHIFT | Qt::Key_F3)),
                          [this] { findBar->Previous(); });
    CloseFind = action(QStringLiteral("Close Find"), {QKeySequence(Qt::Key_Escape)},
                       [this] { findBar->Close(); });

    ZoomIn = action(QStringLiteral("Zoom In"),
                    keys(QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Plus)) +
                        QList{QKeySequence(Qt::CTRL | Qt::Key_Equal)},
                    [this, html] { zoomTo(ZoomedIn(html->Zoom())); });
    ZoomOut = action(QStringLiteral("Zoom Out"),
                     keys(QKeySequence::ZoomOut, QKeySequence(Qt::CTRL | Qt::Key_Minus)),
                     [this, html] { zoomTo(ZoomedOut(html->Zoom())); });
    ZoomReset = action(QStringLiteral("Reset Zoom"), {QKeySequence(Qt::CTRL | Qt::Key_0)},
                       [this] { zoomTo(ZoomNormal); });
    Print = action(QStringLiteral("Print..."),
                   keys(QKeySequence::Print, QKeySequence(Qt::CTRL | Qt::Key_P)),
                   [form, html] { OpenPrintDialog(html, form); });
    PrintPreview = action(QStringLiteral("Print Preview..."), {},
                          [form, html] { OpenPrintPreview(html, form); });

    // The page handles its own copy and select-all keys; these are for the menu.
    Copy = new QAction(QStringLiteral("Copy"), this);
    Copy->setShortcut(QKeySequence::Copy);
    Copy->setShortcutContext(Qt::WidgetShortcut);
    connect(Copy, &QAction::triggered, html, &QTextEdit::copy);
    Copy->setEnabled(false);
    connect(html, &QTextEdit::copyAvailable, Copy, &QAction::setEnabled);
    SelectAll = new QAction(QStringLiteral("Select All"), this);
    SelectAll->setShortcut(QKeySequence::SelectAll);
    SelectAll->setShortcutContext(Qt::WidgetShortcut);
    connect(SelectAll, &QAction::triggered, html, &QTextEdit::selectAll);
    html->addActions({Copy, SelectAll});

    // Only the open bar has anything to close.
    CloseFind->setEnabled(false);
    findBar->installEventFilter(this);

    connect(html, &platform::THTML::WheelZoom, this, [this, html](int direction) {
        zoomTo(direction > 0 ? ZoomedIn(html->Zoom()) : ZoomedOut(html->Zoom()));
    });
    html->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(html, &QWidget::customContextMenuRequested, this, [this, html](const QPoint &at) {
        QMenu *menu = PageMenu(at);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(html->viewport()->mapToGlobal(at));
    });

    // A result opened from the search shows where its phrase is.
    connect(form, &TForm1::SearchStarted, this, [this](const QString &phrase, bool caseSensitive) {
        searchPhrase = phrase;
        searchCase = caseSensitive;
    });
    connect(form->ListBox5, &platform::TListBox::Click, this, [this] {
        if (this->form->ListBox5->count() > 0)
            marks->MarkHits(searchPhrase, searchCase);
    });

    // The mouse's back and forward buttons, anywhere in the window.
    qApp->installEventFilter(this);
}

QAction *ReadingTools::action(const QString &text, const QList<QKeySequence> &keys,
                              std::function<void()> run) {
    auto *action = new QAction(text, form);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    // While a search runs the main window takes no input, keys included.
    connect(action, &QAction::triggered, this, [run = std::move(run)] {
        if (!platform::InputBlock::Active())
            platform::Guarded(run);
    });
    form->addAction(action);
    return action;
}

void ReadingTools::showTab(int index, bool focus) {
    form->PageControl1->setCurrentIndex(index);
    if (!focus)
        return;
    QWidget *const targets[] = {form->TreeView1, form->ListBox1, form->Edit1};
    targets[index]->setFocus(Qt::ShortcutFocusReason);
}

void ReadingTools::switchSide() {
    if (form->HTML1->isAncestorOf(QApplication::focusWidget()) ||
        QApplication::focusWidget() == form->HTML1)
        showTab(form->PageControl1->currentIndex(), true);
    else
        form->HTML1->setFocus(Qt::ShortcutFocusReason);
}

void ReadingTools::zoomTo(int percent) {
    form->HTML1->SetZoom(qBound(ZoomMinimum, percent, ZoomMaximum));
}

QMenu *ReadingTools::PageMenu(const QPoint &at) {
    platform::THTML *html = form->HTML1;
    auto *menu = new QMenu(html);
    menu->setAccessibleName(QStringLiteral("Page"));
    menu->addAction(Back);
    menu->addAction(Forward);
    menu->addSeparator();
    menu->addAction(Copy);
    menu->addAction(SelectAll);
    const QString link = html->anchorAt(at);
    if (!link.isEmpty()) {
        const QString address = html->document()->baseUrl().resolved(QUrl(link)).toString();
        menu->addAction(QStringLiteral("Copy Link Address"), menu,
                        [address] { QApplication::clipboard()->setText(address); });
    }
    menu->addSeparator();
    menu->addAction(FindInPage);
    menu->addAction(Print);
    menu->addAction(PrintPreview);
    menu->addSeparator();
    menu->addAction(ZoomIn);
    menu->addAction(ZoomOut);
    menu->addAction(ZoomReset);
    return menu;
}

bool ReadingTools::eventFilter(QObject *watched, QEvent *event) {
    if (watched == findBar && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        CloseFind->setEnabled(event->type() == QEvent::Show);
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
        const auto *widget = static_cast<QWidget *>(watched);
        const Qt::MouseButton button = static_cast<QMouseEvent *>(event)->button();
        if ((button == Qt::BackButton || button == Qt::ForwardButton) &&
            (widget == form || form->isAncestorOf(widget))) {
            (button == Qt::BackButton ? Back : Forward)->trigger();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace reading

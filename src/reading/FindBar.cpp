#include "reading/FindBar.h"

#include "platform/THTML.h"
#include "reading/Highlights.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace reading {

namespace {
QToolButton *barButton(QWidget *parent, const QString &text) {
    auto *button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(text);
    button->setAccessibleName(text);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}
} // namespace

FindBar::FindBar(platform::THTML *html, Highlights *highlights)
    : QFrame(html), html(html), highlights(highlights) {
    setObjectName(QStringLiteral("FindBar"));
    setAccessibleName(QStringLiteral("Find in page"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);

    Edit = new QLineEdit(this);
    Edit->setAccessibleName(QStringLiteral("Find in page"));
    Edit->setPlaceholderText(QStringLiteral("Find in page"));
    Edit->setClearButtonEnabled(false);
    PreviousButton = barButton(this, QStringLiteral("Find Previous"));
    PreviousButton->setArrowType(Qt::UpArrow);
    NextButton = barButton(this, QStringLiteral("Find Next"));
    NextButton->setArrowType(Qt::DownArrow);
    MatchCase = new QCheckBox(QStringLiteral("Match case"), this);
    MatchCase->setAccessibleName(QStringLiteral("Match case"));
    Count = new QLabel(this);
    Count->setAccessibleName(QStringLiteral("Matches"));
    Count->setMinimumWidth(Count->fontMetrics().horizontalAdvance(QStringLiteral("888 of 888")));
    Count->setAlignment(Qt::AlignCenter);
    CloseButton = barButton(this, QStringLiteral("Close Find"));
    CloseButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(3, 2, 3, 2);
    row->setSpacing(2);
    row->addWidget(Edit, 1);
    row->addWidget(PreviousButton);
    row->addWidget(NextButton);
    row->addWidget(MatchCase);
    row->addWidget(Count);
    row->addWidget(CloseButton);
    setTabOrder(Edit, PreviousButton);
    setTabOrder(PreviousButton, NextButton);
    setTabOrder(NextButton, MatchCase);
    setTabOrder(MatchCase, CloseButton);

    connect(Edit, &QLineEdit::textChanged, this, &FindBar::search);
    connect(MatchCase, &QCheckBox::toggled, this, &FindBar::search);
    connect(NextButton, &QToolButton::clicked, this, &FindBar::Next);
    connect(PreviousButton, &QToolButton::clicked, this, &FindBar::Previous);
    connect(CloseButton, &QToolButton::clicked, this, &FindBar::Close);
    connect(highlights, &Highlights::FindChanged, this, &FindBar::showCount);
    Edit->installEventFilter(this);
    html->installEventFilter(this);
    hide();
}

void FindBar::Open() {
    if (isHidden()) {
        show();
        place();
        search();
    }
    raise();
    Edit->setFocus(Qt::ShortcutFocusReason);
    Edit->selectAll();
}

void FindBar::Close() {
    if (isHidden())
        return;
    const bool hadFocus = isAncestorOf(QApplication::focusWidget());
    hide();
    html->SetBottomMargin(0);
    highlights->Find(QString(), false);
    if (hadFocus)
        html->setFocus(Qt::OtherFocusReason);
}

void FindBar::Next() {
    if (isHidden())
        Open();
    highlights->Step(1);
}

void FindBar::Previous() {
    if (isHidden())
        Open();
    highlights->Step(-1);
}

void FindBar::search() {
    if (!isHidden())
        highlights->Find(Edit->text(), MatchCase->isChecked());
}

void FindBar::showCount() {
    if (Edit->text().isEmpty() || isHidden())
        Count->clear();
    else
        Count->setText(
            QStringLiteral("%1 of %2").arg(highlights->Current() + 1).arg(highlights->Count()));
}

void FindBar::place() {
    // Over the bottom edge of the page view, with the page kept clear of it, so the current
    // match is never scrolled in behind the bar.
    const int height = sizeHint().height();
    html->SetBottomMargin(height);
    const QRect view = html->viewport()->geometry();
    setGeometry(view.left(), view.bottom() + 1, view.width(), height);
}

bool FindBar::eventFilter(QObject *watched, QEvent *event) {
    if (watched == html && event->type() == QEvent::Resize && !isHidden())
        place();
    if (watched == Edit && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ShiftModifier)
                Previous();
            else
                Next();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace reading

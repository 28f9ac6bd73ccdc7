#pragma once

#include <QFrame>

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace platform {
class THTML;
}

namespace reading {

class Highlights;

// A slim bar laid over the bottom edge of the page view: the phrase, previous and next, the
// letter-case choice, the count and a close button. It searches as the reader types, and again
// in every page shown while it is open.
class FindBar : public QFrame {
    Q_OBJECT

public:
    FindBar(platform::THTML *html, Highlights *highlights);

    // Shows the bar with the focus and the phrase selected in its edit box.
    void Open();
    // Hides the bar and takes its marks off the page.
    void Close();
    // The next (previous) match, wrapping; opens the bar when it is closed.
    void Next();
    void Previous();

    QLineEdit *Edit;
    QToolButton *PreviousButton;
    QToolButton *NextButton;
    QCheckBox *MatchCase;
    QLabel *Count;
    QToolButton *CloseButton;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void search();
    void showCount();
    void place();

    platform::THTML *html;
    Highlights *highlights;
};

} // namespace reading

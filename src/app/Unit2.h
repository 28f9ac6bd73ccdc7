#pragma once

#include "platform/THTML.h"

#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>

class QEventLoop;

// The page text extractor: shown modally, it retrieves Form1->PageURL in its own control and
// leaves the page's plain text in Form1->PageText. It never appears on screen.
class TForm2 : public QWidget {
    Q_OBJECT

public:
    explicit TForm2(QWidget *parent = nullptr);

    platform::THTML *HTML1;
    int ModalResult = 0;

    // Runs one modal show: FormShow, then a nested event loop until the retrieval has ended
    // or TimeoutMs has passed (the text is then empty). The main window takes no input meanwhile.
    int ShowModal();
    bool ModalShowing() const { return showing; }
    static constexpr int TimeoutMs = 3000;

    // Handlers (search/Extractor.cpp).
    void FormShow();
    void HTML1EndRetrieval();

private:
    void endModal(int result);

    bool showing = false;
    QEventLoop *loop = nullptr; // while the show waits for its page
    // The show's time-out. The timer is left running between shows and put forward when it
    // fires before the deadline: arming and disarming it at every show was a good part of the
    // cost of a show of a cached page.
    QDeadlineTimer deadline;
    QTimer timeout;
};

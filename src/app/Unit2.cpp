#include "app/Unit2.h"

#include "app/Globals.h"
#include "app/Unit1.h"
#include "platform/InputBlock.h"

#include <QEventLoop>

TForm2::TForm2(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Searching..."));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowState(Qt::WindowMinimized);
    QFont windowFont(QStringLiteral("MS Sans Serif"));
    windowFont.setPixelSize(11);
    setFont(windowFont);
    setGeometry(414, 182, 217, 68);

    HTML1 = new platform::THTML(this, platform::THTML::ExtractorFonts(),
                                platform::THTML::Mode::TextOnly);
    HTML1->setObjectName(QStringLiteral("HTML1"));
    HTML1->setGeometry(40, 8, 150, 44);
    connect(HTML1, &platform::THTML::OnEndRetrieval, this, [this] {
        if (ModalShowing())
            HTML1EndRetrieval();
    });

    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, this, [this] {
        if (!loop)
            return;
        if (const qint64 left = deadline.remainingTime(); left > 0) {
            timeout.start(int(left));
            return;
        }
        if (Form1)
            Form1->PageText.clear();
        endModal(2);
    });
}

int TForm2::ShowModal() {
    // The window itself is never mapped: a modal show is its handlers and a nested loop, which
    // runs only while the retrieval has not ended yet (a page read ahead may end it at once).
    platform::InputBlock block(Form1);
    ModalResult = 0;
    showing = true;
    FormShow();
    if (ModalResult == 0) {
        QEventLoop nested;
        loop = &nested;
        deadline.setRemainingTime(TimeoutMs);
        if (!timeout.isActive())
            timeout.start(TimeoutMs);
        nested.exec();
        loop = nullptr;
    }
    showing = false;
    return ModalResult;
}

void TForm2::endModal(int result) {
    ModalResult = result;
    if (loop)
        loop->quit();
}

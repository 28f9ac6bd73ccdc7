#include "reading/Printing.h"

#include "platform/PageZoom.h"
#include "platform/THTML.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextDocument>
#include <memory>

namespace reading {

namespace {
// The dialog's result when the reader asked for the preview instead.
constexpr int PreviewChosen = 2;
} // namespace

void PrintPage(const platform::THTML *html, QPrinter *printer) {
    // A copy, so the view keeps its layout; parented to the control, which loads its images.
    auto *view = const_cast<platform::THTML *>(html);
    std::unique_ptr<QTextDocument> copy(html->document()->clone(view));
    platform::ScaleDocument(copy.get(), 100.0 / html->Zoom());
    copy->print(printer);
}

void OpenPrintDialog(const platform::THTML *html, QWidget *parent) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>()) {
        QPushButton *preview =
            buttons->addButton(QStringLiteral("Print Preview..."), QDialogButtonBox::ActionRole);
        preview->setAccessibleName(QStringLiteral("Print Preview"));
        QObject::connect(preview, &QPushButton::clicked, &dialog,
                         [&dialog] { dialog.done(PreviewChosen); });
    }
    const int result = dialog.exec();
    if (result == QDialog::Accepted)
        PrintPage(html, &printer);
    else if (result == PreviewChosen)
        OpenPrintPreview(html, parent);
}

void OpenPrintPreview(const platform::THTML *html, QWidget *parent) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [html](QPrinter *target) { PrintPage(html, target); });
    preview.exec();
}

} // namespace reading

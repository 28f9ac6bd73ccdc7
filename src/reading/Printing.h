#pragma once

class QPrinter;
class QWidget;

namespace platform {
class THTML;
}

namespace reading {

// Prints the page a control shows, at its own size whatever the view's zoom.
void PrintPage(const platform::THTML *html, QPrinter *printer);

// The platform's print dialog for the page; where the dialog is Qt's own it also offers a
// print preview.
void OpenPrintDialog(const platform::THTML *html, QWidget *parent);

// A preview of the printed page, from which it can be printed.
void OpenPrintPreview(const platform::THTML *html, QWidget *parent);

} // namespace reading

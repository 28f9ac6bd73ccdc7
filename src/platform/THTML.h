#pragma once

#include "platform/Colors.h"
#include "platform/TFont.h"

#include <QTextBrowser>
#include <array>
#include <functional>
#include <map>

namespace platform {

// The HTML view control. It shows the page of a topic URL ("file:///C|/dir/page.htm"),
// follows links inside the viewer, and reports the end of every retrieval through the event
// loop. A control in text-only mode never lays a page out: it only keeps the page's plain text.
class THTML : public QTextBrowser {
    Q_OBJECT

public:
    // Page texts prepared ahead of their request, elsewhere than on this thread.
    class PageSource {
    public:
        virtual ~PageSource() = default;
        // False when `url` is not the next page it prepares. Otherwise `ready` is called with
        // the page's text once it is ready, always later, from the event loop (never, when the
        // text is never ready).
        virtual bool Fetch(const QString &url, std::function<void(const QString &)> ready) = 0;
    };

    enum class Mode { View, TextOnly };
    using FontSet = std::array<TFont, 8>;

    // Font properties: -512 the body font, 28..33 headings 1..6. Colour properties: -513 the
    // text, -501 the background, 21 links, 22 visited links. Property 1001: the document URL.
    static constexpr int FontBody = -512;
    static constexpr int ColorText = -513;
    static constexpr int ColorBackground = -501;
    static constexpr int ColorLink = 21;
    static constexpr int ColorVisitedLink = 22;
    static constexpr int PropDocumentUrl = 1001;

    // The main window's initial fonts and the extractor window's.
    static FontSet ViewerFonts();
    static FontSet ExtractorFonts();

    THTML(QWidget *parent, const FontSet &fonts, Mode mode = Mode::View);

    // Starts showing `url` and returns at once; OnEndRetrieval follows through the event loop.
    void RequestDoc(const QString &url);
    // A text-only control takes its pages from `source` when it has them, until set to null.
    void SetPageSource(PageSource *source);
    QString GetPlainText(quint16 start, quint16 end) const;
    QString GetWideStringProp(int index) const;
    // The font behind a font property (-512, 28..33); null for any other index.
    TFont *GetTFontProp(int index);
    void SetTColorProp(int index, TColor color);
    // A colour property as last set; `fallback` when it never was.
    TColor GetTColorProp(int index, TColor fallback = 0) const;
    // Font slot 0..7: body, fixed pitch, headings 1..6.
    const TFont &Font(int slot) const { return fonts.at(slot); }

    Mode ControlMode() const { return mode; }

    // The page's zoom in percent (100: as the fonts and the page say). It stays for every page
    // shown after it and changes neither the control's fonts nor the page.
    int Zoom() const { return zoom; }
    void SetZoom(int percent);
    // Keeps `pixels` at the bottom of the view free of the page, for a bar laid over it.
    void SetBottomMargin(int pixels) { setViewportMargins(0, 0, 0, pixels); }

signals:
    void OnEndRetrieval(QObject *sender);
    // The page was laid out anew (another page, or the same one in other fonts or zoom): marks
    // made on the old layout are gone.
    void PageLaidOut();
    // Ctrl and the wheel: +1 to zoom in, -1 to zoom out.
    void WheelZoom(int direction);

protected:
    QVariant loadResource(int type, const QUrl &name) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void load(const QString &url);
    void showError(const QString &url);
    void followLink(const QUrl &link);
    void postEndRetrieval();
    void restyle();
    // Lays `html` out at the zoom and tells whoever marks the page.
    void display(const QString &html);
    QString styleSheet() const;

    Mode mode;
    FontSet fonts;
    std::map<int, TColor> colors;
    QString documentUrl; // property 1001, exactly as requested or followed
    QString pageFile;    // the native path of the page shown, empty when none
    QString pageHtml;    // kept to lay the page out again when fonts or colours change
    QString plainText;   // text-only mode
    PageSource *source = nullptr;
    quint64 requests = 0; // RequestDoc calls so far
    int zoom = 100;
};

} // namespace platform

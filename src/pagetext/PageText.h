#pragma once

#include "platform/PageBuffer.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace pagetext {

// The text of an HTML page's bytes: a byte-order mark decides first, then the charset its
// <meta> names (charset= or an http-equiv content type) when Qt's converters know it
// (ISO-8859-1 read as Windows-1252, as browsers do); otherwise UTF-8 when the bytes are valid
// UTF-8, else Windows-1252. A charset that does not read ASCII as ASCII (UTF-7, EBCDIC) cannot
// be what a page with a readable <meta> is in, and is ignored.
QString DecodeHtml(QByteArrayView bytes);
// The same into `text`, a reader's buffer for page after page.
void DecodeHtml(QByteArrayView bytes, platform::PageBuffer<char16_t> &text);

// The plain text of an HTML page, without layout: exactly the plain text of a QTextDocument
// given the page with setHtml(), character for character. Tags, comments and the contents of
// head, title, script and style are dropped, entities decoded, runs of white space folded to one
// space as Qt folds them (kept inside <pre>), non-breaking spaces shown as spaces, every block,
// table cell and frame end a line break, images stand as U+FFFC. Style sheets are not applied.
// `exact`, when given, is false for the rare page whose broken markup Qt resolves with a look at
// its whole tree: table structure ending inside hidden markup, a table ended between the cells of
// another, a cell or row right after a nameless "<>", an empty element's end tag that puts text
// back into an element closed since ("<div><br><dd></br>x"). The text may then differ from Qt's
// in its line breaks.
QString ExtractPlainText(QStringView html, bool *exact = nullptr);
// The same into `text`, a reader's buffer for page after page.
void ExtractPlainText(QStringView html, platform::PageBuffer<char16_t> &text,
                      bool *exact = nullptr);

} // namespace pagetext

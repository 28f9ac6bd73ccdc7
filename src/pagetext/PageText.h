#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace pagetext {

// The text of an HTML page's bytes: the encoding its <meta> names when it names UTF-8,
// ISO-8859-1 or Windows-1252; otherwise UTF-8 when the bytes are valid UTF-8, else Windows-1252.
QString DecodeHtml(const QByteArray &bytes);

// The plain text of an HTML page, without layout: what the view shows of it, as far as a phrase
// search can tell. Tags, comments and the contents of head, title, script and style are dropped,
// entities decoded, runs of white space folded to one space (kept inside <pre>), block elements
// separated by line breaks, images stand as U+FFFC.
QString ExtractPlainText(QStringView html);

} // namespace pagetext

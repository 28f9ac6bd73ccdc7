#pragma once

class QTextDocument;

namespace platform {

// Scales what a laid-out page's size depends on by `factor`: the document's default font, the
// font sizes the page sets itself, and its images. Sizes relative to the default font follow it.
void ScaleDocument(QTextDocument *document, double factor);

} // namespace platform

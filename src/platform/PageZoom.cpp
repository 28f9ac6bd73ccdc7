#include "platform/PageZoom.h"

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <vector>

namespace platform {

namespace {

void scaleFont(QFont &font, double factor) {
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else if (font.pixelSize() > 0)
        font.setPixelSize(qMax(1, qRound(font.pixelSize() * factor)));
}

// The size an image without a size of its own is shown at.
QSizeF naturalSize(QTextDocument *document, const QString &name) {
    const QVariant data = document->resource(QTextDocument::ImageResource, QUrl(name));
    QImage image;
    if (data.userType() == QMetaType::QImage)
        image = data.value<QImage>();
    else if (data.userType() == QMetaType::QPixmap)
        return data.value<QPixmap>().size();
    else if (data.userType() == QMetaType::QByteArray)
        image.loadFromData(data.toByteArray());
    return image.size();
}

// Scales the sizes a character format sets; false when it sets none.
bool scaleFormat(QTextCharFormat &format, double factor, QTextDocument *document) {
    bool changed = false;
    if (format.hasProperty(QTextFormat::FontPointSize)) {
        format.setFontPointSize(format.fontPointSize() * factor);
        changed = true;
    }
    if (format.hasProperty(QTextFormat::FontPixelSize)) {
        format.setProperty(
            QTextFormat::FontPixelSize,
            qMax(1, qRound(format.intProperty(QTextFormat::FontPixelSize) * factor)));
        changed = true;
    }
    if (format.isImageFormat()) {
        QTextImageFormat image = format.toImageFormat();
        const bool sized = image.hasProperty(QTextFormat::ImageWidth) ||
                           image.hasProperty(QTextFormat::ImageHeight);
        if (sized) {
            if (image.hasProperty(QTextFormat::ImageWidth))
                image.setWidth(image.width() * factor);
            if (image.hasProperty(QTextFormat::ImageHeight))
                image.setHeight(image.height() * factor);
        } else {
            const QSizeF size = naturalSize(document, image.name());
            if (!size.isEmpty()) {
                image.setWidth(size.width() * factor);
                image.setHeight(size.height() * factor);
            }
        }
        format = image;
        changed = true;
    }
    return changed;
}

} // namespace

void ScaleDocument(QTextDocument *document, double factor) {
    if (qFuzzyCompare(factor, 1.0))
        return;
    QFont base = document->defaultFont();
    scaleFont(base, factor);
    document->setDefaultFont(base);

    // Collected first: changing a format may merge fragments under a running iterator.
    struct Change {
        int start;
        int length;
        QTextCharFormat format;
    };
    std::vector<Change> fragments;
    std::vector<Change> blocks;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        QTextCharFormat blockFormat = block.charFormat();
        if (scaleFormat(blockFormat, factor, document))
            blocks.push_back({block.position(), 0, blockFormat});
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat format = fragment.charFormat();
            if (scaleFormat(format, factor, document))
                fragments.push_back({fragment.position(), fragment.length(), format});
        }
    }
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (const Change &change : blocks) {
        cursor.setPosition(change.start);
        cursor.setBlockCharFormat(change.format);
    }
    for (const Change &change : fragments) {
        cursor.setPosition(change.start);
        cursor.setPosition(change.start + change.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(change.format);
    }
    cursor.endEditBlock();
}

} // namespace platform

#include "platform/PixelIcon.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace platform {

namespace {

class PixelIconEngine : public QIconEngine {
public:
    PixelIconEngine(QPixmap normal, QPixmap disabled)
        : normal(std::move(normal)), disabled(std::move(disabled)) {}

    QIconEngine *clone() const override { return new PixelIconEngine(normal, disabled); }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // `size` is in device pixels. Nearest-neighbour scaling keeps every pixel one of the
    // drawing's own colours at any ratio.
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State, qreal scale) override {
        const bool ownDisabled = mode == QIcon::Disabled && !disabled.isNull();
        const QPixmap &source = ownDisabled ? disabled : normal;
        if (source.isNull() || size.isEmpty())
            return {};
        QPixmap result = source.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (mode == QIcon::Disabled && !ownDisabled) {
            QStyleOption option;
            if (QApplication::instance())
                result = QApplication::style()->generatedIconPixmap(mode, result, &option);
        }
        result.setDevicePixelRatio(scale);
        return result;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        const QSize pixels = (QSizeF(rect.size()) * ratio).toSize();
        painter->drawPixmap(rect, scaledPixmap(pixels, mode, state, ratio));
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {normal.size()}; }

    QString key() const override { return QStringLiteral("vellumo-pixel"); }

private:
    QPixmap normal;
    QPixmap disabled;
};

class SelectedVariantEngine : public QIconEngine {
public:
    SelectedVariantEngine(QIcon normal, QIcon selected)
        : normal(std::move(normal)), selected(std::move(selected)) {}

    QIconEngine *clone() const override { return new SelectedVariantEngine(normal, selected); }

    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override {
        return of(mode).actualSize(size, own(mode), state);
    }

    // `size` is in device pixels already.
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override {
        return of(mode).pixmap(size, 1.0, own(mode), state);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
               QIcon::State state) override {
        of(mode).paint(painter, rect, Qt::AlignCenter, own(mode), state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return of(mode).availableSizes(own(mode), state);
    }

    QString key() const override { return QStringLiteral("vellumo-selected-variant"); }

private:
    const QIcon &of(QIcon::Mode mode) const { return mode == QIcon::Selected ? selected : normal; }
    static QIcon::Mode own(QIcon::Mode mode) {
        return mode == QIcon::Selected ? QIcon::Normal : mode;
    }

    QIcon normal;
    QIcon selected;
};

} // namespace

QIcon PixelIcon(const QString &normal, const QString &disabled) {
    return QIcon(
        new PixelIconEngine(QPixmap(normal), disabled.isEmpty() ? QPixmap() : QPixmap(disabled)));
}

QIcon SelectedVariant(const QIcon &normal, const QIcon &selected) {
    return QIcon(new SelectedVariantEngine(normal, selected));
}

} // namespace platform

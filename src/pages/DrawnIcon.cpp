#include "DrawnIcon.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>

namespace {

constexpr double kGrid = 16.0;

TPredrawnIcons gPredrawn = nullptr;

class TDrawnIconEngine : public QIconEngine {
public:
    TDrawnIconEngine(QString name, TIconDrawing drawing, QList<QSize> sizes)
        : fName(std::move(name)), fDrawing(std::move(drawing)), fSizes(std::move(sizes)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        QPixmap pm = scaledPixmap(rect.size(), mode, state, ratio);
        painter->drawPixmap(rect, pm);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
        const QSize pixels = (QSizeF(size) * scale).toSize();
        if (pixels.isEmpty())
            return {};
        const TKey key{pixels.width(), pixels.height(), int(mode)};
        const auto found = fPixmaps.find(key);
        if (found != fPixmaps.end())
            return found->second;
        QPixmap pm = Draw(pixels);
        if ((mode == QIcon::Disabled || mode == QIcon::Selected) &&
            qobject_cast<QApplication*>(QCoreApplication::instance())) {
            // Greyed (or tinted) the way the style does it for any icon.
            QStyleOption option;
            option.palette = QApplication::palette();
            pm = QApplication::style()->generatedIconPixmap(mode, pm, &option);
        }
        pm.setDevicePixelRatio(scale);
        fPixmaps.emplace(key, pm);
        return pm;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return fSizes; }

    QIconEngine* clone() const override { return new TDrawnIconEngine(fName, fDrawing, fSizes); }
    QString iconName() override { return fName; }
    QString key() const override { return QStringLiteral("TDrawnIconEngine"); }

private:
    using TKey = std::tuple<int, int, int>;

    QPixmap Draw(const QSize& pixels) const {
        const int side = std::min(pixels.width(), pixels.height());
        if (gPredrawn) {
            const QImage predrawn = gPredrawn(fName, side);
            if (predrawn.size() == QSize(side, side))
                return QPixmap::fromImage(predrawn);
        }
        QPixmap pm(side, side);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(side / kGrid, side / kGrid);
        fDrawing(p);
        return pm;
    }

    QString fName;
    TIconDrawing fDrawing;
    QList<QSize> fSizes;
    std::map<TKey, QPixmap> fPixmaps;
};

} // namespace

QIcon DrawnIcon(const QString& name, TIconDrawing drawing, QList<QSize> sizes) {
    return QIcon(new TDrawnIconEngine(name, std::move(drawing), std::move(sizes)));
}

void UsePredrawnIcons(TPredrawnIcons predrawn) {
    gPredrawn = predrawn;
}

QIcon ReloadIcon() {
    return DrawnIcon(QStringLiteral("reload"), PaintReload);
}

QPainterPath ClosedPath(std::initializer_list<QPointF> corners) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& corner : corners) {
        if (first)
            path.moveTo(corner);
        else
            path.lineTo(corner);
        first = false;
    }
    path.closeSubpath();
    return path;
}

void PaintReload(QPainter& p) {
    // A circle of an arrow, open at the top right, its head there.
    const QColor colour(30, 110, 60);
    p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 290 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(ClosedPath({{8.5, 0.5}, {13.5, 3.2}, {8.8, 6.6}}));
}

void PaintSave(QPainter& p) {
    // A diskette: its body, the label and the shutter.
    p.setPen(QPen(QColor(30, 50, 90), 0.9));
    p.setBrush(QColor(60, 100, 170));
    p.drawPath(ClosedPath({{1.5, 1.5}, {12, 1.5}, {14.5, 4}, {14.5, 14.5}, {1.5, 14.5}}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 245, 245));
    p.drawRect(QRectF(3.5, 8.5, 9, 5));
    p.setBrush(QColor(190, 200, 215));
    p.drawRect(QRectF(4.5, 2, 6, 4));
    p.setBrush(QColor(60, 100, 170));
    p.drawRect(QRectF(8.5, 2.5, 1.5, 3));
}

void PaintOpen(QPainter& p) {
    // A folder, its front leaf opened towards the viewer.
    p.setPen(QPen(QColor(140, 100, 20), 0.9));
    p.setBrush(QColor(230, 190, 90));
    p.drawPath(ClosedPath({{1.5, 3.5}, {6, 3.5}, {7.5, 5}, {13.5, 5}, {13.5, 13.5}, {1.5, 13.5}}));
    p.setBrush(QColor(250, 215, 120));
    p.drawPath(ClosedPath({{3.5, 7.5}, {15.5, 7.5}, {13.5, 13.5}, {1.5, 13.5}}));
}

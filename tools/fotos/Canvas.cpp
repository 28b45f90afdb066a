#include "Canvas.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QtMath>

#include <algorithm>
#include <cmath>

void verticalGradient(QPainter &p, const QColor &top, const QColor &bottom, const QRectF &area)
{
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(area, g);
}

void radialGlow(QPainter &p, QPointF centre, qreal radius, const QColor &colour)
{
    QRadialGradient g(centre, radius);
    g.setColorAt(0, colour);
    QColor edge = colour;
    edge.setAlpha(0);
    g.setColorAt(1, edge);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

void starField(QPainter &p, int count, unsigned seed, const QRectF &area)
{
    // A fixed seed keeps the sky the same every time the photos are painted again.
    QRandomGenerator rng(seed);
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF at(area.left() + rng.bounded(area.width()), area.top() + rng.bounded(area.height()));
        const qreal r = 0.4 + rng.bounded(1.1);
        p.setBrush(QColor(255, 255, 240, 120 + rng.bounded(135)));
        p.drawEllipse(at, r, r);
    }
    p.restore();
}

void vignette(QPainter &p, qreal strength)
{
    QRadialGradient g(PhotoRect.center(), PhotoRect.height() * 0.75);
    g.setColorAt(0.55, QColor(0, 0, 0, 0));
    g.setColorAt(1, QColor(0, 0, 0, int(255 * strength)));
    p.fillRect(PhotoRect, g);
}

namespace {

// A monochrome fallback font draws in the pen colour only; a colour glyph has hue somewhere.
bool isColourful(const QImage &glyph)
{
    for (int y = 0; y < glyph.height(); y += 2) {
        for (int x = 0; x < glyph.width(); x += 2) {
            const QColor c = QColor::fromRgba(glyph.pixel(x, y));
            if (c.alpha() > 200 && c.hsvSaturation() > 60)
                return true;
        }
    }
    return false;
}

// Renders the glyph once, large, and keeps only the rectangle of its visible pixels.
QImage croppedGlyph(const QString &glyph)
{
    static QHash<QString, QImage> cache;
    const auto found = cache.constFind(glyph);
    if (found != cache.constEnd())
        return *found;

    constexpr int canvas = 320;
    QImage image(canvas, canvas, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter gp(&image);
        QFont font(QStringLiteral("Noto Color Emoji"));
        font.setPixelSize(200);
        gp.setFont(font);
        gp.drawText(QRect(0, 0, canvas, canvas), Qt::AlignCenter, glyph);
    }
    int left = canvas, top = canvas, right = -1, bottom = -1;
    for (int y = 0; y < canvas; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < canvas; ++x) {
            if (qAlpha(line[x]) > 8) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    QImage cropped = right < 0 ? QImage() : image.copy(left, top, right - left + 1, bottom - top + 1);
    if (!isColourful(cropped))
        qWarning("jornada-fotos: a fonte de emojis desenha %s sem cor", qUtf8Printable(glyph));
    cache.insert(glyph, cropped);
    return cropped;
}

} // namespace

namespace {

// Draws `glyph` (and, behind it, `shadow` at each offset) scaled to `size`, centred and turned.
void drawGlyph(QPainter &p, const QImage &glyph, const QImage &shadow, std::initializer_list<QPointF> offsets,
               QPointF centre, qreal size, qreal angle)
{
    const qreal scale = size / std::max(glyph.width(), glyph.height());
    const QSizeF drawn(glyph.width() * scale, glyph.height() * scale);
    const QPointF corner(-drawn.width() / 2, -drawn.height() / 2);
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.translate(centre);
    p.rotate(angle);
    for (const QPointF offset : offsets)
        p.drawImage(QRectF(corner + offset, drawn), shadow);
    p.drawImage(QRectF(corner, drawn), glyph);
    p.restore();
}

} // namespace

void emoji(QPainter &p, const QString &glyph, QPointF centre, qreal size, qreal angle)
{
    const QImage g = croppedGlyph(glyph);
    if (!g.isNull())
        drawGlyph(p, g, QImage(), {}, centre, size, angle);
}

void emojiWithShadow(QPainter &p, const QString &glyph, QPointF centre, qreal size, qreal angle)
{
    const QImage g = croppedGlyph(glyph);
    if (g.isNull())
        return;
    // The shadow is the glyph's own outline, darkened and softened by drawing it a few times.
    QImage shadow = g;
    {
        QPainter sp(&shadow);
        sp.setCompositionMode(QPainter::CompositionMode_SourceIn);
        sp.fillRect(shadow.rect(), QColor(0, 0, 0, 40));
    }
    drawGlyph(p, g, shadow, {QPointF(2, 3), QPointF(3, 4), QPointF(1.5, 4.5), QPointF(3.5, 2.5)}, centre, size,
              angle);
}

void cloud(QPainter &p, QPointF c, qreal w, const QColor &colour)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath path;
    path.addEllipse(QPointF(c.x() - w * 0.28, c.y() + w * 0.04), w * 0.24, w * 0.15);
    path.addEllipse(QPointF(c.x(), c.y() - w * 0.06), w * 0.25, w * 0.22);
    path.addEllipse(QPointF(c.x() + w * 0.27, c.y() + w * 0.03), w * 0.22, w * 0.15);
    path.addRoundedRect(QRectF(c.x() - w * 0.45, c.y(), w * 0.9, w * 0.16), w * 0.08, w * 0.08);
    path.setFillRule(Qt::WindingFill);
    p.drawPath(path.simplified());
    p.restore();
}

void hills(QPainter &p, qreal baseY, qreal amplitude, const QColor &colour, unsigned seed)
{
    QRandomGenerator rng(seed);
    const qreal phase = rng.bounded(6.28);
    const qreal freq = 0.025 + rng.bounded(0.02);
    QPainterPath path(QPointF(0, PhotoHeight));
    for (int x = 0; x <= PhotoWidth; x += 3)
        path.lineTo(x, baseY - amplitude * (0.5 + 0.5 * std::sin(phase + x * freq)));
    path.lineTo(PhotoWidth, PhotoHeight);
    path.closeSubpath();
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
    p.restore();
}

void mountain(QPainter &p, QPointF peak, qreal halfWidth, qreal baseY, const QColor &rock, const QColor &snow)
{
    const qreal h = baseY - peak.y();
    QPolygonF body;
    body << QPointF(peak.x() - halfWidth, baseY) << QPointF(peak.x() - halfWidth * 0.45, peak.y() + h * 0.45)
         << QPointF(peak.x() - halfWidth * 0.2, peak.y() + h * 0.2) << peak
         << QPointF(peak.x() + halfWidth * 0.3, peak.y() + h * 0.3)
         << QPointF(peak.x() + halfWidth * 0.55, peak.y() + h * 0.5) << QPointF(peak.x() + halfWidth, baseY);
    QLinearGradient shade(QPointF(peak.x() - halfWidth, 0), QPointF(peak.x() + halfWidth, 0));
    shade.setColorAt(0, rock.lighter(115));
    shade.setColorAt(0.5, rock);
    shade.setColorAt(0.51, rock.darker(125));
    shade.setColorAt(1, rock.darker(140));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawPolygon(body);
    if (snow.isValid()) {
        QPolygonF cap;
        cap << QPointF(peak.x() - halfWidth * 0.2, peak.y() + h * 0.2) << peak
            << QPointF(peak.x() + halfWidth * 0.3, peak.y() + h * 0.3)
            << QPointF(peak.x() + halfWidth * 0.15, peak.y() + h * 0.26)
            << QPointF(peak.x() + halfWidth * 0.02, peak.y() + h * 0.33)
            << QPointF(peak.x() - halfWidth * 0.1, peak.y() + h * 0.24);
        p.setBrush(snow);
        p.drawPolygon(cap);
    }
    p.restore();
}

void sea(QPainter &p, qreal topY, const QColor &top, const QColor &bottom, int waveRows)
{
    verticalGradient(p, top, bottom, QRectF(0, topY, PhotoWidth, PhotoHeight - topY));
    p.save();
    p.setBrush(Qt::NoBrush);
    const qreal depth = PhotoHeight - topY;
    for (int row = 0; row < waveRows; ++row) {
        const qreal y = topY + depth * (row + 0.6) / (waveRows + 0.5);
        const qreal amp = 1.0 + row * 0.6;
        const qreal len = 10 + row * 5;
        p.setPen(QPen(QColor(255, 255, 255, 70 + row * 15), 1.0 + row * 0.3));
        QPainterPath wave(QPointF(-len, y));
        for (qreal x = -len + (row % 2) * len / 2; x < PhotoWidth + len; x += len)
            wave.quadTo(QPointF(x + len / 4, y - amp * 2), QPointF(x + len / 2, y));
        p.drawPath(wave);
    }
    p.restore();
}

void sun(QPainter &p, QPointF centre, qreal radius, const QColor &core)
{
    radialGlow(p, centre, radius * 2.6, QColor(core.red(), core.green(), core.blue(), 110));
    QRadialGradient g(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.3);
    g.setColorAt(0, core.lighter(130));
    g.setColorAt(1, core.darker(110));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

namespace {

struct Projection {
    qreal cosine = 1, scale = 1, minX = 0, maxY = 0;
    QPointF offset;

    QPointF apply(QPointF lonLat) const
    {
        return offset + QPointF((lonLat.x() * cosine - minX) * scale, (maxY - lonLat.y()) * scale);
    }
};

Projection projectionFor(const std::vector<QPointF> &lonLat, const QRectF &box)
{
    qreal minLon = 1e9, maxLon = -1e9, minLat = 1e9, maxLat = -1e9;
    for (const QPointF &pt : lonLat) {
        minLon = std::min(minLon, pt.x());
        maxLon = std::max(maxLon, pt.x());
        minLat = std::min(minLat, pt.y());
        maxLat = std::max(maxLat, pt.y());
    }
    Projection pr;
    pr.cosine = std::cos(qDegreesToRadians((minLat + maxLat) / 2));
    pr.minX = minLon * pr.cosine;
    pr.maxY = maxLat;
    const qreal w = (maxLon - minLon) * pr.cosine, h = maxLat - minLat;
    pr.scale = std::min(box.width() / w, box.height() / h);
    pr.offset = box.topLeft() + QPointF((box.width() - w * pr.scale) / 2, (box.height() - h * pr.scale) / 2);
    return pr;
}

} // namespace

QPolygonF projectOutline(const std::vector<QPointF> &lonLat, const QRectF &box)
{
    const Projection pr = projectionFor(lonLat, box);
    QPolygonF out;
    for (const QPointF &pt : lonLat)
        out << pr.apply(pt);
    return out;
}

QPointF projectPoint(const std::vector<QPointF> &outline, const QRectF &box, QPointF lonLat)
{
    return projectionFor(outline, box).apply(lonLat);
}

void brazilFlag(QPainter &p, const QRectF &r)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 151, 57));
    p.drawRect(r);
    const qreal mx = r.width() * 0.085, my = r.height() * 0.12;
    QPolygonF rhombus;
    rhombus << QPointF(r.center().x(), r.top() + my) << QPointF(r.right() - mx, r.center().y())
            << QPointF(r.center().x(), r.bottom() - my) << QPointF(r.left() + mx, r.center().y());
    p.setBrush(QColor(254, 221, 0));
    p.drawPolygon(rhombus);
    const qreal radius = r.height() * 0.25;
    p.setBrush(QColor(1, 33, 105));
    p.drawEllipse(r.center(), radius, radius);
    // The white band across the globe, curving upwards.
    QPainterPath globe;
    globe.addEllipse(r.center(), radius, radius);
    QPainterPath band;
    band.moveTo(r.center() + QPointF(-radius * 1.1, radius * 0.05));
    band.quadTo(r.center() + QPointF(0, -radius * 0.55), r.center() + QPointF(radius * 1.1, radius * 0.35));
    band.lineTo(r.center() + QPointF(radius * 1.1, radius * 0.55));
    band.quadTo(r.center() + QPointF(0, -radius * 0.3), r.center() + QPointF(-radius * 1.1, radius * 0.3));
    band.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(globe.intersected(band));
    // A sprinkle of stars below the band.
    p.setBrush(Qt::white);
    const QPointF stars[] = {{-0.5, 0.45}, {-0.2, 0.6}, {0.1, 0.5}, {0.35, 0.7}, {0.55, 0.45}, {0.0, 0.8}, {-0.4, 0.75}};
    for (const QPointF &s : stars)
        p.drawEllipse(r.center() + s * radius, radius * 0.05, radius * 0.05);
    p.restore();
}

void goldFrame(QPainter &p, const QRectF &outer, qreal t)
{
    p.save();
    QLinearGradient g(outer.topLeft(), outer.bottomRight());
    g.setColorAt(0, QColor(250, 220, 120));
    g.setColorAt(0.45, QColor(190, 140, 40));
    g.setColorAt(0.55, QColor(240, 200, 100));
    g.setColorAt(1, QColor(140, 95, 20));
    QPainterPath frame;
    frame.addRect(outer);
    frame.addRect(outer.adjusted(t, t, -t, -t));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(frame);
    p.setPen(QPen(QColor(110, 70, 10), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(outer.adjusted(0.5, 0.5, -0.5, -0.5));
    p.drawRect(outer.adjusted(t - 0.5, t - 0.5, -t + 0.5, -t + 0.5));
    p.setPen(QPen(QColor(255, 240, 180, 160), 1));
    p.drawRect(outer.adjusted(t / 2, t / 2, -t / 2, -t / 2));
    p.restore();
}

void planet(QPainter &p, QPointF c, qreal r, const QColor &light, const QColor &dark, int bands)
{
    p.save();
    QPainterPath disc;
    disc.addEllipse(c, r, r);
    QRadialGradient g(c - QPointF(r * 0.35, r * 0.35), r * 1.4);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(disc);
    if (bands > 0) {
        p.setClipPath(disc);
        for (int i = 0; i < bands; ++i) {
            const qreal y = c.y() - r + (i + 0.7) * 2 * r / (bands + 0.4);
            p.setBrush(QColor(dark.red(), dark.green(), dark.blue(), 70));
            p.drawRect(QRectF(c.x() - r, y, 2 * r, r * 0.14 * (1 + (i % 2))));
        }
        p.setClipping(false);
    }
    // Night side.
    QRadialGradient night(c - QPointF(r * 0.6, r * 0.6), r * 2.2);
    night.setColorAt(0.5, QColor(0, 0, 0, 0));
    night.setColorAt(1, QColor(0, 0, 0, 150));
    p.setBrush(night);
    p.drawPath(disc);
    p.restore();
}

void caravel(QPainter &p, QPointF w, qreal len)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // Hull: a curved wooden bowl, higher at the stern (left).
    QPainterPath hull;
    hull.moveTo(w + QPointF(-len * 0.5, -len * 0.2));
    hull.lineTo(w + QPointF(-len * 0.3, -len * 0.12));
    hull.lineTo(w + QPointF(len * 0.42, -len * 0.12));
    hull.lineTo(w + QPointF(len * 0.55, -len * 0.18));
    hull.quadTo(w + QPointF(len * 0.4, len * 0.06), w + QPointF(len * 0.1, len * 0.06));
    hull.lineTo(w + QPointF(-len * 0.3, len * 0.06));
    hull.quadTo(w + QPointF(-len * 0.48, len * 0.02), w + QPointF(-len * 0.5, -len * 0.2));
    QLinearGradient wood(w + QPointF(0, -len * 0.2), w + QPointF(0, len * 0.06));
    wood.setColorAt(0, QColor(150, 90, 45));
    wood.setColorAt(1, QColor(80, 45, 20));
    p.setPen(QPen(QColor(60, 30, 10), 1));
    p.setBrush(wood);
    p.drawPath(hull);
    // Two masts with square sails bearing a red cross.
    const qreal deck = -len * 0.12;
    for (const qreal mx : {-len * 0.12, len * 0.22}) {
        const qreal top = deck - len * (mx < 0 ? 0.75 : 0.62);
        p.setPen(QPen(QColor(70, 40, 15), 1.4));
        p.drawLine(w + QPointF(mx, deck), w + QPointF(mx, top));
        const qreal sw = len * 0.3, sh = len * (mx < 0 ? 0.42 : 0.34);
        QRectF sail(w.x() + mx - sw / 2, w.y() + top + len * 0.08, sw, sh);
        QPainterPath s;
        s.moveTo(sail.topLeft());
        s.quadTo(QPointF(sail.center().x(), sail.top() + sh * 0.12), sail.topRight());
        s.quadTo(QPointF(sail.right() + sw * 0.12, sail.center().y()), sail.bottomRight());
        s.quadTo(QPointF(sail.center().x(), sail.bottom() - sh * 0.1), sail.bottomLeft());
        s.quadTo(QPointF(sail.left() + sw * 0.12, sail.center().y()), sail.topLeft());
        p.setPen(QPen(QColor(150, 130, 100), 0.8));
        p.setBrush(QColor(250, 244, 228));
        p.drawPath(s);
        p.setPen(QPen(QColor(200, 20, 30), sw * 0.13));
        p.drawLine(QPointF(sail.center().x(), sail.top() + sh * 0.2), QPointF(sail.center().x(), sail.bottom() - sh * 0.2));
        p.drawLine(QPointF(sail.left() + sw * 0.25, sail.center().y()), QPointF(sail.right() - sw * 0.25, sail.center().y()));
    }
    p.restore();
}

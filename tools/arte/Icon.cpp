#include "Icon.h"

#include "Theme.h"

#include <QLineF>
#include <QLinearGradient>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace arte {

namespace {

// Below kTinyBelow the icon keeps only what a few pixels can show: no stars and no moon, a
// crystal in two halves, a ring opened up and thickened. Below kFacetsFrom the facets have no
// edge lines, which would only blur them, and their colours are lifted off the dark sky.
constexpr qreal kTinyBelow = 20;
constexpr qreal kFacetsFrom = 64;

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

// Gradients interpolate colour and alpha separately. Painted, this differs little from the default
// for the tints fading out used here; written to SVG it keeps the stops as they are, where a
// premultiplied gradient with changing alpha is written as fifty sampled stops.
QLinearGradient linear(QPointF from, QPointF to)
{
    QLinearGradient g(from, to);
    g.setInterpolationMode(QGradient::ComponentInterpolation);
    return g;
}

QRadialGradient radial(QPointF centre, qreal radius)
{
    QRadialGradient g(centre, radius);
    g.setInterpolationMode(QGradient::ComponentInterpolation);
    return g;
}

void fillShaded(QPainter& p, const QPainterPath& path, const QColor& light, const QColor& dark)
{
    const QRectF b = path.boundingRect();
    QLinearGradient g = linear(b.topLeft(), b.bottomRight());
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    p.fillPath(path, g);
}

// A soft round light: a radial gradient in place of a blur, so that it stays a vector shape.
// It is painted over `area` only, where given: a wide halo must not spill past the tile.
void paintHalo(QPainter& p, QPointF c, qreal r, const QColor& colour, const QPainterPath& area = {})
{
    QRadialGradient g = radial(c, r);
    g.setColorAt(0.0, colour);
    g.setColorAt(0.45, withAlpha(colour, colour.alpha() * 2 / 5));
    g.setColorAt(1.0, withAlpha(colour, 0));
    if (!area.isEmpty()) {
        p.fillPath(area, g);
        return;
    }
    QPainterPath disc;
    disc.addEllipse(c, r, r);
    p.fillPath(disc, g);
}

// The orbit ring around the crystal's centre `c`, in the emblem's proportions.
struct Ring {
    QTransform toPicture;
    qreal rx;
    qreal ry;
    qreal width;
};

Ring ringFor(QPointF c, qreal s, qreal size)
{
    Ring ring;
    ring.toPicture.translate(c.x(), c.y());
    ring.toPicture.rotate(-16);
    ring.rx = s * 1.3;
    // A small ring is opened up a little and made thicker, so that it does not close into a bar.
    ring.ry = s * (size < kTinyBelow ? 0.44 : 0.36);
    ring.width = std::max(s * 0.09, size < 32 ? 1.5 : 1.3);
    return ring;
}

// Whether a star at `pos` would fall on the emblem: on the crystal, the ring or its moon.
bool onEmblem(QPointF pos, QPointF c, qreal s, const Ring& ring)
{
    const QPointF d = pos - c;
    if (std::abs(d.x()) < s * 0.75 && std::abs(d.y()) < s * 1.25)
        return true;
    const QPointF local = ring.toPicture.inverted().map(pos);
    const qreal ex = local.x() / (ring.rx + s * 0.3), ey = local.y() / (ring.ry + s * 0.3);
    return ex * ex + ey * ey < 1;
}

QPainterPath roundedRect(const QRectF& r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

void paintTile(QPainter& p, const QRectF& r, qreal radius, qreal size)
{
    const QPainterPath tile = roundedRect(r, radius);

    // A soft shadow under the tile, from a few widening translucent copies.
    if (size >= 48) {
        const qreal margin = r.left();
        for (int i = 1; i <= 4; ++i) {
            const qreal grow = margin * 0.11 * i;
            p.fillPath(roundedRect(r.adjusted(-grow, -grow, grow, grow).translated(0, margin * 0.3), radius + grow),
                       QColor(0, 0, 20, 20));
        }
    }

    QLinearGradient base = linear(r.topLeft(), r.bottomRight());
    base.setColorAt(0.0, QColor(9, 13, 44));
    base.setColorAt(0.5, QColor(22, 18, 74));
    base.setColorAt(1.0, QColor(42, 14, 70));
    p.fillPath(tile, base);

    // Nebulae, each a radial gradient over the whole tile.
    auto nebula = [&](qreal ux, qreal uy, qreal ur, const QColor& tint, int alpha) {
        QRadialGradient g = radial(QPointF(r.left() + ux * r.width(), r.top() + uy * r.height()), ur * r.width());
        g.setColorAt(0.0, withAlpha(tint, alpha));
        g.setColorAt(0.5, withAlpha(tint, alpha * 2 / 5));
        g.setColorAt(1.0, withAlpha(tint, 0));
        p.fillPath(tile, g);
    };
    nebula(0.80, 0.18, 0.60, cor::violeta, 80);
    nebula(0.15, 0.88, 0.55, QColor(40, 120, 230), 70);
    nebula(0.92, 0.95, 0.45, cor::magenta, 60);
}

void paintStars(QPainter& p, const QRectF& r, qreal size, QPointF c, qreal s, const Ring& ring)
{
    const int count = size < kTinyBelow ? 0 : int(std::lround(2 + (size - 22) * 0.16));
    const QColor tints[] = {QColor(255, 255, 255), QColor(200, 225, 255), QColor(255, 236, 200),
                            QColor(226, 206, 255)};
    const bool snap = size < 64; // whole pixels, so that a star is one clear dot
    // Stars keep a distance from each other, so that even two or three spread over the sky.
    const qreal spacing = r.width() * 0.5 / std::sqrt(qreal(std::max(count, 1)));
    QList<QPointF> stars;
    QRandomGenerator rng(7);
    for (int tries = 0; stars.size() < count && tries < 4000; ++tries) {
        QPointF pos(r.left() + r.width() * (0.1 + 0.8 * rng.generateDouble()),
                    r.top() + r.height() * (0.1 + 0.8 * rng.generateDouble()));
        const qreal mag = rng.generateDouble();
        const QColor tint = tints[rng.bounded(4)];
        if (onEmblem(pos, c, s, ring)
            || std::any_of(stars.cbegin(), stars.cend(),
                           [&](QPointF other) { return QLineF(other, pos).length() < spacing; }))
            continue;
        stars.append(pos);
        const qsizetype placed = stars.size();
        if (snap)
            pos = QPointF(std::floor(pos.x()) + 0.5, std::floor(pos.y()) + 0.5);
        // The first few are the brightest, with a sparkle once there is room for one.
        if (placed <= 3 && size >= 64) {
            paintSparkle(p, pos, size * (0.045 - placed * 0.007), withAlpha(tint, 235));
            continue;
        }
        const qreal radius = snap ? 0.6 : (0.45 + std::pow(mag, 3) * 1.2) * size / 180;
        QRadialGradient g = radial(pos, radius * 1.8);
        g.setColorAt(0.0, withAlpha(tint, int(150 + 105 * mag)));
        g.setColorAt(0.45, withAlpha(tint, int(90 + 80 * mag)));
        g.setColorAt(1.0, withAlpha(tint, 0));
        QPainterPath dot;
        dot.addEllipse(pos, radius * 1.8, radius * 1.8);
        p.fillPath(dot, g);
    }
}

void paintRim(QPainter& p, const QRectF& r, qreal radius, qreal size)
{
    const qreal w = std::max<qreal>(1.0, size / 160);
    QPainterPath rim = roundedRect(r, radius);
    rim.addRoundedRect(r.adjusted(w, w, -w, -w), radius - w, radius - w); // odd-even: only the band
    QLinearGradient g = linear(r.topLeft(), r.bottomRight());
    g.setColorAt(0.0, withAlpha(cor::ciano, 170));
    g.setColorAt(0.5, withAlpha(cor::violeta, 120));
    g.setColorAt(1.0, withAlpha(cor::magenta, 130));
    p.fillPath(rim, g);
}

void paintCrystal(QPainter& p, QPointF c, qreal s, qreal size)
{
    auto at = [&](qreal x, qreal y) { return QPointF(c.x() + x * s, c.y() + y * s); };
    const QPointF T = at(0.02, -1.0), B = at(0.0, 1.0);
    const QPointF UL = at(-0.5, -0.42), LL = at(-0.48, 0.42), UR = at(0.5, -0.40), LR = at(0.48, 0.44);
    const QPainterPath silhouette = polygonPath({T, UR, LR, B, LL, UL});

    if (size < kTinyBelow) {
        // A lit half and a shaded half: all that a few pixels can show of the facets.
        QLinearGradient lit = linear(T, B);
        lit.setColorAt(0.0, QColor(236, 252, 255));
        lit.setColorAt(0.5, QColor(110, 210, 255));
        lit.setColorAt(1.0, QColor(80, 150, 240));
        p.fillPath(polygonPath({T, B, LL, UL}), lit);
        QLinearGradient shade = linear(T, B);
        shade.setColorAt(0.0, QColor(130, 140, 255));
        shade.setColorAt(0.5, QColor(80, 60, 200));
        shade.setColorAt(1.0, QColor(70, 50, 170));
        p.fillPath(polygonPath({T, UR, LR, B}), shade);
        p.setPen(QPen(QColor(230, 250, 255, 170), 0.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(silhouette);
        return;
    }

    const QPointF UCL = at(-0.15, -0.32), UCR = at(0.2, -0.34), LCL = at(-0.14, 0.54), LCR = at(0.19, 0.52);
    // When small, the dark facets would melt into the sky: all are moved part of the way
    // toward a light blue, which keeps the lit side lit and brings the shaded side out.
    // From a hundred pixels up the full contrast reads well.
    const qreal lift = size < kFacetsFrom ? 0.4 : size < 96 ? 0.15 : 0;
    auto facet = [&](std::initializer_list<QPointF> points, const QColor& light, const QColor& dark) {
        auto lifted = [&](const QColor& colour) {
            const QColor to(150, 200, 255);
            return QColor::fromRgbF(colour.redF() + (to.redF() - colour.redF()) * lift,
                                    colour.greenF() + (to.greenF() - colour.greenF()) * lift,
                                    colour.blueF() + (to.blueF() - colour.blueF()) * lift);
        };
        fillShaded(p, polygonPath(points), lifted(light), lifted(dark));
    };
    facet({T, UL, UCL}, QColor(246, 254, 255), QColor(150, 228, 255));
    facet({T, UCL, UCR}, QColor(200, 246, 255), QColor(96, 190, 255));
    facet({T, UCR, UR}, QColor(140, 160, 255), QColor(92, 86, 220));
    facet({UL, UCL, LCL, LL}, QColor(120, 226, 255), QColor(48, 122, 226));
    facet({UCL, UCR, LCR, LCL}, QColor(86, 176, 255), QColor(60, 62, 196));
    facet({UCR, UR, LR, LCR}, QColor(88, 70, 200), QColor(44, 24, 118));
    facet({LL, LCL, B}, QColor(62, 130, 230), QColor(44, 44, 150));
    facet({LCL, LCR, B}, QColor(64, 62, 186), QColor(34, 22, 100));
    facet({LCR, LR, B}, QColor(46, 26, 120), QColor(22, 12, 64));

    if (size >= kFacetsFrom) {
        QPen edge(QColor(255, 255, 255, 150), std::max<qreal>(0.7, s * 0.014));
        edge.setCapStyle(Qt::RoundCap);
        p.setPen(edge);
        p.setBrush(Qt::NoBrush);
        QPainterPath edges;
        for (const auto& [a, b] : {std::pair{T, UCL}, {T, UCR}, {UL, UCL}, {UCL, UCR}, {UCR, UR}, {UCL, LCL},
                                   {UCR, LCR}, {LL, LCL}, {LCL, LCR}, {LCR, LR}, {LCL, B}, {LCR, B}}) {
            edges.moveTo(a);
            edges.lineTo(b);
        }
        p.drawPath(edges);
    }
    QPen outline(QColor(230, 250, 255, 210), std::max<qreal>(0.8, s * 0.022));
    outline.setJoinStyle(Qt::RoundJoin);
    p.setPen(outline);
    p.setBrush(Qt::NoBrush);
    p.drawPath(silhouette);

    // A glint on the upper facets.
    if (size >= 32)
        paintSparkle(p, at(-0.2, -0.55), s * 0.32, QColor(255, 255, 255, 235));
}

void paintEmblemForIcon(QPainter& p, const QPainterPath& tile, QPointF c, qreal s, qreal size)
{
    paintHalo(p, c, s * 1.7, QColor(120, 110, 255, 110), tile);
    paintHalo(p, c, s * 1.1, QColor(90, 210, 255, size < kTinyBelow ? 60 : 90));

    const Ring ring = ringFor(c, s, size);
    const QRectF ellipse(-ring.rx, -ring.ry, 2 * ring.rx, 2 * ring.ry);
    QPainterPath back, front;
    back.arcMoveTo(ellipse, 0);
    back.arcTo(ellipse, 0, 180);
    front.arcMoveTo(ellipse, 180);
    front.arcTo(ellipse, 180, 180);
    back = ring.toPicture.map(back);
    front = ring.toPicture.map(front);

    QLinearGradient gold = linear(QPointF(c.x() - ring.rx, c.y()), QPointF(c.x() + ring.rx, c.y()));
    gold.setColorAt(0.0, QColor(255, 150, 40));
    gold.setColorAt(0.5, QColor(255, 226, 140));
    gold.setColorAt(1.0, QColor(255, 130, 40));

    // Each half of the ring is a gold band over a wider translucent one, its glow; when large,
    // a bright line runs along its middle.
    auto paintArc = [&](const QPainterPath& arc, int alpha) {
        QPainterPathStroker stroker;
        stroker.setCapStyle(Qt::RoundCap);
        if (size >= 64) {
            stroker.setWidth(ring.width * 2.8);
            p.fillPath(stroker.createStroke(arc), QColor(255, 150, 50, alpha / 5));
        }
        stroker.setWidth(ring.width);
        const QPainterPath band = stroker.createStroke(arc);
        p.setOpacity(alpha / 255.0);
        p.fillPath(band, gold);
        p.setOpacity(1);
        if (size >= 64) {
            p.setPen(QPen(QColor(255, 255, 230, alpha * 3 / 4), std::max<qreal>(0.6, s * 0.016)));
            p.setBrush(Qt::NoBrush);
            p.drawPath(arc);
        }
    };
    paintArc(back, size < kFacetsFrom ? 200 : 150); // a faint line would break up when small
    paintCrystal(p, c, s, size);
    paintArc(front, 255);

    // The small moon on the front of the ring.
    if (size >= kTinyBelow) {
        const qreal angle = qDegreesToRadians(60.0);
        const QPointF moon = ring.toPicture.map(QPointF(ring.rx * std::cos(angle), ring.ry * std::sin(angle)));
        const qreal mr = std::max<qreal>(s * 0.12, 1.4);
        paintHalo(p, moon, mr * 2.4, QColor(255, 200, 110, 150));
        QRadialGradient fill = radial(moon - QPointF(mr * 0.4, mr * 0.4), mr * 1.4);
        fill.setColorAt(0, QColor(255, 255, 240));
        fill.setColorAt(0.5, QColor(255, 214, 120));
        fill.setColorAt(1, QColor(230, 110, 40));
        QPainterPath disc;
        disc.addEllipse(moon, mr, mr);
        p.fillPath(disc, fill);
    }
}

} // namespace

void paintIcon(QPainter& p, qreal size)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);

    // Whole-pixel margins keep the tile's straight edges sharp; the smallest icon uses all of it.
    const qreal margin = size < kTinyBelow ? 0 : std::round(size * 0.055);
    const QRectF tile(margin, margin, size - 2 * margin, size - 2 * margin);
    const qreal radius = tile.width() * 0.22;
    const QPointF c = tile.center();
    const qreal s = tile.width() * 0.33;

    paintTile(p, tile, radius, size);
    paintStars(p, tile, size, c, s, ringFor(c, s, size));
    paintEmblemForIcon(p, roundedRect(tile, radius), c, s, size);
    paintRim(p, tile, radius, size);
    p.restore();
}

} // namespace arte

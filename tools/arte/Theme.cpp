#include "Theme.h"

#include "Texts.h"

#include <QFontMetricsF>
#include <QGraphicsBlurEffect>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPixmap>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

namespace arte {

namespace {

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

// Gaussian-like blur by Qt's own blur effect, rendered through a scene.
QImage blurred(const QImage& source, qreal radius)
{
    QGraphicsScene scene;
    QGraphicsPixmapItem* item = scene.addPixmap(QPixmap::fromImage(source));
    auto* blur = new QGraphicsBlurEffect;
    blur->setBlurRadius(radius);
    blur->setBlurHints(QGraphicsBlurEffect::QualityHint);
    item->setGraphicsEffect(blur);

    QImage out(source.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter q(&out);
    scene.render(&q, QRectF(out.rect()), QRectF(out.rect()));
    return out;
}


// One facet of the crystal, shaded along its own diagonal.
void paintFacet(QPainter& p, const QPainterPath& facet, const QColor& light, const QColor& dark)
{
    const QRectF b = facet.boundingRect();
    QLinearGradient g(b.topLeft(), b.bottomRight());
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    p.fillPath(facet, g);
}

QPainterPath textPath(const QString& text, const QFont& font, QPointF anchor, Qt::Alignment align)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF b = path.boundingRect();
    qreal dx = -b.left();
    if (align & Qt::AlignHCenter)
        dx -= b.width() / 2;
    else if (align & Qt::AlignRight)
        dx -= b.width();
    return path.translated(anchor.x() + dx, anchor.y());
}

// Visual width of a text as painted, without side bearings.
qreal inkWidth(const QString& text, const QFont& font)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path.boundingRect().width();
}

QFont titleFont(qreal px) { return cabin(px, QFont::Bold); }
QFont subtitleFont(qreal titlePx) { return cabin(titlePx * 0.40, QFont::DemiBold, titlePx * 0.40 * 0.30); }

// The subtitle with a thin ornament line and a small diamond at each end of `span`.
void paintSubtitle(QPainter& p, const QFont& font, qreal baseline, qreal left, qreal right, bool centred)
{
    const QString& text = texto::tituloSubtitulo;
    const qreal w = inkWidth(text, font);
    const qreal capHeight = QFontMetricsF(font).capHeight();
    const qreal lineY = baseline - capHeight / 2;
    const qreal gap = font.pixelSize() * 0.7;
    const qreal textLeft = centred ? (left + right - w) / 2 : left;
    const QPainterPath path = textPath(text, font, QPointF(textLeft, baseline), Qt::AlignLeft);

    auto ornament = [&](qreal from, qreal to) {
        if (std::abs(to - from) < gap)
            return;
        QLinearGradient g(from, lineY, to, lineY);
        g.setColorAt(0, withAlpha(cor::ciano, 220));
        g.setColorAt(1, withAlpha(cor::violeta, 0));
        p.setPen(QPen(QBrush(g), std::max<qreal>(1.0, font.pixelSize() * 0.07)));
        p.drawLine(QPointF(from, lineY), QPointF(to, lineY));
        const qreal d = font.pixelSize() * 0.16;
        p.setPen(Qt::NoPen);
        p.setBrush(cor::ouro);
        p.drawPolygon(QPolygonF({{from, lineY - d}, {from + d, lineY}, {from, lineY + d}, {from - d, lineY}}));
    };
    if (centred)
        ornament(textLeft - gap, left);
    ornament(textLeft + w + gap, right);

    paintGlow(p, path, withAlpha(cor::ciano, 150), font.pixelSize() * 0.35);
    p.fillPath(path.translated(0, 1.2), QColor(6, 4, 24, 200));
    p.fillPath(path, QColor(200, 238, 255));
}

} // namespace

QPainterPath polygonPath(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QFont cabin(qreal pixelSize, QFont::Weight weight, qreal letterSpacing)
{
    QFont f(QStringLiteral("Cabin"));
    f.setPixelSize(std::max(1, qRound(pixelSize)));
    f.setWeight(weight);
    f.setHintingPreference(QFont::PreferNoHinting);
    if (letterSpacing != 0)
        f.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    return f;
}

void paintSpace(QPainter& p, const QRectF& a, quint32 seed)
{
    QRandomGenerator rng(seed);
    const qreal span = std::max(a.width(), a.height());

    QLinearGradient base(a.topLeft(), a.bottomRight());
    base.setColorAt(0.0, QColor(9, 13, 44));
    base.setColorAt(0.5, QColor(22, 18, 74));
    base.setColorAt(1.0, QColor(42, 14, 70));
    p.fillRect(a, base);

    // Nebulae: wide, faint clouds brightening the base where they overlap.
    p.save();
    p.setClipRect(a);
    p.setPen(Qt::NoPen);
    p.setCompositionMode(QPainter::CompositionMode_Screen);
    const QColor tints[] = {cor::violeta, cor::magenta, QColor(40, 120, 230), cor::ciano};
    for (int i = 0; i < 10; ++i) {
        const QPointF c(a.left() + rng.bounded(a.width()), a.top() + rng.bounded(a.height()));
        const qreal r = span * (0.12 + rng.bounded(0.28));
        const QColor t = tints[i % 4];
        QRadialGradient g(c, r);
        g.setColorAt(0.0, withAlpha(t, 34 + rng.bounded(30)));
        g.setColorAt(0.5, withAlpha(t, 14));
        g.setColorAt(1.0, withAlpha(t, 0));
        p.setBrush(g);
        p.drawEllipse(c, r, r);
    }
    p.restore();

    // Stars: most along a faint diagonal band, the rest anywhere.
    p.save();
    p.setClipRect(a);
    p.setPen(Qt::NoPen);
    const QColor starTints[] = {QColor(255, 255, 255), QColor(200, 225, 255), QColor(255, 236, 200),
                                QColor(226, 206, 255)};
    const int count = int(a.width() * a.height() / 650);
    for (int i = 0; i < count; ++i) {
        QPointF pos;
        if (i % 5 < 2) {
            const qreal t = rng.generateDouble();
            const qreal off = (rng.generateDouble() + rng.generateDouble() - 1.0) * a.height() * 0.22;
            pos = QPointF(a.left() + t * a.width(), a.bottom() - t * a.height() * 0.9 + off);
        } else {
            pos = QPointF(a.left() + rng.bounded(a.width()), a.top() + rng.bounded(a.height()));
        }
        const qreal mag = rng.generateDouble();
        const qreal radius = 0.45 + std::pow(mag, 7) * 1.7;
        const QColor tint = starTints[rng.bounded(4)];
        QRadialGradient g(pos, radius * 1.8);
        g.setColorAt(0.0, withAlpha(tint, int(110 + 145 * mag)));
        g.setColorAt(0.45, withAlpha(tint, int(60 + 80 * mag)));
        g.setColorAt(1.0, withAlpha(tint, 0));
        p.setBrush(g);
        p.drawEllipse(pos, radius * 1.8, radius * 1.8);
        if (mag > 0.992)
            paintSparkle(p, pos, 5 + rng.bounded(4.0), withAlpha(tint, 220));
    }
    p.restore();
}

void paintGlow(QPainter& p, const QPainterPath& path, const QColor& colour, qreal radius)
{
    const QPainterPath onDevice = p.worldTransform().map(path);
    const qreal margin = radius * 2.5;
    const QRect bounds = onDevice.boundingRect().adjusted(-margin, -margin, margin, margin).toAlignedRect();
    if (bounds.isEmpty())
        return;
    QImage mask(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter q(&mask);
        q.setRenderHint(QPainter::Antialiasing);
        q.translate(-bounds.topLeft());
        q.fillPath(onDevice, colour);
    }
    p.save();
    p.resetTransform();
    p.drawImage(bounds.topLeft(), blurred(mask, radius));
    p.restore();
}

void paintPlanet(QPainter& p, QPointF c, qreal radius)
{
    QPainterPath body;
    body.addEllipse(c, radius, radius);
    QPainterPath rim;
    rim.addEllipse(c, radius + 3, radius + 3);
    rim = rim.subtracted(body);
    paintGlow(p, rim, QColor(90, 200, 255, 255), 18);
    paintGlow(p, rim, QColor(150, 100, 255, 255), 40);

    // Lit from above: the top of the disc is bright, the surface falls into night below.
    QLinearGradient surface(c.x(), c.y() - radius, c.x(), c.y() - radius + 160);
    surface.setColorAt(0.0, QColor(92, 70, 190));
    surface.setColorAt(0.08, QColor(52, 36, 128));
    surface.setColorAt(0.45, QColor(24, 16, 70));
    surface.setColorAt(1.0, QColor(10, 8, 34));
    p.fillPath(body, surface);

    // Faint bands of cloud following the curvature.
    p.save();
    p.setClipPath(body);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        const qreal r = radius - 14 - i * 22;
        p.setPen(QPen(QColor(140, 120, 255, 36 - i * 6), 6 - i));
        p.drawEllipse(QPointF(c.x() + 40 + i * 30, c.y() + 6), r, r);
    }
    p.restore();

    QLinearGradient edge(c.x() - radius, 0, c.x() + radius, 0);
    edge.setColorAt(0.0, QColor(120, 220, 255, 0));
    edge.setColorAt(0.5, QColor(200, 240, 255, 230));
    edge.setColorAt(1.0, QColor(120, 220, 255, 0));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(edge), 1.6));
    p.drawEllipse(c, radius, radius);
}

void paintPanel(QPainter& p, const QRectF& r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    paintGlow(p, path.translated(0, 4), QColor(0, 0, 10, 170), 12);

    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, QColor(24, 24, 76, 205));
    fill.setColorAt(1, QColor(10, 10, 42, 220));
    p.fillPath(path, fill);

    QLinearGradient rim(r.topLeft(), r.bottomRight());
    rim.setColorAt(0.0, withAlpha(cor::ciano, 170));
    rim.setColorAt(0.5, withAlpha(cor::violeta, 130));
    rim.setColorAt(1.0, withAlpha(cor::magenta, 110));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(rim), 1.4));
    p.drawRoundedRect(r.adjusted(0.7, 0.7, -0.7, -0.7), radius - 0.7, radius - 0.7);

    // A faint sheen under the top edge.
    QLinearGradient sheen(r.left(), 0, r.right(), 0);
    sheen.setColorAt(0.0, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.3, QColor(255, 255, 255, 60));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(QPen(QBrush(sheen), 1));
    p.drawLine(QPointF(r.left() + radius, r.top() + 2.5), QPointF(r.right() - radius, r.top() + 2.5));
}

void paintValueBox(QPainter& p, const QRectF& r)
{
    QPainterPath path;
    path.addRoundedRect(r, 8, 8);
    paintGlow(p, path.translated(0, 3), QColor(0, 0, 12, 180), 7);

    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, QColor(255, 255, 255));
    fill.setColorAt(1, QColor(236, 238, 252));
    p.fillPath(path, fill);

    QLinearGradient rim(r.topLeft(), r.bottomRight());
    rim.setColorAt(0, cor::ouro);
    rim.setColorAt(1, cor::laranja);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(rim), 2));
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 7, 7);
}

void paintPhotoFrame(QPainter& p, const QRectF& outer, const QRectF& inner)
{
    QPainterPath outerPath;
    outerPath.addRoundedRect(outer, 18, 18);
    QPainterPath rimInner;
    const QRectF band = outer.adjusted(4, 4, -4, -4);
    rimInner.addRoundedRect(band, 14, 14);
    QPainterPath window;
    window.addRoundedRect(inner, 4, 4);

    paintGlow(p, outerPath, withAlpha(cor::laranja, 150), 14);

    // Gold band with a light and a dark side.
    QLinearGradient gold(outer.topLeft(), outer.bottomRight());
    gold.setColorAt(0.0, QColor(255, 236, 170));
    gold.setColorAt(0.35, cor::ouro);
    gold.setColorAt(0.7, QColor(232, 118, 28));
    gold.setColorAt(1.0, QColor(255, 190, 90));
    p.fillPath(outerPath.subtracted(rimInner), gold);

    // Mat between the band and the picture.
    QLinearGradient mat(band.topLeft(), band.bottomLeft());
    mat.setColorAt(0, QColor(58, 34, 120));
    mat.setColorAt(1, QColor(28, 16, 70));
    p.fillPath(rimInner.subtracted(window), mat);

    QRadialGradient inside(inner.center(), inner.height() * 0.7);
    inside.setColorAt(0, QColor(34, 36, 92));
    inside.setColorAt(1, QColor(14, 14, 46));
    p.fillPath(window, inside);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 120), 1));
    p.drawRoundedRect(outer.adjusted(0.5, 0.5, -0.5, -0.5), 17.5, 17.5);
    p.setPen(QPen(withAlpha(cor::ouro, 200), 1.2));
    p.drawRoundedRect(inner.adjusted(-1.5, -1.5, 1.5, 1.5), 5, 5);
}

void paintShootingStar(QPainter& p, QPointF tail, QPointF head)
{
    const QLineF line(tail, head);
    const QLineF normal = line.normalVector().unitVector();
    const QPointF side = (normal.p2() - normal.p1()) * 1.6;
    const QPainterPath streak = polygonPath({tail, head + side, head - side});
    QLinearGradient fade(tail, head);
    fade.setColorAt(0.0, QColor(160, 220, 255, 0));
    fade.setColorAt(0.8, QColor(190, 230, 255, 150));
    fade.setColorAt(1.0, QColor(255, 255, 255, 240));
    paintGlow(p, streak, QColor(120, 200, 255, 160), 4);
    p.fillPath(streak, fade);
    paintSparkle(p, head, 7, QColor(255, 255, 255, 240));
}

void paintSparkle(QPainter& p, QPointF c, qreal s, const QColor& colour)
{
    const qreal w = s * 0.16;
    const QPainterPath star = polygonPath({{c.x(), c.y() - s}, {c.x() + w, c.y() - w}, {c.x() + s, c.y()},
                                           {c.x() + w, c.y() + w}, {c.x(), c.y() + s}, {c.x() - w, c.y() + w},
                                           {c.x() - s, c.y()}, {c.x() - w, c.y() - w}});
    QRadialGradient halo(c, s * 0.8);
    halo.setColorAt(0, withAlpha(colour, colour.alpha() / 2));
    halo.setColorAt(1, withAlpha(colour, 0));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(c, s * 0.8, s * 0.8);
    p.fillPath(star, colour);
    p.restore();
}

void paintEmblem(QPainter& p, QPointF c, qreal s)
{
    p.save();

    // Halo behind everything.
    QRadialGradient halo(c, s * 1.7);
    halo.setColorAt(0.0, QColor(120, 110, 255, 120));
    halo.setColorAt(0.5, QColor(110, 60, 220, 50));
    halo.setColorAt(1.0, QColor(90, 40, 200, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(c, s * 1.7, s * 1.7);

    // The orbit ring, tilted; its upper half passes behind the crystal, its lower half in front.
    const qreal rx = s * 1.3, ry = s * 0.36, tilt = -16;
    QTransform ring;
    ring.translate(c.x(), c.y());
    ring.rotate(tilt);
    const QRectF ellipse(-rx, -ry, 2 * rx, 2 * ry);
    QPainterPath back, front;
    back.arcMoveTo(ellipse, 0);
    back.arcTo(ellipse, 0, 180);
    front.arcMoveTo(ellipse, 180);
    front.arcTo(ellipse, 180, 180);
    back = ring.map(back);
    front = ring.map(front);

    QPainterPathStroker stroker;
    stroker.setWidth(s * 0.075);
    stroker.setCapStyle(Qt::RoundCap);
    QLinearGradient ringGold(c.x() - rx, c.y(), c.x() + rx, c.y());
    ringGold.setColorAt(0.0, QColor(255, 150, 40));
    ringGold.setColorAt(0.5, QColor(255, 226, 140));
    ringGold.setColorAt(1.0, QColor(255, 130, 40));

    // Opacity set by the caller (a faint watermark) applies to the whole emblem.
    const qreal opacity = p.opacity();
    auto paintRing = [&](const QPainterPath& arc, int alpha) {
        const QPainterPath band = stroker.createStroke(arc);
        paintGlow(p, band, QColor(255, 150, 50, alpha), s * 0.12);
        p.setOpacity(opacity * alpha / 255.0);
        p.fillPath(band, ringGold);
        p.setOpacity(opacity);
        p.setPen(QPen(QColor(255, 255, 230, alpha * 3 / 4), std::max<qreal>(0.6, s * 0.015)));
        p.setBrush(Qt::NoBrush);
        p.drawPath(arc);
    };
    paintRing(back, 150);

    // The crystal: a hexagonal prism with pointed ends, lit from the upper left.
    auto at = [&](qreal x, qreal y) { return QPointF(c.x() + x * s, c.y() + y * s); };
    const QPointF T = at(0.02, -1.0), B = at(0.0, 1.0);
    const QPointF UL = at(-0.5, -0.42), LL = at(-0.48, 0.42), UR = at(0.5, -0.40), LR = at(0.48, 0.44);
    const QPointF UCL = at(-0.15, -0.32), UCR = at(0.2, -0.34), LCL = at(-0.14, 0.54), LCR = at(0.19, 0.52);
    const QPainterPath silhouette = polygonPath({T, UR, LR, B, LL, UL});
    paintGlow(p, silhouette, QColor(90, 210, 255, 200), s * 0.25);

    paintFacet(p, polygonPath({T, UL, UCL}), QColor(246, 254, 255), QColor(150, 228, 255));
    paintFacet(p, polygonPath({T, UCL, UCR}), QColor(200, 246, 255), QColor(96, 190, 255));
    paintFacet(p, polygonPath({T, UCR, UR}), QColor(140, 160, 255), QColor(92, 86, 220));
    paintFacet(p, polygonPath({UL, UCL, LCL, LL}), QColor(120, 226, 255), QColor(48, 122, 226));
    paintFacet(p, polygonPath({UCL, UCR, LCR, LCL}), QColor(86, 176, 255), QColor(60, 62, 196));
    paintFacet(p, polygonPath({UCR, UR, LR, LCR}), QColor(88, 70, 200), QColor(44, 24, 118));
    paintFacet(p, polygonPath({LL, LCL, B}), QColor(62, 130, 230), QColor(44, 44, 150));
    paintFacet(p, polygonPath({LCL, LCR, B}), QColor(64, 62, 186), QColor(34, 22, 100));
    paintFacet(p, polygonPath({LCR, LR, B}), QColor(46, 26, 120), QColor(22, 12, 64));

    QPen edge(QColor(255, 255, 255, 150), std::max<qreal>(0.7, s * 0.014));
    edge.setJoinStyle(Qt::RoundJoin);
    p.setPen(edge);
    p.setBrush(Qt::NoBrush);
    for (const auto& [a, b] : {std::pair{T, UCL}, {T, UCR}, {UL, UCL}, {UCL, UCR}, {UCR, UR}, {UCL, LCL},
                               {UCR, LCR}, {LL, LCL}, {LCL, LCR}, {LCR, LR}, {LCL, B}, {LCR, B}})
        p.drawLine(a, b);
    p.setPen(QPen(QColor(230, 250, 255, 200), std::max<qreal>(0.9, s * 0.02)));
    p.drawPath(silhouette);

    // A glint on the upper facets.
    paintSparkle(p, at(-0.2, -0.55), s * 0.32, QColor(255, 255, 255, 235));

    paintRing(front, 255);

    // A small moon travelling on the ring, in front.
    const QPointF moon = ring.map(QPointF(rx * std::cos(qDegreesToRadians(60.0)), ry * std::sin(qDegreesToRadians(60.0))));
    const qreal mr = s * 0.11;
    QRadialGradient moonFill(moon - QPointF(mr * 0.4, mr * 0.4), mr * 1.4);
    moonFill.setColorAt(0, QColor(255, 255, 240));
    moonFill.setColorAt(0.5, QColor(255, 214, 120));
    moonFill.setColorAt(1, QColor(230, 110, 40));
    QPainterPath moonPath;
    moonPath.addEllipse(moon, mr, mr);
    paintGlow(p, moonPath, QColor(255, 200, 110, 230), mr * 1.2);
    p.fillPath(moonPath, moonFill);

    p.restore();
}

void paintGoldText(QPainter& p, const QString& text, const QFont& font, QPointF anchor, Qt::Alignment align)
{
    const QPainterPath path = textPath(text, font, anchor, align);
    const qreal px = font.pixelSize();
    const QRectF b = path.boundingRect();

    const QColor glow(150, 80, 255, 255);
    paintGlow(p, path, glow, px * 0.32);
    paintGlow(p, path, glow, px * 0.14);
    p.fillPath(path.translated(0, px * 0.05), QColor(20, 6, 40, 220));

    QLinearGradient fill(b.topLeft(), b.bottomLeft());
    fill.setColorAt(0.0, QColor(255, 255, 255));
    fill.setColorAt(0.45, QColor(255, 242, 206));
    fill.setColorAt(0.75, QColor(255, 200, 92));
    fill.setColorAt(1.0, QColor(246, 150, 50));
    p.fillPath(path, fill);
    p.setPen(QPen(QColor(255, 255, 255, 70), std::max<qreal>(0.5, px * 0.012)));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void paintShadowedText(QPainter& p, const QRectF& r, int flags, const QString& text, const QFont& font,
                       const QColor& colour)
{
    p.save();
    p.setFont(font);
    p.setPen(QColor(0, 0, 16, 150));
    p.drawText(r.translated(0, 1.5), flags, text);
    p.setPen(colour);
    p.drawText(r, flags, text);
    p.restore();
}

void paintTitleArt(QPainter& p, const QRectF& box, TitleLayout layout)
{
    const QString& title = texto::tituloPrincipal;
    // Measures in units of the title's pixel size, so the artwork scales as a whole.
    const qreal widthPerPx = inkWidth(title, titleFont(100)) / 100;
    const qreal emblemPerPx = 1.3;   // crystal half height
    const qreal titleBlock = 0.92;   // accented capitals, top of the accent to the baseline
    const qreal subtitleBlock = 0.30;

    if (layout == TitleLayout::Stacked) {
        const qreal gapEmblem = 0.28, gapSubtitle = 0.42;
        const qreal heightPerPx = 2 * emblemPerPx + gapEmblem + titleBlock + gapSubtitle + subtitleBlock;
        const qreal px = std::min(box.width() * 0.96 / widthPerPx, box.height() / heightPerPx);
        const qreal s = emblemPerPx * px;
        const qreal top = box.top() + (box.height() - heightPerPx * px) / 2;
        const qreal cx = box.center().x();
        paintEmblem(p, QPointF(cx, top + s), s);
        const qreal baseline = top + 2 * s + (gapEmblem + titleBlock) * px;
        paintGoldText(p, title, titleFont(px), QPointF(cx, baseline));
        const qreal half = widthPerPx * px / 2;
        paintSubtitle(p, subtitleFont(px), baseline + (gapSubtitle + subtitleBlock) * px, cx - half, cx + half, true);
    } else {
        const qreal gapSubtitle = 0.40;
        const qreal heightPerPx = titleBlock + gapSubtitle + subtitleBlock;
        const qreal emblemHalf = heightPerPx / 2 * 1.25; // crystal a little taller than the text
        const qreal emblemWidth = 2 * 1.3 * emblemHalf;   // the ring's width
        const qreal gap = 0.30;
        const qreal widthTotal = emblemWidth + gap + widthPerPx;
        const qreal px = std::min(box.width() / widthTotal, box.height() / (2 * emblemHalf));
        const qreal left = box.left() + (box.width() - widthTotal * px) / 2;
        const qreal cy = box.center().y();
        paintEmblem(p, QPointF(left + emblemWidth * px / 2, cy), emblemHalf * px);
        const qreal textLeft = left + (emblemWidth + gap) * px;
        const qreal baseline = cy - heightPerPx * px / 2 + titleBlock * px;
        paintGoldText(p, title, titleFont(px), QPointF(textLeft, baseline), Qt::AlignLeft);
        paintSubtitle(p, subtitleFont(px), baseline + (gapSubtitle + subtitleBlock) * px, textLeft,
                      textLeft + widthPerPx * px, false);
    }
}

} // namespace arte

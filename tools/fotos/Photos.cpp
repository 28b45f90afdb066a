// One painter per question. A picture matches its question without naming or drawing the
// answer: it sets the scene (a planet and its orbits, a map, an instrument) and leaves the
// choosing to the player.
#include "Photos.h"

#include "Canvas.h"
#include "Outlines.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QtMath>

#include <cmath>

namespace {

// ---- shared scenery -----------------------------------------------------------------------

void space(QPainter &p, unsigned seed)
{
    verticalGradient(p, QColor(8, 10, 34), QColor(28, 22, 64));
    starField(p, 90, seed);
}

void parchment(QPainter &p)
{
    verticalGradient(p, QColor(246, 232, 196), QColor(226, 200, 150));
    QRandomGenerator rng(7);
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 40; ++i) {
        p.setBrush(QColor(150, 110, 50, 10 + rng.bounded(14)));
        const QPointF at(rng.bounded(double(PhotoWidth)), rng.bounded(double(PhotoHeight)));
        const qreal r = 4 + rng.bounded(14.0);
        p.drawEllipse(at, r, r * 0.7);
    }
    p.restore();
    vignette(p, 0.3);
}

void chalkboard(QPainter &p)
{
    verticalGradient(p, QColor(40, 78, 58), QColor(28, 58, 42));
    QRandomGenerator rng(11);
    p.save();
    for (int i = 0; i < 25; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 12), 6 + rng.bounded(10)));
        const qreal y = rng.bounded(double(PhotoHeight));
        p.drawLine(QPointF(rng.bounded(40.0), y), QPointF(60 + rng.bounded(77.0), y + rng.bounded(10.0) - 5));
    }
    // Wooden frame.
    p.setPen(QPen(QColor(120, 80, 40), 6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(PhotoRect.adjusted(3, 3, -3, -3));
    p.restore();
}

void graphPaper(QPainter &p)
{
    p.fillRect(PhotoRect, QColor(250, 250, 244));
    p.save();
    for (int x = 4; x < PhotoWidth; x += 8) {
        p.setPen(QPen(QColor(120, 170, 210, (x - 4) % 40 == 0 ? 110 : 50), 0.6));
        p.drawLine(QPointF(x, 0), QPointF(x, PhotoHeight));
    }
    for (int y = 4; y < PhotoHeight; y += 8) {
        p.setPen(QPen(QColor(120, 170, 210, (y - 4) % 40 == 0 ? 110 : 50), 0.6));
        p.drawLine(QPointF(0, y), QPointF(PhotoWidth, y));
    }
    p.restore();
}

void softBackdrop(QPainter &p, const QColor &centre, const QColor &edge)
{
    QRadialGradient g(QPointF(PhotoWidth / 2.0, PhotoHeight * 0.45), PhotoHeight * 0.7);
    g.setColorAt(0, centre);
    g.setColorAt(1, edge);
    p.fillRect(PhotoRect, g);
}

void arrow(QPainter &p, QPointF from, QPointF to, const QColor &colour, qreal width = 2.5)
{
    p.save();
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const qreal a = std::atan2(to.y() - from.y(), to.x() - from.x());
    const qreal head = 4 + width * 1.5;
    QPolygonF tip;
    tip << to << to - QPointF(head * std::cos(a - 0.45), head * std::sin(a - 0.45))
        << to - QPointF(head * std::cos(a + 0.45), head * std::sin(a + 0.45));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(tip);
    p.restore();
}

void fillPolygon(QPainter &p, const QPolygonF &poly, const QBrush &brush, const QPen &pen = Qt::NoPen)
{
    p.save();
    p.setPen(pen);
    p.setBrush(brush);
    p.drawPolygon(poly);
    p.restore();
}

void skyWithSun(QPainter &p, const QColor &top, const QColor &horizon, QPointF sunAt, qreal sunRadius)
{
    verticalGradient(p, top, horizon);
    sun(p, sunAt, sunRadius);
}

// ---- geography of Brazil -------------------------------------------------------------------

void congressAtSunset(QPainter &p)
{
    verticalGradient(p, QColor(58, 48, 120), QColor(255, 150, 72), QRectF(0, 0, PhotoWidth, 128));
    sun(p, QPointF(100, 108), 13, QColor(255, 200, 90));
    cloud(p, QPointF(30, 40), 40, QColor(255, 190, 160, 90));
    cloud(p, QPointF(110, 62), 34, QColor(255, 190, 160, 80));
    verticalGradient(p, QColor(70, 110, 60), QColor(30, 60, 30), QRectF(0, 128, PhotoWidth, 49));
    // The reflecting pool mirrors the sky.
    verticalGradient(p, QColor(250, 160, 90), QColor(120, 90, 140), QRectF(0, 140, PhotoWidth, 12));
    const QColor dark(42, 30, 58);
    p.setPen(Qt::NoPen);
    p.setBrush(dark);
    // Twin towers joined in the middle, the long platform, the dome and the open bowl.
    p.drawRect(QRectF(59, 52, 8, 76));
    p.drawRect(QRectF(70, 52, 8, 76));
    p.drawRect(QRectF(66, 76, 5, 7));
    p.drawRect(QRectF(8, 121, 121, 7));
    p.drawChord(QRectF(20, 109, 30, 24), 0, 180 * 16);
    QPolygonF bowl;
    bowl << QPointF(88, 108) << QPointF(124, 108) << QPointF(113, 121) << QPointF(99, 121);
    p.drawPolygon(bowl);
    // Reflections.
    p.setBrush(QColor(42, 30, 58, 70));
    p.drawRect(QRectF(59, 140, 8, 12));
    p.drawRect(QRectF(70, 140, 8, 12));
}

void brazilMapWithRuler(QPainter &p)
{
    verticalGradient(p, QColor(178, 220, 244), QColor(118, 178, 226));
    const QRectF box(8, 14, 121, 132);
    QLinearGradient land(box.topLeft(), box.bottomRight());
    land.setColorAt(0, QColor(110, 190, 100));
    land.setColorAt(1, QColor(40, 128, 72));
    fillPolygon(p, projectOutline(brazilOutline(), box), land, QPen(QColor(255, 255, 255), 1.6));
    emojiWithShadow(p, QStringLiteral("📏"), QPointF(104, 154), 40, -25);
}

void highlandPeak(QPainter &p)
{
    skyWithSun(p, QColor(96, 160, 228), QColor(214, 236, 250), QPointF(28, 30), 11);
    cloud(p, QPointF(112, 34), 40);
    mountain(p, QPointF(104, 70), 50, 150, QColor(110, 150, 150));
    mountain(p, QPointF(62, 38), 70, 160, QColor(62, 120, 78));
    hills(p, 150, 14, QColor(38, 92, 50), 3);
    hills(p, 166, 10, QColor(28, 70, 38), 9);
    emojiWithShadow(p, QStringLiteral("🧗"), QPointF(92, 108), 24);
}

void waterfall(QPainter &p)
{
    verticalGradient(p, QColor(126, 188, 238), QColor(200, 228, 246), QRectF(0, 0, PhotoWidth, 50));
    cloud(p, QPointF(104, 20), 36);
    // The rim of the falls, covered in forest, and the dark rock of the gorge behind the water.
    hills(p, 44, 8, QColor(40, 110, 50), 21);
    p.fillRect(QRectF(0, 44, PhotoWidth, 100), QColor(64, 58, 44));
    // Two tiers of falling water, streaked, broken here and there by dark rock, with a green
    // ledge between them.
    QRandomGenerator rng(5);
    const struct { qreal top, height; } tiers[] = {{46, 50}, {100, 42}};
    for (const auto &tier : tiers) {
        QLinearGradient g(QPointF(0, tier.top), QPointF(0, tier.top + tier.height));
        g.setColorAt(0, QColor(236, 246, 252));
        g.setColorAt(1, QColor(196, 222, 238));
        p.fillRect(QRectF(0, tier.top, PhotoWidth, tier.height), g);
        for (int i = 0; i < 3; ++i) {
            const qreal x = 10 + rng.bounded(117.0);
            QPolygonF gap;
            gap << QPointF(x, tier.top) << QPointF(x + 3 + rng.bounded(5.0), tier.top)
                << QPointF(x + 1 + rng.bounded(3.0), tier.top + tier.height * (0.4 + rng.bounded(0.5)));
            fillPolygon(p, gap, QColor(74, 66, 50, 200));
        }
        for (int i = 0; i < 40; ++i) {
            const qreal x = rng.bounded(double(PhotoWidth));
            p.setPen(QPen(QColor(150, 190, 215, 60 + rng.bounded(80)), 0.6 + rng.bounded(1.0)));
            p.drawLine(QPointF(x, tier.top + rng.bounded(10.0)), QPointF(x, tier.top + tier.height - rng.bounded(8.0)));
        }
    }
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(0, 94, PhotoWidth, 6), QColor(50, 120, 50));
    for (int x = 0; x < PhotoWidth; x += 7) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40 + (x % 3) * 10, 120, 50));
        p.drawEllipse(QPointF(x, 94), 5, 3.5);
    }
    // Spray and the river below.
    verticalGradient(p, QColor(120, 130, 90), QColor(80, 90, 60), QRectF(0, 140, PhotoWidth, 37));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 16; ++i) {
        p.setBrush(QColor(255, 255, 255, 110));
        p.drawEllipse(QPointF(i * 9.5, 138 + (i % 3) * 4), 13, 9);
    }
    // A faint rainbow in the spray.
    const QColor bow[] = {{255, 60, 60}, {255, 160, 40}, {255, 240, 60}, {80, 200, 80}, {60, 120, 255}, {140, 70, 200}};
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 6; ++i) {
        QColor c = bow[i];
        c.setAlpha(90);
        p.setPen(QPen(c, 2.2));
        const qreal r = 64 - i * 2.2;
        p.drawArc(QRectF(68 - r, 156 - r, 2 * r, 2 * r), 20 * 16, 140 * 16);
    }
}

void globeWithLeaves(QPainter &p)
{
    softBackdrop(p, QColor(222, 244, 210), QColor(120, 180, 110));
    emojiWithShadow(p, QStringLiteral("🌎"), QPointF(68, 84), 92);
    emojiWithShadow(p, QStringLiteral("🍃"), QPointF(24, 150), 34, -20);
    emojiWithShadow(p, QStringLiteral("🌿"), QPointF(112, 150), 34, 15);
    emojiWithShadow(p, QStringLiteral("🔍"), QPointF(108, 30), 34);
}

void flagOnThePole(QPainter &p)
{
    verticalGradient(p, QColor(120, 186, 240), QColor(220, 238, 250));
    cloud(p, QPointF(100, 120), 44);
    hills(p, 150, 12, QColor(150, 170, 90), 4);
    p.setPen(QPen(QColor(150, 150, 160), 3));
    p.drawLine(QPointF(16, 16), QPointF(16, 165));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 200, 80));
    p.drawEllipse(QPointF(16, 14), 3, 3);
    // The flag, waving: drawn flat into an image, then strip by strip with a vertical offset.
    QImage flag(104, 70, QImage::Format_ARGB32_Premultiplied);
    flag.fill(Qt::transparent);
    {
        QPainter fp(&flag);
        fp.setRenderHint(QPainter::Antialiasing);
        brazilFlag(fp, QRectF(0, 0, 104, 70));
    }
    for (int x = 0; x < flag.width(); x += 2) {
        const qreal dy = 4 * std::sin(x / 16.0);
        const qreal shade = 0.85 + 0.15 * std::cos(x / 16.0);
        QImage strip = flag.copy(x, 0, 2, flag.height());
        p.drawImage(QPointF(18 + x, 22 + dy), strip);
        p.fillRect(QRectF(18 + x, 22 + dy, 2, flag.height()), QColor(0, 0, 0, int((1 - shade) * 255)));
    }
    emojiWithShadow(p, QStringLiteral("🔍"), QPointF(104, 140), 36);
}

void islandPeaks(QPainter &p)
{
    verticalGradient(p, QColor(110, 190, 240), QColor(225, 244, 252), QRectF(0, 0, PhotoWidth, 104));
    cloud(p, QPointF(30, 30), 36);
    sea(p, 104, QColor(40, 200, 210), QColor(10, 90, 150), 5);
    mountain(p, QPointF(50, 60), 26, 110, QColor(100, 120, 70));
    mountain(p, QPointF(84, 70), 24, 110, QColor(90, 110, 64));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QPointF(66, 110), 46, 3);
    emojiWithShadow(p, QStringLiteral("🐬"), QPointF(98, 140), 40, -15);
}

void southAmericaWithBrazil(QPainter &p)
{
    verticalGradient(p, QColor(172, 214, 240), QColor(92, 150, 210));
    const QRectF box(10, 6, 110, 165);
    const auto &continent = southAmericaOutline();
    fillPolygon(p, projectOutline(continent, box), QColor(238, 222, 182), QPen(QColor(120, 100, 70), 1));
    QPolygonF brazil;
    for (const QPointF &pt : brazilOutline())
        brazil << projectPoint(continent, box, pt);
    fillPolygon(p, brazil, QColor(70, 160, 90), QPen(QColor(255, 255, 255), 1));
    emojiWithShadow(p, QStringLiteral("🧭"), QPointF(112, 150), 28);
}

void meetingOfWaters(QPainter &p)
{
    verticalGradient(p, QColor(150, 200, 240), QColor(230, 240, 240), QRectF(0, 0, PhotoWidth, 60));
    // The far bank, a wall of forest.
    hills(p, 62, 10, QColor(40, 100, 50), 13);
    p.fillRect(QRectF(0, 60, PhotoWidth, 6), QColor(40, 100, 50));
    // Dark water on one side, sandy water on the other, with a wavering line between them.
    p.fillRect(QRectF(0, 66, PhotoWidth, 111), QColor(196, 150, 96));
    QPainterPath dark(QPointF(0, 66));
    dark.lineTo(50, 66);
    for (int y = 66; y <= PhotoHeight; y += 6)
        dark.lineTo(58 + (y - 66) * 0.22 + 4 * std::sin(y / 7.0), y);
    dark.lineTo(0, PhotoHeight);
    dark.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(36, 26, 20));
    p.drawPath(dark);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    for (int y = 80; y < PhotoHeight; y += 12)
        p.drawLine(QPointF(8 + (y % 24), y), QPointF(40 + (y % 24), y));
    emojiWithShadow(p, QStringLiteral("🛶"), QPointF(76, 124), 52);
}

void cerradoRiver(QPainter &p)
{
    skyWithSun(p, QColor(110, 180, 240), QColor(236, 230, 190), QPointF(106, 30), 14);
    hills(p, 96, 10, QColor(170, 160, 90), 101);
    p.fillRect(QRectF(0, 96, PhotoWidth, 81), QColor(196, 176, 96));
    // A river winding from the horizon to the foreground.
    QPainterPath river(QPointF(70, 96));
    river.cubicTo(QPointF(40, 120), QPointF(110, 140), QPointF(60, 177));
    river.lineTo(104, 177);
    river.cubicTo(QPointF(140, 140), QPointF(60, 120), QPointF(76, 96));
    river.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 140, 200));
    p.drawPath(river);
    emojiWithShadow(p, QStringLiteral("🌳"), QPointF(24, 100), 34);
    emojiWithShadow(p, QStringLiteral("🌳"), QPointF(118, 104), 26);
    emojiWithShadow(p, QStringLiteral("🧭"), QPointF(28, 150), 34);
}

void brazilMapWithCompass(QPainter &p)
{
    parchment(p);
    const QRectF box(10, 12, 117, 124);
    fillPolygon(p, projectOutline(brazilOutline(), box), QColor(120, 180, 100, 200), QPen(QColor(90, 60, 30), 1.4));
    emojiWithShadow(p, QStringLiteral("🧭"), QPointF(104, 148), 42);
}

void riverAtDusk(QPainter &p)
{
    verticalGradient(p, QColor(70, 60, 140), QColor(255, 170, 90), QRectF(0, 0, PhotoWidth, 104));
    sun(p, QPointF(40, 96), 14, QColor(255, 190, 80));
    hills(p, 104, 6, QColor(40, 70, 50), 103);
    sea(p, 104, QColor(200, 120, 90), QColor(60, 50, 90), 4);
    emojiWithShadow(p, QStringLiteral("📍"), QPointF(96, 52), 48);
}

void cityUnderHighSun(QPainter &p)
{
    verticalGradient(p, QColor(60, 140, 230), QColor(200, 228, 250));
    sun(p, QPointF(68, 26), 14);
    p.setPen(QPen(QColor(220, 40, 40, 200), 2, Qt::DashLine));
    p.drawLine(QPointF(0, 56), QPointF(PhotoWidth, 56));
    emojiWithShadow(p, QStringLiteral("🏙️"), QPointF(68, 126), 110);
}

void tableMountains(QPainter &p)
{
    skyWithSun(p, QColor(90, 160, 230), QColor(230, 240, 250), QPointF(30, 28), 11);
    p.setPen(Qt::NoPen);
    // Flat-topped hills with steep sides.
    const struct { qreal left, right, top; QColor colour; } mesas[] = {
        {-10, 60, 62, QColor(170, 120, 90)}, {70, 150, 54, QColor(150, 104, 80)}};
    for (const auto &m : mesas) {
        QPolygonF body;
        body << QPointF(m.left, 130) << QPointF(m.left + 12, m.top) << QPointF(m.right - 12, m.top) << QPointF(m.right, 130);
        fillPolygon(p, body, m.colour);
        p.fillRect(QRectF(m.left + 12, m.top - 4, m.right - m.left - 24, 6), QColor(70, 130, 60));
    }
    // A thin waterfall down the right-hand cliff.
    p.fillRect(QRectF(84, 56, 5, 74), QColor(230, 244, 252));
    hills(p, 136, 10, QColor(60, 130, 60), 105);
    emojiWithShadow(p, QStringLiteral("💎"), QPointF(40, 150), 34);
}

void sheetInTheWind(QPainter &p)
{
    verticalGradient(p, QColor(90, 170, 240), QColor(220, 240, 252));
    cloud(p, QPointF(36, 26), 40);
    p.fillRect(QRectF(0, 140, PhotoWidth, 37), QColor(120, 180, 90));
    p.setPen(QPen(QColor(110, 80, 50), 3));
    p.drawLine(QPointF(14, 60), QPointF(14, 150));
    p.drawLine(QPointF(123, 60), QPointF(123, 150));
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.drawLine(QPointF(14, 64), QPointF(123, 64));
    // The sheet on the line, billowing.
    QPainterPath sheet(QPointF(24, 64));
    sheet.lineTo(112, 64);
    sheet.cubicTo(QPointF(120, 90), QPointF(104, 110), QPointF(116, 126));
    sheet.cubicTo(QPointF(90, 120), QPointF(60, 132), QPointF(30, 122));
    sheet.cubicTo(QPointF(38, 100), QPointF(20, 86), QPointF(24, 64));
    p.setPen(QPen(QColor(190, 200, 210), 1));
    p.setBrush(QColor(252, 252, 255));
    p.drawPath(sheet);
    emojiWithShadow(p, QStringLiteral("🔍"), QPointF(108, 150), 34);
}

void brazilMapWithQuestion(QPainter &p)
{
    verticalGradient(p, QColor(200, 230, 250), QColor(130, 190, 236));
    const QRectF box(8, 10, 121, 130);
    fillPolygon(p, projectOutline(brazilOutline(), box), QColor(250, 214, 80), QPen(QColor(0, 130, 60), 2.4));
    emojiWithShadow(p, QStringLiteral("❓"), QPointF(68, 80), 48);
    emojiWithShadow(p, QStringLiteral("🗺️"), QPointF(108, 154), 32);
}

void riverInTheSertao(QPainter &p)
{
    skyWithSun(p, QColor(100, 170, 240), QColor(250, 230, 180), QPointF(110, 28), 16);
    hills(p, 100, 10, QColor(190, 150, 100), 107);
    p.fillRect(QRectF(0, 100, PhotoWidth, 77), QColor(210, 170, 110));
    sea(p, 118, QColor(70, 150, 190), QColor(40, 100, 150), 3);
    p.fillRect(QRectF(0, 158, PhotoWidth, 19), QColor(210, 170, 110));
    emojiWithShadow(p, QStringLiteral("⛵"), QPointF(70, 124), 40);
    emojiWithShadow(p, QStringLiteral("🌵"), QPointF(22, 92), 40);
}

// ---- geography of the world ----------------------------------------------------------------

void whaleInTheOpenSea(QPainter &p)
{
    verticalGradient(p, QColor(150, 205, 245), QColor(220, 240, 252), QRectF(0, 0, PhotoWidth, 40));
    sea(p, 40, QColor(30, 120, 200), QColor(8, 30, 90), 6);
    emojiWithShadow(p, QStringLiteral("🐋"), QPointF(68, 110), 96);
}

void snowyRange(QPainter &p)
{
    verticalGradient(p, QColor(30, 70, 150), QColor(170, 210, 240));
    mountain(p, QPointF(28, 84), 44, 150, QColor(100, 110, 130), QColor(240, 244, 250));
    mountain(p, QPointF(112, 74), 44, 150, QColor(96, 104, 126), QColor(240, 244, 250));
    mountain(p, QPointF(70, 28), 64, 160, QColor(110, 112, 136), QColor(250, 252, 255));
    cloud(p, QPointF(30, 140), 70, QColor(255, 255, 255, 200));
    cloud(p, QPointF(108, 150), 70, QColor(255, 255, 255, 210));
    p.fillRect(QRectF(0, 156, PhotoWidth, 21), QColor(245, 248, 252));
}

void tinyCountryUnderLens(QPainter &p)
{
    parchment(p);
    p.save();
    // Faint meridians and parallels, and the edges of larger neighbours.
    p.setPen(QPen(QColor(150, 110, 60, 70), 0.8));
    for (int x = 10; x < PhotoWidth; x += 30)
        p.drawLine(QPointF(x, 0), QPointF(x, PhotoHeight));
    for (int y = 14; y < PhotoHeight; y += 30)
        p.drawLine(QPointF(0, y), QPointF(PhotoWidth, y));
    p.setPen(QPen(QColor(120, 80, 40, 150), 1, Qt::DashLine));
    p.drawPolyline(QPolygonF({QPointF(0, 40), QPointF(30, 48), QPointF(48, 30), QPointF(90, 44), QPointF(137, 30)}));
    p.drawPolyline(QPolygonF({QPointF(0, 130), QPointF(40, 120), QPointF(70, 140), QPointF(137, 126)}));
    // The lens and what it magnifies: a small enclave with its border.
    const QPointF lens(60, 82);
    const qreal r = 36;
    p.setPen(QPen(QColor(90, 70, 50), 9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(lens + QPointF(r * 0.72, r * 0.72), lens + QPointF(r * 1.5, r * 1.5));
    p.setPen(QPen(QColor(60, 50, 40), 4));
    p.setBrush(QColor(255, 252, 235));
    p.drawEllipse(lens, r, r);
    p.setPen(QPen(QColor(190, 40, 40), 1.6, Qt::DashLine));
    p.setBrush(QColor(230, 120, 100, 90));
    QPolygonF enclave;
    enclave << lens + QPointF(-12, -6) << lens + QPointF(-2, -14) << lens + QPointF(12, -8)
            << lens + QPointF(14, 6) << lens + QPointF(2, 12) << lens + QPointF(-10, 8);
    p.drawPolygon(enclave);
    radialGlow(p, lens + QPointF(-14, -16), 10, QColor(255, 255, 255, 150));
    p.restore();
}

void kangarooInTheOutback(QPainter &p)
{
    skyWithSun(p, QColor(250, 180, 90), QColor(255, 226, 160), QPointF(100, 44), 16);
    // A great red rock on the horizon.
    QPainterPath rock(QPointF(8, 110));
    rock.cubicTo(QPointF(12, 90), QPointF(30, 88), QPointF(48, 90));
    rock.cubicTo(QPointF(60, 92), QPointF(64, 100), QPointF(70, 110));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 70, 40));
    p.drawPath(rock);
    verticalGradient(p, QColor(206, 96, 50), QColor(150, 60, 30), QRectF(0, 110, PhotoWidth, 67));
    emojiWithShadow(p, QStringLiteral("🦘"), QPointF(74, 124), 76);
}

void dunesAndCamel(QPainter &p)
{
    skyWithSun(p, QColor(120, 180, 230), QColor(250, 236, 190), QPointF(36, 40), 18);
    p.setPen(Qt::NoPen);
    const QColor sands[] = {{236, 196, 120}, {222, 172, 96}, {206, 150, 76}};
    for (int i = 0; i < 3; ++i) {
        const qreal base = 110 + i * 22;
        QPainterPath dune(QPointF(0, PhotoHeight));
        dune.lineTo(0, base);
        dune.cubicTo(QPointF(40, base - 24 + i * 6), QPointF(80, base + 12), QPointF(137, base - 14));
        dune.lineTo(PhotoWidth, PhotoHeight);
        p.setBrush(sands[i]);
        p.drawPath(dune);
    }
    emojiWithShadow(p, QStringLiteral("🐪"), QPointF(86, 124), 60);
}

void andesAtDawn(QPainter &p)
{
    verticalGradient(p, QColor(90, 90, 170), QColor(255, 190, 170));
    mountain(p, QPointF(104, 66), 42, 140, QColor(120, 100, 120), QColor(255, 236, 236));
    mountain(p, QPointF(56, 26), 62, 150, QColor(130, 104, 118), QColor(255, 242, 240));
    hills(p, 146, 16, QColor(110, 90, 80), 17);
    emoji(p, QStringLiteral("🦅"), QPointF(108, 28), 28, -10);
}

void shipThroughTheLocks(QPainter &p)
{
    verticalGradient(p, QColor(120, 190, 240), QColor(220, 240, 250), QRectF(0, 0, PhotoWidth, 90));
    hills(p, 90, 20, QColor(60, 140, 70), 27);
    // The lock: concrete walls, a gate behind the ship, water between.
    p.fillRect(QRectF(0, 100, PhotoWidth, 77), QColor(170, 170, 160));
    verticalGradient(p, QColor(40, 130, 170), QColor(20, 80, 120), QRectF(0, 112, PhotoWidth, 54));
    p.fillRect(QRectF(0, 96, PhotoWidth, 16), QColor(190, 190, 180));
    p.fillRect(QRectF(8, 86, 10, 30), QColor(120, 120, 120));
    p.fillRect(QRectF(119, 86, 10, 30), QColor(120, 120, 120));
    emojiWithShadow(p, QStringLiteral("🚢"), QPointF(68, 108), 82);
    p.fillRect(QRectF(0, 166, PhotoWidth, 11), QColor(180, 180, 170));
}

void globeAndSpeech(QPainter &p)
{
    softBackdrop(p, QColor(255, 240, 210), QColor(230, 170, 100));
    emojiWithShadow(p, QStringLiteral("🌍"), QPointF(68, 72), 86);
    emojiWithShadow(p, QStringLiteral("🗣️"), QPointF(36, 144), 42);
    emojiWithShadow(p, QStringLiteral("💬"), QPointF(102, 140), 40);
}

void savannaRiver(QPainter &p)
{
    skyWithSun(p, QColor(240, 170, 90), QColor(255, 230, 170), QPointF(40, 60), 18);
    p.fillRect(QRectF(0, 100, PhotoWidth, 77), QColor(200, 170, 90));
    sea(p, 126, QColor(90, 140, 150), QColor(60, 100, 110), 3);
    emojiWithShadow(p, QStringLiteral("🌳"), QPointF(106, 84), 46);
    emojiWithShadow(p, QStringLiteral("🦛"), QPointF(54, 140), 54);
}

void mapleForest(QPainter &p)
{
    verticalGradient(p, QColor(120, 170, 230), QColor(230, 236, 246));
    mountain(p, QPointF(92, 36), 60, 120, QColor(110, 120, 140), QColor(248, 250, 255));
    hills(p, 120, 14, QColor(200, 90, 40), 109);
    hills(p, 146, 12, QColor(230, 140, 40), 111);
    emojiWithShadow(p, QStringLiteral("🍁"), QPointF(36, 60), 44, -15);
    emojiWithShadow(p, QStringLiteral("🍁"), QPointF(106, 150), 30, 20);
    emojiWithShadow(p, QStringLiteral("🌲"), QPointF(24, 142), 40);
}

void fujiAndBlossoms(QPainter &p)
{
    verticalGradient(p, QColor(150, 190, 240), QColor(250, 226, 230));
    mountain(p, QPointF(68, 50), 64, 140, QColor(90, 110, 150), QColor(250, 250, 255));
    p.fillRect(QRectF(0, 138, PhotoWidth, 39), QColor(110, 150, 110));
    emoji(p, QStringLiteral("🌸"), QPointF(16, 24), 26);
    emoji(p, QStringLiteral("🌸"), QPointF(36, 14), 20);
    emoji(p, QStringLiteral("🌸"), QPointF(118, 30), 24);
    emojiWithShadow(p, QStringLiteral("🌸"), QPointF(100, 150), 30);
}

void bootOnTheMap(QPainter &p)
{
    parchment(p);
    p.setPen(QPen(QColor(150, 110, 60, 70), 0.8));
    for (int x = 10; x < PhotoWidth; x += 30)
        p.drawLine(QPointF(x, 0), QPointF(x, PhotoHeight));
    for (int y = 14; y < PhotoHeight; y += 30)
        p.drawLine(QPointF(0, y), QPointF(PhotoWidth, y));
    emojiWithShadow(p, QStringLiteral("👢"), QPointF(70, 84), 90, 10);
    emojiWithShadow(p, QStringLiteral("🧭"), QPointF(110, 152), 30);
}

void worldMapAndRuler(QPainter &p)
{
    softBackdrop(p, QColor(236, 246, 255), QColor(150, 190, 230));
    emojiWithShadow(p, QStringLiteral("🗺️"), QPointF(68, 76), 110);
    emojiWithShadow(p, QStringLiteral("📏"), QPointF(76, 146), 50, -20);
}

void lowRangeWithDivide(QPainter &p)
{
    verticalGradient(p, QColor(110, 150, 210), QColor(220, 230, 240));
    for (int i = 0; i < 5; ++i)
        mountain(p, QPointF(10 + i * 30, 70 + (i % 2) * 12), 28, 130, QColor(110, 130, 110), QColor(240, 244, 250));
    hills(p, 132, 10, QColor(80, 120, 70), 113);
    p.setPen(QPen(QColor(200, 40, 40, 220), 2.5, Qt::DashLine));
    p.drawLine(QPointF(68, 10), QPointF(76, 170));
    emojiWithShadow(p, QStringLiteral("🧭"), QPointF(112, 30), 30);
}

void pyramidsAtSunset(QPainter &p)
{
    skyWithSun(p, QColor(240, 130, 70), QColor(255, 214, 140), QPointF(100, 70), 18);
    p.fillRect(QRectF(0, 120, PhotoWidth, 57), QColor(220, 170, 100));
    const struct { qreal x, half, height; } pyramids[] = {{30, 26, 50}, {74, 32, 64}, {116, 18, 34}};
    for (const auto &py : pyramids) {
        QPolygonF lit, shade;
        lit << QPointF(py.x - py.half, 122) << QPointF(py.x, 122 - py.height) << QPointF(py.x + py.half * 0.2, 122);
        shade << QPointF(py.x + py.half * 0.2, 122) << QPointF(py.x, 122 - py.height) << QPointF(py.x + py.half, 122);
        fillPolygon(p, lit, QColor(214, 160, 90));
        fillPolygon(p, shade, QColor(170, 110, 60));
    }
    emojiWithShadow(p, QStringLiteral("🐪"), QPointF(40, 150), 36);
}

void shipBetweenCoasts(QPainter &p)
{
    verticalGradient(p, QColor(110, 180, 240), QColor(220, 240, 252), QRectF(0, 0, PhotoWidth, 90));
    sea(p, 90, QColor(30, 120, 190), QColor(10, 50, 110), 5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 140, 100));
    p.drawChord(QRectF(-50, 58, 100, 60), 0, 180 * 16);
    p.setBrush(QColor(190, 160, 110));
    p.drawChord(QRectF(90, 64, 100, 54), 0, 180 * 16);
    emojiWithShadow(p, QStringLiteral("🚢"), QPointF(68, 124), 64);
}

void islandWithBaobabs(QPainter &p)
{
    verticalGradient(p, QColor(90, 170, 240), QColor(220, 240, 252), QRectF(0, 0, PhotoWidth, 110));
    sea(p, 110, QColor(30, 160, 200), QColor(10, 80, 140), 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 200, 140));
    p.drawChord(QRectF(10, 92, 118, 40), 0, 180 * 16);
    // Baobabs: thick trunks with small crowns.
    for (const qreal x : {44.0, 90.0}) {
        p.setBrush(QColor(140, 100, 70));
        p.drawRoundedRect(QRectF(x - 7, 62, 14, 40), 5, 5);
        p.setBrush(QColor(80, 130, 60));
        p.drawEllipse(QPointF(x, 60), 18, 8);
    }
    emojiWithShadow(p, QStringLiteral("🐒"), QPointF(68, 100), 28);
    emojiWithShadow(p, QStringLiteral("🌊"), QPointF(110, 150), 30);
}

// ---- history of Brazil ---------------------------------------------------------------------

void caravelOnTheOcean(QPainter &p)
{
    skyWithSun(p, QColor(120, 180, 236), QColor(255, 226, 190), QPointF(30, 96), 10);
    cloud(p, QPointF(100, 30), 46);
    // A strip of green coast with palms on the horizon.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 130, 70));
    p.drawChord(QRectF(88, 94, 80, 18), 0, 180 * 16);
    emoji(p, QStringLiteral("🌴"), QPointF(118, 92), 18);
    sea(p, 102, QColor(40, 120, 180), QColor(10, 50, 110), 5);
    caravel(p, QPointF(60, 132), 84);
}

void horsemanAndSword(QPainter &p)
{
    verticalGradient(p, QColor(250, 214, 120), QColor(255, 246, 214), QRectF(0, 0, PhotoWidth, 120));
    cloud(p, QPointF(30, 96), 40, QColor(255, 255, 255, 180));
    hills(p, 130, 16, QColor(90, 150, 70), 31);
    hills(p, 150, 10, QColor(60, 120, 50), 33);
    emojiWithShadow(p, QStringLiteral("🐎"), QPointF(64, 118), 82);
    emojiWithShadow(p, QStringLiteral("⚔️"), QPointF(102, 44), 44);
}

void scrollAndChains(QPainter &p)
{
    parchment(p);
    emojiWithShadow(p, QStringLiteral("📜"), QPointF(66, 72), 86, -8);
    emojiWithShadow(p, QStringLiteral("⛓️"), QPointF(56, 144), 56, 12);
    emojiWithShadow(p, QStringLiteral("✒️"), QPointF(112, 132), 36, 10);
}

void templeAtDawn(QPainter &p)
{
    skyWithSun(p, QColor(70, 120, 200), QColor(255, 214, 160), QPointF(68, 104), 30);
    emojiWithShadow(p, QStringLiteral("🏛️"), QPointF(68, 108), 96);
    emoji(p, QStringLiteral("✨"), QPointF(20, 30), 22);
    emoji(p, QStringLiteral("✨"), QPointF(118, 40), 18);
    p.fillRect(QRectF(0, 156, PhotoWidth, 21), QColor(110, 150, 90));
}

void portraitOfAnOfficer(QPainter &p)
{
    // A red damask wall and a portrait in a gilded frame.
    verticalGradient(p, QColor(150, 34, 44), QColor(90, 16, 26));
    p.save();
    p.setPen(QPen(QColor(255, 200, 200, 24), 1));
    for (int y = 0; y < PhotoHeight; y += 10)
        for (int x = (y / 10 % 2) * 10; x < PhotoWidth; x += 20)
            p.drawEllipse(QPointF(x, y), 3, 5);
    p.restore();
    const QRectF frame(20, 16, 97, 130);
    goldFrame(p, frame, 9);
    const QRectF canvas = frame.adjusted(9, 9, -9, -9);
    verticalGradient(p, QColor(90, 100, 80), QColor(40, 44, 36), canvas);
    p.save();
    p.setClipRect(canvas);
    p.setPen(Qt::NoPen);
    // Bust: dark uniform with gold epaulettes, face in shadow.
    p.setBrush(QColor(30, 40, 70));
    p.drawRoundedRect(QRectF(canvas.left() + 8, canvas.top() + 66, canvas.width() - 16, 60), 22, 22);
    p.setBrush(QColor(220, 180, 80));
    p.drawEllipse(QPointF(canvas.left() + 16, canvas.top() + 74), 9, 4);
    p.drawEllipse(QPointF(canvas.right() - 16, canvas.top() + 74), 9, 4);
    p.setBrush(QColor(200, 160, 130));
    p.drawRect(QRectF(canvas.center().x() - 6, canvas.top() + 54, 12, 14));
    p.drawEllipse(QPointF(canvas.center().x(), canvas.top() + 40), 15, 19);
    p.setBrush(QColor(210, 210, 205));
    QPainterPath beard;
    beard.moveTo(canvas.center().x() - 15, canvas.top() + 42);
    beard.quadTo(canvas.center().x(), canvas.top() + 78, canvas.center().x() + 15, canvas.top() + 42);
    beard.quadTo(canvas.center().x(), canvas.top() + 54, canvas.center().x() - 15, canvas.top() + 42);
    p.drawPath(beard);
    p.setBrush(QColor(120, 110, 100));
    p.drawChord(QRectF(canvas.center().x() - 15, canvas.top() + 20, 30, 20), 0, 180 * 16);
    p.restore();
    emojiWithShadow(p, QStringLiteral("🎖️"), QPointF(88, 112), 24);
    emoji(p, QStringLiteral("🎩"), QPointF(68, 163), 22);
}

void colonialStreet(QPainter &p)
{
    verticalGradient(p, QColor(90, 160, 236), QColor(200, 228, 250), QRectF(0, 0, PhotoWidth, 100));
    // A church with two towers at the top of the hill.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 240, 225));
    p.drawRect(QRectF(44, 30, 50, 40));
    p.drawRect(QRectF(40, 18, 14, 52));
    p.drawRect(QRectF(84, 18, 14, 52));
    p.setBrush(QColor(70, 110, 160));
    p.drawChord(QRectF(40, 10, 14, 16), 0, 180 * 16);
    p.drawChord(QRectF(84, 10, 14, 16), 0, 180 * 16);
    QPolygonF gable;
    gable << QPointF(54, 30) << QPointF(69, 18) << QPointF(84, 30);
    p.setBrush(QColor(235, 228, 210));
    p.drawPolygon(gable);
    p.setBrush(QColor(120, 80, 50));
    p.drawRoundedRect(QRectF(63, 50, 12, 20), 5, 5);
    // A row of painted two-storey houses.
    const QColor walls[] = {{236, 120, 90}, {250, 210, 90}, {110, 180, 220}, {240, 160, 190}, {130, 200, 140}};
    for (int i = 0; i < 5; ++i) {
        const QRectF house(i * 27.4, 70, 27.4, 70);
        p.setBrush(walls[i]);
        p.setPen(Qt::NoPen);
        p.drawRect(house);
        p.setBrush(QColor(170, 70, 40));
        p.drawRect(QRectF(house.left() - 1, house.top() - 4, house.width() + 2, 6));
        p.setBrush(QColor(255, 255, 255));
        for (const qreal wy : {house.top() + 10, house.top() + 36}) {
            p.drawRect(QRectF(house.left() + 4, wy, 7, 14));
            p.drawRect(QRectF(house.right() - 11, wy, 7, 14));
            p.setBrush(QColor(40, 90, 60));
            p.drawRect(QRectF(house.left() + 5, wy + 1, 5, 12));
            p.drawRect(QRectF(house.right() - 10, wy + 1, 5, 12));
            p.setBrush(Qt::white);
        }
    }
    // Cobblestones.
    p.fillRect(QRectF(0, 140, PhotoWidth, 37), QColor(150, 140, 130));
    QRandomGenerator rng(19);
    for (int i = 0; i < 120; ++i) {
        p.setBrush(QColor(110 + rng.bounded(60), 100 + rng.bounded(50), 90 + rng.bounded(40)));
        p.drawEllipse(QPointF(rng.bounded(137.0), 142 + rng.bounded(35.0)), 3.5, 2.2);
    }
}

void candleAndScroll(QPainter &p)
{
    verticalGradient(p, QColor(30, 20, 16), QColor(60, 38, 22));
    radialGlow(p, QPointF(42, 92), 80, QColor(255, 190, 90, 120));
    p.fillRect(QRectF(0, 140, PhotoWidth, 37), QColor(90, 55, 30));
    p.fillRect(QRectF(0, 140, PhotoWidth, 3), QColor(130, 85, 45));
    emojiWithShadow(p, QStringLiteral("🕯️"), QPointF(40, 104), 72);
    emojiWithShadow(p, QStringLiteral("📜"), QPointF(98, 124), 58, 12);
    emojiWithShadow(p, QStringLiteral("🪶"), QPointF(108, 70), 40, 25);
}

void fleetWithCrown(QPainter &p)
{
    verticalGradient(p, QColor(80, 130, 200), QColor(220, 214, 230), QRectF(0, 0, PhotoWidth, 110));
    sea(p, 110, QColor(30, 90, 150), QColor(10, 40, 90), 4);
    caravel(p, QPointF(28, 124), 40);
    caravel(p, QPointF(100, 136), 60);
    caravel(p, QPointF(60, 114), 30);
    radialGlow(p, QPointF(68, 34), 34, QColor(255, 230, 140, 150));
    emojiWithShadow(p, QStringLiteral("👑"), QPointF(68, 34), 48);
}

void oldMapWithMeridian(QPainter &p)
{
    parchment(p);
    const QRectF box(14, 10, 100, 150);
    const auto &continent = southAmericaOutline();
    fillPolygon(p, projectOutline(continent, box), QColor(200, 170, 110, 120), QPen(QColor(110, 70, 30), 1.3));
    // A line drawn from pole to pole across the new lands.
    const qreal x = projectPoint(continent, box, QPointF(-46.6, 0)).x();
    p.setPen(QPen(QColor(180, 30, 30), 2, Qt::DashLine));
    p.drawLine(QPointF(x, 4), QPointF(x, 173));
    emojiWithShadow(p, QStringLiteral("✒️"), QPointF(110, 150), 34, -10);
    emoji(p, QStringLiteral("🧭"), QPointF(24, 150), 26);
}

void movingTruck(QPainter &p)
{
    verticalGradient(p, QColor(120, 180, 240), QColor(230, 240, 250));
    hills(p, 110, 12, QColor(110, 170, 90), 115);
    p.fillRect(QRectF(0, 124, PhotoWidth, 53), QColor(90, 90, 96));
    p.setPen(QPen(QColor(250, 220, 80), 2, Qt::DashLine));
    p.drawLine(QPointF(0, 150), QPointF(PhotoWidth, 150));
    emojiWithShadow(p, QStringLiteral("🚚"), QPointF(62, 118), 76);
    emojiWithShadow(p, QStringLiteral("📦"), QPointF(112, 56), 32);
    emojiWithShadow(p, QStringLiteral("📦"), QPointF(24, 50), 26, -10);
}

void minersHills(QPainter &p)
{
    skyWithSun(p, QColor(120, 180, 240), QColor(236, 236, 220), QPointF(110, 26), 12);
    mountain(p, QPointF(40, 50), 60, 130, QColor(120, 110, 80));
    mountain(p, QPointF(100, 64), 50, 130, QColor(100, 120, 80));
    p.fillRect(QRectF(0, 126, PhotoWidth, 51), QColor(120, 90, 60));
    sea(p, 138, QColor(110, 150, 170), QColor(80, 110, 120), 2);
    emojiWithShadow(p, QStringLiteral("⛏️"), QPointF(36, 114), 40, -10);
    // A wide wooden pan in the stream.
    p.setPen(QPen(QColor(70, 40, 20), 1.5));
    p.setBrush(QColor(140, 90, 50));
    p.drawEllipse(QPointF(94, 156), 26, 9);
    p.setBrush(QColor(110, 70, 40));
    p.drawEllipse(QPointF(94, 156), 14, 4);
}

void forestWithQuestion(QPainter &p)
{
    verticalGradient(p, QColor(150, 210, 170), QColor(40, 100, 60));
    for (int i = 0; i < 6; ++i)
        emoji(p, QStringLiteral("🌳"), QPointF(10 + i * 24, 130 + (i % 2) * 14), 40);
    emojiWithShadow(p, QStringLiteral("🌳"), QPointF(68, 82), 96);
    emojiWithShadow(p, QStringLiteral("❓"), QPointF(112, 30), 34, 8);
}

void oxCartAndMill(QPainter &p)
{
    skyWithSun(p, QColor(250, 200, 120), QColor(255, 240, 210), QPointF(30, 30), 14);
    hills(p, 100, 12, QColor(120, 170, 80), 117);
    p.fillRect(QRectF(0, 120, PhotoWidth, 57), QColor(170, 130, 80));
    // The big house: white walls and a red roof.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 246, 236));
    p.drawRect(QRectF(64, 70, 66, 40));
    QPolygonF roof;
    roof << QPointF(58, 72) << QPointF(97, 52) << QPointF(136, 72);
    fillPolygon(p, roof, QColor(180, 70, 40));
    p.setBrush(QColor(70, 110, 160));
    for (int i = 0; i < 4; ++i)
        p.drawRect(QRectF(70 + i * 15, 82, 8, 12));
    emojiWithShadow(p, QStringLiteral("🐂"), QPointF(44, 134), 58);
    emojiWithShadow(p, QStringLiteral("🛞"), QPointF(108, 146), 34);
}

void riverboatInTheForest(QPainter &p)
{
    verticalGradient(p, QColor(150, 200, 230), QColor(230, 240, 236), QRectF(0, 0, PhotoWidth, 90));
    hills(p, 92, 16, QColor(30, 100, 50), 119);
    sea(p, 96, QColor(150, 120, 80), QColor(90, 70, 50), 4);
    emojiWithShadow(p, QStringLiteral("⛴️"), QPointF(68, 116), 76);
    emoji(p, QStringLiteral("🌴"), QPointF(16, 76), 34);
}

void crownAndHourglass(QPainter &p)
{
    verticalGradient(p, QColor(80, 20, 40), QColor(40, 10, 24));
    radialGlow(p, QPointF(60, 90), 70, QColor(255, 210, 120, 70));
    // A red velvet cushion.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 20, 40));
    p.drawRoundedRect(QRectF(18, 104, 84, 30), 14, 14);
    p.setBrush(QColor(230, 180, 60));
    for (const QPointF c : {QPointF(20, 106), QPointF(100, 106), QPointF(20, 132), QPointF(100, 132)})
        p.drawEllipse(c, 4, 4);
    emojiWithShadow(p, QStringLiteral("👑"), QPointF(60, 86), 62);
    emojiWithShadow(p, QStringLiteral("⌛"), QPointF(114, 146), 34);
}

void serraWithFire(QPainter &p)
{
    verticalGradient(p, QColor(40, 40, 100), QColor(240, 140, 90));
    starField(p, 20, 121, QRectF(0, 0, PhotoWidth, 50));
    mountain(p, QPointF(70, 50), 80, 140, QColor(50, 90, 60));
    hills(p, 140, 10, QColor(30, 60, 40), 123);
    radialGlow(p, QPointF(68, 142), 30, QColor(255, 170, 60, 150));
    emojiWithShadow(p, QStringLiteral("🔥"), QPointF(68, 140), 40);
}

// ---- science -------------------------------------------------------------------------------

void goldBars(QPainter &p)
{
    verticalGradient(p, QColor(60, 24, 60), QColor(24, 8, 30));
    radialGlow(p, QPointF(68, 110), 70, QColor(255, 210, 100, 60));
    auto bar = [&p](QPointF base, qreal w) {
        const qreal h = w * 0.32, inset = w * 0.14;
        QPolygonF top;
        top << base + QPointF(inset, -h) << base + QPointF(w - inset, -h) << base + QPointF(w, 0) << base;
        QLinearGradient g(base + QPointF(0, -h), base);
        g.setColorAt(0, QColor(255, 236, 150));
        g.setColorAt(1, QColor(200, 150, 40));
        fillPolygon(p, top, g, QPen(QColor(140, 95, 20), 0.8));
        QRectF front(base, QSizeF(w, h * 0.55));
        QLinearGradient f(front.topLeft(), front.bottomLeft());
        f.setColorAt(0, QColor(230, 180, 60));
        f.setColorAt(1, QColor(150, 100, 20));
        p.save();
        p.setPen(QPen(QColor(120, 80, 10), 0.8));
        p.setBrush(f);
        p.drawRect(front);
        p.restore();
    };
    bar(QPointF(14, 140), 54);
    bar(QPointF(70, 140), 54);
    bar(QPointF(42, 112), 54);
    emoji(p, QStringLiteral("✨"), QPointF(104, 80), 26);
    emoji(p, QStringLiteral("✨"), QPointF(30, 70), 18);
    emojiWithShadow(p, QStringLiteral("🪙"), QPointF(68, 44), 40);
}

void seedlingInTheSun(QPainter &p)
{
    verticalGradient(p, QColor(130, 200, 250), QColor(230, 246, 255), QRectF(0, 0, PhotoWidth, 140));
    sun(p, QPointF(112, 26), 14);
    p.save();
    p.setPen(QPen(QColor(255, 210, 80, 160), 2, Qt::DashLine));
    p.drawLine(QPointF(100, 40), QPointF(78, 88));
    p.drawLine(QPointF(94, 34), QPointF(62, 82));
    p.restore();
    // Air drifting towards the leaves.
    arrow(p, QPointF(8, 70), QPointF(40, 92), QColor(120, 150, 180, 200), 2);
    arrow(p, QPointF(10, 100), QPointF(40, 108), QColor(120, 150, 180, 200), 2);
    verticalGradient(p, QColor(130, 90, 50), QColor(80, 50, 25), QRectF(0, 140, PhotoWidth, 37));
    emojiWithShadow(p, QStringLiteral("🌱"), QPointF(68, 112), 70);
}

void galaxyAndAtom(QPainter &p)
{
    space(p, 41);
    p.save();
    p.translate(68, 64);
    p.rotate(-25);
    for (int i = 0; i < 6; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(180, 160, 255, 26));
        p.drawEllipse(QPointF(0, 0), 60 - i * 8, 20 - i * 2.5);
    }
    radialGlow(p, QPointF(0, 0), 16, QColor(255, 240, 220, 220));
    p.restore();
    radialGlow(p, QPointF(68, 136), 34, QColor(120, 200, 255, 100));
    emoji(p, QStringLiteral("⚛️"), QPointF(68, 136), 52);
}

void forceDiagram(QPainter &p)
{
    graphPaper(p);
    // Top: a body in orbit, pulled towards the centre.
    planet(p, QPointF(52, 50), 18, QColor(110, 170, 240), QColor(20, 60, 140));
    p.setPen(QPen(QColor(90, 90, 110), 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(52, 50), 42, 32);
    planet(p, QPointF(94, 50), 6, QColor(230, 230, 230), QColor(120, 120, 120));
    arrow(p, QPointF(94, 50), QPointF(76, 50), QColor(200, 40, 40), 2);
    arrow(p, QPointF(94, 50), QPointF(94, 30), QColor(40, 90, 200), 2);
    // Bottom: a block on a slope, with its weight and the push of the surface.
    QPolygonF slope;
    slope << QPointF(10, 160) << QPointF(126, 160) << QPointF(126, 96);
    fillPolygon(p, slope, QColor(210, 190, 150), QPen(QColor(120, 100, 70), 1));
    p.save();
    p.translate(84, 128);
    p.rotate(-28.9);
    p.setPen(QPen(QColor(60, 60, 80), 1));
    p.setBrush(QColor(250, 160, 60));
    p.drawRect(QRectF(-10, -20, 20, 20));
    p.restore();
    const QPointF centre(79, 119);
    arrow(p, centre, centre + QPointF(0, 30), QColor(200, 40, 40), 2);
    arrow(p, centre, centre + QPointF(-12, -22), QColor(40, 90, 200), 2);
    arrow(p, centre, centre + QPointF(-24, 13), QColor(40, 150, 60), 2);
}

void torchBeamAcrossSpace(QPainter &p)
{
    space(p, 43);
    QPolygonF beam;
    beam << QPointF(38, 108) << QPointF(137, 40) << QPointF(137, 140) << QPointF(40, 118);
    QLinearGradient g(QPointF(38, 110), QPointF(137, 90));
    g.setColorAt(0, QColor(255, 250, 200, 200));
    g.setColorAt(1, QColor(255, 250, 200, 20));
    fillPolygon(p, beam, g);
    emojiWithShadow(p, QStringLiteral("🔦"), QPointF(24, 118), 44, -20);
    emoji(p, QStringLiteral("🌍"), QPointF(116, 92), 30);
    emoji(p, QStringLiteral("⚡"), QPointF(74, 150), 26);
}

void petriDishAndMicroscope(QPainter &p)
{
    softBackdrop(p, QColor(240, 248, 244), QColor(170, 200, 190));
    // A laboratory bench with a culture dish, a patch of mould growing in it, and the microscope.
    p.fillRect(QRectF(0, 128, PhotoWidth, 49), QColor(200, 190, 170));
    p.fillRect(QRectF(0, 128, PhotoWidth, 3), QColor(170, 160, 140));
    emojiWithShadow(p, QStringLiteral("🔬"), QPointF(94, 78), 76);
    emojiWithShadow(p, QStringLiteral("🧫"), QPointF(40, 138), 54);
}

void iceGivingOffVapour(QPainter &p)
{
    verticalGradient(p, QColor(200, 230, 250), QColor(110, 160, 210));
    p.fillRect(QRectF(0, 150, PhotoWidth, 27), QColor(90, 130, 170));
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 150 - i * 20), 3 - i * 0.4, Qt::SolidLine, Qt::RoundCap));
        const qreal x = 44 + i * 16;
        QPainterPath wisp(QPointF(x, 96));
        wisp.cubicTo(QPointF(x - 14, 78), QPointF(x + 14, 62), QPointF(x, 44));
        wisp.cubicTo(QPointF(x - 10, 32), QPointF(x + 8, 22), QPointF(x + 2, 12));
        p.drawPath(wisp);
    }
    p.restore();
    emojiWithShadow(p, QStringLiteral("🧊"), QPointF(68, 124), 62);
}

void testTubeAndDrop(QPainter &p)
{
    softBackdrop(p, QColor(245, 250, 255), QColor(170, 200, 230));
    p.fillRect(QRectF(0, 150, PhotoWidth, 27), QColor(200, 210, 220));
    emojiWithShadow(p, QStringLiteral("🧪"), QPointF(54, 98), 92, -15);
    emojiWithShadow(p, QStringLiteral("💧"), QPointF(106, 50), 38);
}

void tapAndGlass(QPainter &p)
{
    softBackdrop(p, QColor(240, 250, 255), QColor(150, 200, 230));
    p.fillRect(QRectF(0, 150, PhotoWidth, 27), QColor(200, 215, 225));
    emojiWithShadow(p, QStringLiteral("🚰"), QPointF(60, 60), 76);
    emojiWithShadow(p, QStringLiteral("💧"), QPointF(100, 110), 22);
    emojiWithShadow(p, QStringLiteral("🥛"), QPointF(96, 144), 38);
}

void boilingPot(QPainter &p)
{
    verticalGradient(p, QColor(255, 240, 220), QColor(230, 190, 150));
    p.fillRect(QRectF(0, 140, PhotoWidth, 37), QColor(120, 120, 130));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 200 - i * 40), 3, Qt::SolidLine, Qt::RoundCap));
        const qreal x = 40 + i * 16;
        QPainterPath wisp(QPointF(x, 80));
        wisp.cubicTo(QPointF(x - 12, 60), QPointF(x + 12, 44), QPointF(x, 20));
        p.drawPath(wisp);
    }
    emojiWithShadow(p, QStringLiteral("🍲"), QPointF(58, 118), 76);
    emojiWithShadow(p, QStringLiteral("🌡️"), QPointF(116, 72), 52);
}

void dnaAndMicroscope(QPainter &p)
{
    softBackdrop(p, QColor(236, 246, 255), QColor(120, 150, 220));
    emojiWithShadow(p, QStringLiteral("🧬"), QPointF(44, 64), 80, -10);
    emojiWithShadow(p, QStringLiteral("🔬"), QPointF(98, 130), 64);
}

void silverDroplets(QPainter &p)
{
    verticalGradient(p, QColor(60, 70, 90), QColor(30, 34, 46));
    p.fillRect(QRectF(0, 120, PhotoWidth, 57), QColor(90, 80, 70));
    // Round beads of a shiny grey liquid on the bench.
    const struct { qreal x, y, r; } beads[] = {{36, 142, 14}, {70, 150, 9}, {96, 138, 11}, {58, 132, 6}, {116, 156, 6}};
    for (const auto &b : beads) {
        QRadialGradient g(QPointF(b.x - b.r * 0.35, b.y - b.r * 0.35), b.r * 1.4);
        g.setColorAt(0, QColor(255, 255, 255));
        g.setColorAt(0.4, QColor(190, 196, 206));
        g.setColorAt(1, QColor(80, 86, 96));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(QPointF(b.x, b.y), b.r, b.r * 0.75);
    }
    emojiWithShadow(p, QStringLiteral("⚗️"), QPointF(68, 62), 76);
}

void windAndBalloon(QPainter &p)
{
    verticalGradient(p, QColor(110, 180, 245), QColor(220, 240, 255));
    cloud(p, QPointF(104, 34), 46);
    hills(p, 150, 12, QColor(110, 180, 90), 125);
    emojiWithShadow(p, QStringLiteral("🌬️"), QPointF(40, 56), 60);
    emojiWithShadow(p, QStringLiteral("🎈"), QPointF(100, 104), 48, 15);
}

void weatherSky(QPainter &p)
{
    verticalGradient(p, QColor(120, 170, 220), QColor(220, 230, 240));
    emojiWithShadow(p, QStringLiteral("⛅"), QPointF(46, 44), 64);
    emojiWithShadow(p, QStringLiteral("🌧️"), QPointF(100, 86), 54);
    hills(p, 150, 10, QColor(110, 170, 90), 127);
    emojiWithShadow(p, QStringLiteral("🌀"), QPointF(36, 130), 36);
}

void liftingAndArrows(QPainter &p)
{
    graphPaper(p);
    arrow(p, QPointF(22, 40), QPointF(22, 10), QColor(40, 90, 200), 3);
    arrow(p, QPointF(115, 10), QPointF(115, 40), QColor(200, 40, 40), 3);
    emojiWithShadow(p, QStringLiteral("🏋️"), QPointF(68, 100), 100);
}

void coloursIntoABox(QPainter &p)
{
    verticalGradient(p, QColor(20, 20, 40), QColor(40, 30, 70));
    emojiWithShadow(p, QStringLiteral("🌈"), QPointF(36, 30), 46);
    // The six colours of the rainbow, each its own beam, meet inside a closed box: what they make
    // together is left to the player.
    const QColor rays[] = {{255, 60, 60}, {255, 160, 40}, {255, 240, 60}, {80, 200, 80}, {60, 120, 255}, {150, 80, 220}};
    for (int i = 0; i < 6; ++i) {
        p.setPen(QPen(rays[i], 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, 62 + i * 16), QPointF(78, 104 + i * 2));
    }
    // The box, seen from a corner: front, side and lid.
    const QPolygonF front({QPointF(70, 84), QPointF(118, 84), QPointF(118, 140), QPointF(70, 140)});
    const QPolygonF side({QPointF(118, 84), QPointF(132, 74), QPointF(132, 128), QPointF(118, 140)});
    const QPolygonF lid({QPointF(70, 84), QPointF(84, 74), QPointF(132, 74), QPointF(118, 84)});
    fillPolygon(p, side, QColor(70, 44, 24));
    fillPolygon(p, lid, QColor(140, 96, 56));
    fillPolygon(p, front, QColor(110, 72, 40));
    p.setPen(QPen(QColor(60, 36, 18), 1));
    for (const qreal y : {98.0, 112.0, 126.0})
        p.drawLine(QPointF(70, y), QPointF(118, y));
    emojiWithShadow(p, QStringLiteral("❓"), QPointF(94, 112), 36);
}

// ---- the solar system ----------------------------------------------------------------------

void planetsOnTheirOrbits(QPainter &p)
{
    space(p, 51);
    const QPointF sunAt(-34, 80);
    p.save();
    p.setBrush(Qt::NoBrush);
    const qreal radii[] = {58, 78, 100, 128, 160};
    for (const qreal r : radii) {
        p.setPen(QPen(QColor(255, 255, 255, 60), 0.8));
        p.drawEllipse(sunAt, r, r * 0.92);
    }
    p.restore();
    sun(p, sunAt, 46);
    planet(p, sunAt + QPointF(58 * 0.9, -58 * 0.4), 4, QColor(200, 200, 200), QColor(110, 100, 90));
    planet(p, sunAt + QPointF(78 * 0.7, 78 * 0.64), 6, QColor(120, 180, 250), QColor(20, 60, 150));
    planet(p, sunAt + QPointF(100 * 0.95, 100 * 0.2), 5, QColor(250, 170, 120), QColor(150, 60, 30));
    planet(p, sunAt + QPointF(128 * 0.85, -128 * 0.48), 12, QColor(240, 210, 160), QColor(150, 110, 70), 4);
    planet(p, sunAt + QPointF(160 * 0.96, 160 * 0.24), 10, QColor(170, 210, 250), QColor(50, 90, 170), 2);
    emojiWithShadow(p, QStringLiteral("🔭"), QPointF(108, 150), 38);
}

void rocketTowardsReddishDot(QPainter &p)
{
    space(p, 53);
    planet(p, QPointF(104, 38), 15, QColor(240, 140, 90), QColor(130, 40, 20));
    emojiWithShadow(p, QStringLiteral("🚀"), QPointF(48, 124), 62);
    p.save();
    p.setPen(QPen(QColor(255, 255, 255, 50), 1, Qt::DashLine));
    p.drawLine(QPointF(64, 108), QPointF(92, 50));
    p.restore();
}

void smallWorldByTheSun(QPainter &p)
{
    space(p, 55);
    radialGlow(p, QPointF(-20, 88), 120, QColor(255, 170, 60, 150));
    sun(p, QPointF(-20, 88), 56, QColor(255, 200, 70));
    p.save();
    p.setBrush(Qt::NoBrush);
    for (const qreal r : {90.0, 120.0, 150.0}) {
        p.setPen(QPen(QColor(255, 255, 255, 60), 0.8));
        p.drawEllipse(QPointF(-20, 88), r, r);
    }
    p.restore();
    planet(p, QPointF(70, 88), 7, QColor(190, 180, 170), QColor(80, 70, 60));
    planet(p, QPointF(92, 146), 6, QColor(240, 220, 170), QColor(150, 120, 60));
    planet(p, QPointF(118, 48), 6, QColor(120, 180, 250), QColor(20, 60, 150));
}

void thermometerAndFire(QPainter &p)
{
    verticalGradient(p, QColor(60, 20, 40), QColor(220, 80, 30));
    starField(p, 30, 57, QRectF(0, 0, PhotoWidth, 80));
    planet(p, QPointF(104, 44), 22, QColor(255, 236, 190), QColor(190, 140, 70));
    emojiWithShadow(p, QStringLiteral("🌡️"), QPointF(40, 100), 100);
    emojiWithShadow(p, QStringLiteral("🔥"), QPointF(100, 130), 52);
}

void orbitsAndQuestion(QPainter &p)
{
    space(p, 59);
    const QPointF sunAt(0, PhotoHeight);
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 6; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 90 - i * 10), 1));
        const qreal r = 46 + i * 24;
        p.drawEllipse(sunAt, r, r);
    }
    p.restore();
    sun(p, sunAt, 30);
    emojiWithShadow(p, QStringLiteral("❓"), QPointF(90, 66), 58, 8);
}

void astronautOnTheMoon(QPainter &p)
{
    p.fillRect(PhotoRect, QColor(4, 4, 12));
    starField(p, 60, 61, QRectF(0, 0, PhotoWidth, 110));
    emoji(p, QStringLiteral("🌍"), QPointF(108, 32), 36);
    // Grey ground with craters.
    QPainterPath ground(QPointF(0, 124));
    ground.cubicTo(QPointF(40, 116), QPointF(90, 132), QPointF(137, 120));
    ground.lineTo(137, 177);
    ground.lineTo(0, 177);
    QLinearGradient g(QPointF(0, 118), QPointF(0, 177));
    g.setColorAt(0, QColor(180, 180, 180));
    g.setColorAt(1, QColor(90, 90, 95));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(ground);
    p.setBrush(QColor(120, 120, 125));
    p.drawEllipse(QPointF(24, 150), 12, 4);
    p.drawEllipse(QPointF(112, 160), 16, 5);
    p.drawEllipse(QPointF(80, 140), 7, 2.5);
    emojiWithShadow(p, QStringLiteral("👨‍🚀"), QPointF(58, 100), 82);
    emoji(p, QStringLiteral("👣"), QPointF(104, 140), 20, -30);
}

void planetLyingOnItsSide(QPainter &p)
{
    space(p, 63);
    const QPointF c(68, 86);
    // Rings standing almost upright around a planet rolled onto its side: back half, planet,
    // front half.
    const QRectF ring(c.x() - 11, c.y() - 62, 22, 124);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 220, 230, 120), 3));
    p.drawArc(ring, 90 * 16, 180 * 16);
    planet(p, c, 30, QColor(200, 220, 225), QColor(70, 110, 130));
    p.setPen(QPen(QColor(210, 230, 240, 170), 3));
    p.drawArc(ring, -90 * 16, 180 * 16);
    // The axis, close to horizontal.
    p.setPen(QPen(QColor(255, 220, 120, 200), 1.5, Qt::DashLine));
    p.drawLine(c + QPointF(-52, 6), c + QPointF(52, -6));
    emojiWithShadow(p, QStringLiteral("🔄"), QPointF(112, 152), 28);
}

void sunlightToEarth(QPainter &p)
{
    space(p, 65);
    sun(p, QPointF(6, 70), 30);
    emoji(p, QStringLiteral("🌍"), QPointF(118, 70), 30);
    p.setPen(QPen(QColor(255, 230, 120, 200), 2, Qt::DashLine));
    p.drawLine(QPointF(38, 70), QPointF(100, 70));
    arrow(p, QPointF(90, 70), QPointF(102, 70), QColor(255, 230, 120), 2);
    emojiWithShadow(p, QStringLiteral("⏱️"), QPointF(68, 132), 56);
}

void earthWithEmptyOrbit(QPainter &p)
{
    space(p, 131);
    p.setPen(QPen(QColor(255, 255, 255, 140), 1.4, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(68, 90), 58, 40);
    emojiWithShadow(p, QStringLiteral("🌍"), QPointF(68, 90), 52);
    emojiWithShadow(p, QStringLiteral("❓"), QPointF(118, 150), 28);
}

void spinningEarth(QPainter &p)
{
    space(p, 133);
    sun(p, QPointF(0, 20), 26);
    emojiWithShadow(p, QStringLiteral("🌎"), QPointF(74, 74), 74);
    p.setPen(QPen(QColor(255, 230, 120), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(26, 28, 96, 92), 200 * 16, 120 * 16);
    arrow(p, QPointF(104, 118), QPointF(116, 104), QColor(255, 230, 120), 2.5);
    emojiWithShadow(p, QStringLiteral("⏰"), QPointF(34, 146), 40);
}

void telescopeAtNight(QPainter &p)
{
    verticalGradient(p, QColor(10, 14, 50), QColor(40, 50, 100));
    starField(p, 80, 135, QRectF(0, 0, PhotoWidth, 130));
    p.fillRect(QRectF(0, 140, PhotoWidth, 37), QColor(30, 60, 40));
    emojiWithShadow(p, QStringLiteral("🔭"), QPointF(70, 112), 76);
    emoji(p, QStringLiteral("🌙"), QPointF(112, 28), 26);
}

void starsAndQuestion(QPainter &p)
{
    space(p, 137);
    for (const QPointF s : {QPointF(30, 30), QPointF(110, 24), QPointF(96, 70)})
        emoji(p, QStringLiteral("✨"), s, 22);
    emojiWithShadow(p, QStringLiteral("🌍"), QPointF(48, 122), 60);
    emojiWithShadow(p, QStringLiteral("❓"), QPointF(108, 130), 40);
}

void rocketLiftOff(QPainter &p)
{
    verticalGradient(p, QColor(30, 60, 130), QColor(150, 190, 230));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 240, 240, 200));
    for (int i = 0; i < 9; ++i)
        p.drawEllipse(QPointF(10 + i * 15, 160 - (i % 3) * 6), 18, 14);
    emojiWithShadow(p, QStringLiteral("🚀"), QPointF(68, 76), 90, -45);
}

void campUnderStars(QPainter &p)
{
    verticalGradient(p, QColor(6, 8, 30), QColor(30, 30, 80));
    starField(p, 140, 139, QRectF(0, 0, PhotoWidth, 130));
    hills(p, 140, 14, QColor(20, 40, 30), 141);
    emojiWithShadow(p, QStringLiteral("⛺"), QPointF(70, 146), 54);
}

void darkeningSky(QPainter &p)
{
    verticalGradient(p, QColor(20, 24, 60), QColor(120, 110, 150));
    radialGlow(p, QPointF(68, 50), 40, QColor(255, 240, 200, 180));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(10, 10, 20));
    p.drawEllipse(QPointF(68, 50), 20, 20);
    hills(p, 140, 10, QColor(40, 50, 50), 143);
    emojiWithShadow(p, QStringLiteral("🕶️"), QPointF(68, 140), 60);
}

// ---- the human body ------------------------------------------------------------------------

void organsAround(QPainter &p)
{
    softBackdrop(p, QColor(255, 240, 236), QColor(240, 180, 170));
    emojiWithShadow(p, QStringLiteral("🧠"), QPointF(38, 40), 44);
    emojiWithShadow(p, QStringLiteral("🫀"), QPointF(100, 44), 42);
    emojiWithShadow(p, QStringLiteral("🫁"), QPointF(40, 112), 46);
    emojiWithShadow(p, QStringLiteral("👁️"), QPointF(100, 110), 36);
    emojiWithShadow(p, QStringLiteral("🩺"), QPointF(68, 154), 34);
}

void xraySkeleton(QPainter &p)
{
    softBackdrop(p, QColor(40, 70, 110), QColor(8, 16, 36));
    p.save();
    p.setPen(QPen(QColor(140, 200, 255, 30), 1));
    for (int y = 0; y < PhotoHeight; y += 4)
        p.drawLine(QPointF(0, y), QPointF(PhotoWidth, y));
    p.restore();
    emojiWithShadow(p, QStringLiteral("💀"), QPointF(68, 58), 62);
    emojiWithShadow(p, QStringLiteral("🦴"), QPointF(38, 134), 52, 35);
    emojiWithShadow(p, QStringLiteral("🦴"), QPointF(100, 134), 52, -35);
}

void earUnderLens(QPainter &p)
{
    softBackdrop(p, QColor(255, 236, 214), QColor(230, 170, 120));
    emojiWithShadow(p, QStringLiteral("👂"), QPointF(60, 86), 96);
    emojiWithShadow(p, QStringLiteral("🔍"), QPointF(104, 136), 48);
}

void heartWithTrace(QPainter &p)
{
    softBackdrop(p, QColor(255, 220, 220), QColor(200, 70, 80));
    emojiWithShadow(p, QStringLiteral("🫀"), QPointF(68, 80), 96);
    p.setPen(QPen(QColor(255, 255, 255, 220), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPolygonF trace;
    trace << QPointF(0, 152) << QPointF(30, 152) << QPointF(36, 146) << QPointF(42, 152) << QPointF(52, 152)
          << QPointF(58, 124) << QPointF(64, 168) << QPointF(70, 152) << QPointF(84, 152) << QPointF(90, 144)
          << QPointF(98, 152) << QPointF(137, 152);
    p.drawPolyline(trace);
}

void bloodUnderMicroscope(QPainter &p)
{
    softBackdrop(p, QColor(255, 236, 236), QColor(220, 150, 160));
    emojiWithShadow(p, QStringLiteral("🔬"), QPointF(50, 108), 88);
    emojiWithShadow(p, QStringLiteral("🩸"), QPointF(106, 48), 44);
}

void fattyBreakfast(QPainter &p)
{
    // A checked tablecloth.
    p.fillRect(PhotoRect, QColor(255, 250, 240));
    p.setPen(Qt::NoPen);
    for (int y = 0; y < PhotoHeight; y += 14)
        for (int x = (y / 14 % 2) * 14; x < PhotoWidth; x += 28)
            p.fillRect(QRectF(x, y, 14, 14), QColor(230, 80, 80, 110));
    emojiWithShadow(p, QStringLiteral("🍳"), QPointF(68, 70), 84);
    emojiWithShadow(p, QStringLiteral("🥓"), QPointF(38, 144), 44, -10);
    emojiWithShadow(p, QStringLiteral("🍟"), QPointF(102, 142), 44);
}

void lungsAndBreath(QPainter &p)
{
    softBackdrop(p, QColor(236, 250, 255), QColor(140, 200, 230));
    emojiWithShadow(p, QStringLiteral("🫁"), QPointF(68, 74), 88);
    emojiWithShadow(p, QStringLiteral("🌬️"), QPointF(68, 148), 42);
}

void sunnyBeach(QPainter &p)
{
    skyWithSun(p, QColor(60, 160, 240), QColor(210, 236, 250), QPointF(108, 28), 16);
    sea(p, 80, QColor(40, 180, 210), QColor(20, 120, 180), 3);
    p.fillRect(QRectF(0, 118, PhotoWidth, 59), QColor(244, 222, 170));
    emojiWithShadow(p, QStringLiteral("⛱️"), QPointF(44, 110), 64);
    emojiWithShadow(p, QStringLiteral("🧴"), QPointF(104, 146), 38);
}

void toothAndBrush(QPainter &p)
{
    softBackdrop(p, QColor(240, 252, 255), QColor(140, 210, 230));
    emojiWithShadow(p, QStringLiteral("🦷"), QPointF(54, 72), 80);
    emojiWithShadow(p, QStringLiteral("🪥"), QPointF(96, 140), 56, -30);
}

void legAndTape(QPainter &p)
{
    softBackdrop(p, QColor(255, 244, 230), QColor(220, 180, 150));
    emojiWithShadow(p, QStringLiteral("🦵"), QPointF(56, 84), 110);
    emojiWithShadow(p, QStringLiteral("📏"), QPointF(110, 120), 60, 80);
}

void tongueAndTreats(QPainter &p)
{
    softBackdrop(p, QColor(255, 236, 240), QColor(240, 160, 180));
    emojiWithShadow(p, QStringLiteral("👅"), QPointF(68, 68), 80);
    emojiWithShadow(p, QStringLiteral("🍋"), QPointF(34, 144), 40);
    emojiWithShadow(p, QStringLiteral("🍫"), QPointF(102, 144), 40, 10);
}

void eyeAndPalette(QPainter &p)
{
    softBackdrop(p, QColor(245, 240, 255), QColor(170, 150, 220));
    emojiWithShadow(p, QStringLiteral("👁️"), QPointF(68, 70), 90);
    emojiWithShadow(p, QStringLiteral("🎨"), QPointF(68, 146), 44);
}

void waterAndStethoscope(QPainter &p)
{
    softBackdrop(p, QColor(236, 248, 255), QColor(130, 180, 220));
    emojiWithShadow(p, QStringLiteral("🥛"), QPointF(44, 74), 70);
    emojiWithShadow(p, QStringLiteral("💧"), QPointF(104, 40), 30);
    emojiWithShadow(p, QStringLiteral("💧"), QPointF(116, 76), 20);
    emojiWithShadow(p, QStringLiteral("🩺"), QPointF(90, 138), 56);
}

void healthyMeal(QPainter &p)
{
    p.fillRect(PhotoRect, QColor(250, 250, 240));
    p.setPen(Qt::NoPen);
    for (int y = 0; y < PhotoHeight; y += 14)
        for (int x = (y / 14 % 2) * 14; x < PhotoWidth; x += 28)
            p.fillRect(QRectF(x, y, 14, 14), QColor(80, 170, 110, 90));
    emojiWithShadow(p, QStringLiteral("🥗"), QPointF(68, 76), 88);
    emojiWithShadow(p, QStringLiteral("🍎"), QPointF(32, 146), 38);
    emojiWithShadow(p, QStringLiteral("🥕"), QPointF(104, 146), 40, 20);
}

// ---- arts and literature -------------------------------------------------------------------

void openBookAndQuill(QPainter &p)
{
    parchment(p);
    emojiWithShadow(p, QStringLiteral("📖"), QPointF(64, 104), 96);
    emojiWithShadow(p, QStringLiteral("🪶"), QPointF(108, 42), 44, 20);
    emoji(p, QStringLiteral("🎩"), QPointF(28, 34), 30, -10);
}

void modernistPainting(QPainter &p)
{
    p.fillRect(PhotoRect, QColor(230, 224, 212));
    const QRectF frame(8, 12, 121, 153);
    goldFrame(p, frame, 8);
    const QRectF canvas = frame.adjusted(8, 8, -8, -8);
    p.save();
    p.setClipRect(canvas);
    p.fillRect(canvas, QColor(70, 140, 210));
    p.fillRect(QRectF(canvas.left(), canvas.bottom() - 30, canvas.width(), 30), QColor(60, 150, 70));
    p.setPen(Qt::NoPen);
    // A lemon sun, a cactus, and a seated figure with a tiny head and an enormous foot.
    p.setBrush(QColor(250, 220, 60));
    p.drawEllipse(QPointF(canvas.center().x() + 6, canvas.top() + 30), 16, 16);
    p.setBrush(QColor(50, 140, 60));
    p.drawRoundedRect(QRectF(canvas.right() - 26, canvas.top() + 40, 12, 80), 6, 6);
    p.drawRoundedRect(QRectF(canvas.right() - 38, canvas.top() + 62, 12, 28), 6, 6);
    p.drawRoundedRect(QRectF(canvas.right() - 16, canvas.top() + 52, 10, 26), 5, 5);
    const QColor skin(226, 160, 116);
    const qreal L = canvas.left(), B = canvas.bottom(), T = canvas.top();
    // Tall thin body leaning on the knee, the tiny head held up by the arm.
    p.setBrush(skin.darker(115));
    p.drawEllipse(QPointF(L + 22, B - 62), 12, 46);
    p.setBrush(skin);
    QPainterPath shin(QPointF(L + 26, B - 20));
    shin.lineTo(L + 40, B - 22);
    shin.lineTo(L + 52, B - 74);
    shin.lineTo(L + 38, B - 78);
    shin.closeSubpath();
    p.drawPath(shin);
    p.drawEllipse(QPointF(L + 34, B - 14), 30, 10);
    p.setPen(QPen(skin.darker(105), 8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(L + 46, B - 76), QPointF(L + 30, T + 44));
    p.setPen(Qt::NoPen);
    p.setBrush(skin.darker(125));
    p.drawEllipse(QPointF(L + 24, T + 36), 5, 6);
    p.restore();
}

void scrollOverTheSea(QPainter &p)
{
    verticalGradient(p, QColor(250, 230, 190), QColor(220, 200, 170), QRectF(0, 0, PhotoWidth, 110));
    sea(p, 110, QColor(40, 110, 170), QColor(10, 40, 90), 4);
    emojiWithShadow(p, QStringLiteral("📜"), QPointF(82, 56), 70, 10);
    emojiWithShadow(p, QStringLiteral("⛵"), QPointF(40, 116), 48);
    emoji(p, QStringLiteral("🌊"), QPointF(106, 150), 40);
}

void stoneOnTheRoad(QPainter &p)
{
    verticalGradient(p, QColor(150, 200, 240), QColor(230, 240, 246), QRectF(0, 0, PhotoWidth, 70));
    cloud(p, QPointF(34, 30), 40);
    p.fillRect(QRectF(0, 70, PhotoWidth, 107), QColor(120, 170, 80));
    hills(p, 72, 8, QColor(90, 140, 70), 71);
    QPolygonF road;
    road << QPointF(62, 70) << QPointF(76, 70) << QPointF(120, 177) << QPointF(18, 177);
    QLinearGradient g(QPointF(0, 70), QPointF(0, 177));
    g.setColorAt(0, QColor(200, 180, 140));
    g.setColorAt(1, QColor(170, 140, 100));
    fillPolygon(p, road, g);
    emojiWithShadow(p, QStringLiteral("🪨"), QPointF(70, 124), 50);
}

void famousPortrait(QPainter &p)
{
    verticalGradient(p, QColor(110, 40, 40), QColor(60, 20, 20));
    const QRectF frame(20, 16, 97, 136);
    goldFrame(p, frame, 7);
    const QRectF c = frame.adjusted(7, 7, -7, -7);
    p.save();
    p.setClipRect(c);
    // A hazy landscape with winding paths behind a seated figure.
    verticalGradient(p, QColor(150, 170, 140), QColor(110, 100, 60), c);
    p.setPen(QPen(QColor(190, 160, 110, 150), 2));
    p.setBrush(Qt::NoBrush);
    QPainterPath path(QPointF(c.left(), c.top() + 50));
    path.cubicTo(QPointF(c.left() + 10, c.top() + 40), QPointF(c.left() + 16, c.top() + 60), QPointF(c.left() + 8, c.top() + 70));
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    const QPointF head(c.center().x(), c.top() + 42);
    p.setBrush(QColor(40, 30, 20));
    p.drawEllipse(head + QPointF(0, 6), 21, 28);
    p.setBrush(QColor(30, 34, 22));
    QPainterPath body(QPointF(c.left() + 4, c.bottom()));
    body.cubicTo(QPointF(c.left() + 8, c.top() + 70), QPointF(c.right() - 8, c.top() + 70), QPointF(c.right() - 4, c.bottom()));
    p.drawPath(body);
    p.setBrush(QColor(214, 170, 110));
    p.drawEllipse(head, 14, 18);
    QPainterPath neckline(QPointF(head.x() - 14, head.y() + 30));
    neckline.quadTo(QPointF(head.x(), head.y() + 46), QPointF(head.x() + 14, head.y() + 30));
    neckline.lineTo(head.x() + 8, head.y() + 16);
    neckline.lineTo(head.x() - 8, head.y() + 16);
    p.drawPath(neckline);
    p.drawEllipse(QPointF(head.x() + 4, c.bottom() - 14), 16, 7);
    p.setPen(QPen(QColor(120, 70, 50), 1));
    p.drawArc(QRectF(head.x() - 5, head.y() + 6, 10, 4), 200 * 16, 140 * 16);
    p.restore();
    vignette(p, 0.3);
}

void masksAndPalette(QPainter &p)
{
    verticalGradient(p, QColor(40, 30, 60), QColor(120, 40, 70));
    // Stage curtains.
    for (int i = 0; i < 6; ++i) {
        QLinearGradient g(QPointF(i * 8, 0), QPointF(i * 8 + 8, 0));
        g.setColorAt(0, QColor(170, 20, 40));
        g.setColorAt(1, QColor(100, 10, 20));
        p.fillRect(QRectF(i * 5, 0, 5, PhotoHeight), g);
        p.fillRect(QRectF(PhotoWidth - (i + 1) * 5, 0, 5, PhotoHeight), g);
    }
    radialGlow(p, QPointF(68, 70), 50, QColor(255, 230, 180, 120));
    emojiWithShadow(p, QStringLiteral("🎭"), QPointF(68, 70), 80);
    emojiWithShadow(p, QStringLiteral("🎨"), QPointF(44, 142), 40);
    emojiWithShadow(p, QStringLiteral("🎼"), QPointF(94, 142), 36);
}

void farmhouseAndCorn(QPainter &p)
{
    verticalGradient(p, QColor(120, 190, 245), QColor(220, 240, 250));
    cloud(p, QPointF(100, 30), 44);
    hills(p, 120, 20, QColor(110, 180, 80), 73);
    hills(p, 150, 10, QColor(80, 150, 60), 75);
    emojiWithShadow(p, QStringLiteral("🏡"), QPointF(70, 104), 72);
    emojiWithShadow(p, QStringLiteral("🌽"), QPointF(24, 146), 40, -15);
    emojiWithShadow(p, QStringLiteral("🐦"), QPointF(112, 146), 32);
    emoji(p, QStringLiteral("🌳"), QPointF(20, 92), 36);
}

// A standing statue of soapstone: a long robe with a mantle over one shoulder, a covered head
// and one arm raised, on a small pedestal. `feet` is the middle of the pedestal's top.
void robedStatue(QPainter &p, QPointF feet, qreal height, bool armLeft)
{
    const QColor stone(150, 150, 118), shade(108, 110, 86), light(186, 184, 150);
    const qreal w = height * 0.36, x = feet.x(), y = feet.y();
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawRect(QRectF(x - w * 0.7, y, w * 1.4, height * 0.14));
    // The robe widens to the feet; the mantle crosses it from one shoulder.
    const qreal shoulder = y - height * 0.78;
    QPolygonF robe({QPointF(x - w * 0.32, shoulder), QPointF(x + w * 0.32, shoulder), QPointF(x + w * 0.55, y),
                    QPointF(x - w * 0.55, y)});
    fillPolygon(p, robe, stone);
    const qreal side = armLeft ? 1 : -1;
    QPolygonF mantle({QPointF(x + side * w * 0.32, shoulder), QPointF(x + side * w * 0.55, y),
                      QPointF(x - side * w * 0.1, y), QPointF(x - side * w * 0.2, shoulder + height * 0.3)});
    fillPolygon(p, mantle, light);
    p.setPen(QPen(shade, 0.8));
    p.drawLine(QPointF(x - side * w * 0.15, shoulder + height * 0.35), QPointF(x - side * w * 0.25, y));
    p.drawLine(QPointF(x + side * w * 0.1, shoulder + height * 0.4), QPointF(x + side * w * 0.2, y));
    // The raised arm holds a scroll.
    p.setPen(QPen(stone, std::max(1.5, w * 0.22), Qt::SolidLine, Qt::RoundCap));
    const QPointF hand(x - side * w * 0.85, shoulder - height * 0.12);
    p.drawLine(QPointF(x - side * w * 0.3, shoulder + height * 0.06), hand);
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawRect(QRectF(hand.x() - w * 0.12, hand.y() - height * 0.12, w * 0.24, height * 0.14));
    // Head and turban.
    const qreal r = height * 0.09;
    p.setBrush(stone);
    p.drawEllipse(QPointF(x, shoulder - r * 0.9), r, r * 1.1);
    p.setBrush(light);
    p.drawChord(QRectF(x - r * 1.15, shoulder - r * 3.1, r * 2.3, r * 2.4), 0, 180 * 16);
    p.restore();
}

void baroqueChurchAndProphets(QPainter &p)
{
    verticalGradient(p, QColor(90, 150, 230), QColor(210, 232, 250));
    cloud(p, QPointF(24, 22), 30);
    // The hill, with the church on its top and the churchyard before it.
    QPainterPath hill(QPointF(0, 177));
    hill.lineTo(0, 96);
    hill.cubicTo(30, 84, 107, 84, 137, 96);
    hill.lineTo(137, 177);
    p.fillPath(hill, QColor(96, 150, 80));

    const QColor wall(246, 242, 230), stone(150, 150, 118), dark(70, 60, 56), roof(110, 120, 140);
    p.setPen(Qt::NoPen);
    // Two round-topped bell towers on either side of the front.
    for (const qreal tx : {36.0, 88.0}) {
        p.fillRect(QRectF(tx, 44, 14, 50), wall);
        p.fillRect(QRectF(tx, 44, 2, 50), stone);
        p.fillRect(QRectF(tx + 12, 44, 2, 50), stone);
        p.setBrush(dark);
        p.drawRoundedRect(QRectF(tx + 4, 50, 6, 9), 3, 3);
        p.setBrush(roof);
        QPainterPath dome(QPointF(tx - 1, 44));
        dome.cubicTo(tx - 1, 32, tx + 15, 32, tx + 15, 44);
        dome.closeSubpath();
        p.drawPath(dome);
        p.fillRect(QRectF(tx + 6.4, 26, 1.2, 8), dark);
        p.fillRect(QRectF(tx + 4.5, 28, 5, 1.2), dark);
    }
    // The front between the towers, crowned by a curved gable with scrolls at its feet.
    p.fillRect(QRectF(50, 54, 38, 40), wall);
    QPainterPath gable(QPointF(50, 55));
    gable.cubicTo(54, 46, 60, 48, 62, 42);
    gable.cubicTo(64, 36, 74, 36, 76, 42);
    gable.cubicTo(78, 48, 84, 46, 88, 55);
    gable.closeSubpath();
    p.fillPath(gable, wall);
    p.setPen(QPen(stone, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(gable);
    p.drawEllipse(QPointF(54, 53), 2.2, 2.2);
    p.drawEllipse(QPointF(84, 53), 2.2, 2.2);
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(68.4, 28, 1.2, 10), dark);
    p.fillRect(QRectF(65.5, 31, 7, 1.2), dark);
    // A round window and the carved stone portal around an arched door.
    p.setBrush(stone);
    p.drawEllipse(QPointF(69, 48), 3.4, 3.4);
    p.setBrush(dark);
    p.drawEllipse(QPointF(69, 48), 2, 2);
    p.setBrush(stone);
    p.drawRoundedRect(QRectF(59, 62, 20, 32), 9, 9);
    p.setBrush(QColor(96, 60, 40));
    p.drawRoundedRect(QRectF(62, 70, 14, 24), 7, 7);
    p.setBrush(dark);
    for (const qreal wx : {53.0, 81.0})
        p.drawRoundedRect(QRectF(wx, 66, 5, 9), 2.5, 2.5);

    // The churchyard: a paved terrace with a low wall, and the stairway down the hill.
    const QPolygonF terrace({QPointF(20, 94), QPointF(117, 94), QPointF(131, 112), QPointF(6, 112)});
    fillPolygon(p, terrace, QColor(206, 196, 172));
    p.fillRect(QRectF(4, 110, 129, 5), QColor(170, 160, 134));
    const QPolygonF stairs({QPointF(56, 115), QPointF(82, 115), QPointF(92, 177), QPointF(46, 177)});
    fillPolygon(p, stairs, QColor(196, 186, 160));
    p.setPen(QPen(QColor(160, 150, 126), 1));
    for (qreal y = 121; y < 177; y += 7)
        p.drawLine(QPointF(56 - (y - 115) * 0.16, y), QPointF(82 + (y - 115) * 0.16, y));
    // Walls on either side of the stairs.
    p.setPen(Qt::NoPen);
    fillPolygon(p, QPolygonF({QPointF(50, 115), QPointF(56, 115), QPointF(46, 177), QPointF(38, 177)}),
                QColor(170, 160, 134));
    fillPolygon(p, QPolygonF({QPointF(82, 115), QPointF(88, 115), QPointF(100, 177), QPointF(92, 177)}),
                QColor(170, 160, 134));

    // The prophets stand on the terrace wall and beside the stairs, the nearest ones larger.
    robedStatue(p, QPointF(14, 110), 20, true);
    robedStatue(p, QPointF(34, 110), 18, false);
    robedStatue(p, QPointF(104, 110), 18, true);
    robedStatue(p, QPointF(124, 110), 20, false);
    robedStatue(p, QPointF(24, 150), 30, true);
    robedStatue(p, QPointF(114, 150), 30, false);
}

// A nylon-string guitar (the emoji font only has an electric one), `length` from the bottom of
// the body to the end of the head, centred on `centre`.
void acousticGuitar(QPainter &p, QPointF centre, qreal length, qreal angle)
{
    p.save();
    p.translate(centre);
    p.rotate(angle);
    p.translate(0, length * 0.2);
    const qreal u = length / 100;
    // Shadow, neck and head.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawEllipse(QPointF(3 * u, 22 * u), 22 * u, 19 * u);
    p.setBrush(QColor(90, 50, 25));
    p.drawRect(QRectF(-3.5 * u, -62 * u, 7 * u, 58 * u));
    p.drawRoundedRect(QRectF(-5 * u, -74 * u, 10 * u, 14 * u), 2 * u, 2 * u);
    // Body: two lobes joined at a waist.
    QPainterPath body;
    body.addEllipse(QPointF(0, 18 * u), 21 * u, 19 * u);
    body.addEllipse(QPointF(0, -6 * u), 16 * u, 14 * u);
    body.setFillRule(Qt::WindingFill);
    QRadialGradient wood(QPointF(-6 * u, 4 * u), 34 * u);
    wood.setColorAt(0, QColor(240, 180, 100));
    wood.setColorAt(1, QColor(180, 100, 40));
    p.setPen(QPen(QColor(110, 60, 20), 1.2));
    p.setBrush(wood);
    p.drawPath(body.simplified());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(50, 25, 10));
    p.drawEllipse(QPointF(0, 0), 6 * u, 6 * u);
    p.drawRect(QRectF(-8 * u, 24 * u, 16 * u, 3 * u));
    p.setPen(QPen(QColor(240, 240, 230, 200), 0.5));
    for (int s = -2; s <= 3; ++s)
        p.drawLine(QPointF(s * 1.2 * u - 0.6 * u, -70 * u), QPointF(s * 1.2 * u - 0.6 * u, 25 * u));
    p.restore();
}

void guitarOnTheBeach(QPainter &p)
{
    skyWithSun(p, QColor(90, 170, 240), QColor(230, 244, 250), QPointF(108, 30), 12);
    sea(p, 82, QColor(40, 170, 200), QColor(20, 110, 170), 3);
    QPainterPath sand(QPointF(0, 124));
    sand.cubicTo(QPointF(40, 114), QPointF(90, 130), QPointF(137, 118));
    sand.lineTo(137, 177);
    sand.lineTo(0, 177);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 220, 170));
    p.drawPath(sand);
    acousticGuitar(p, QPointF(52, 118), 100, -35);
    emojiWithShadow(p, QStringLiteral("🎶"), QPointF(104, 64), 40);
    emoji(p, QStringLiteral("🌴"), QPointF(116, 120), 40);
}

void beachAndBow(QPainter &p)
{
    skyWithSun(p, QColor(80, 170, 240), QColor(230, 244, 250), QPointF(28, 30), 12);
    sea(p, 70, QColor(40, 180, 200), QColor(20, 110, 170), 3);
    p.fillRect(QRectF(0, 112, PhotoWidth, 65), QColor(242, 224, 176));
    emojiWithShadow(p, QStringLiteral("⛵"), QPointF(100, 88), 40);
    emojiWithShadow(p, QStringLiteral("🏹"), QPointF(46, 140), 50, 20);
    emojiWithShadow(p, QStringLiteral("📘"), QPointF(106, 148), 36, -8);
}

void drylandAndDog(QPainter &p)
{
    skyWithSun(p, QColor(250, 180, 90), QColor(255, 236, 190), QPointF(100, 36), 20);
    p.fillRect(QRectF(0, 110, PhotoWidth, 67), QColor(196, 150, 100));
    // Cracks in the dry earth.
    p.setPen(QPen(QColor(130, 90, 50), 1.2));
    QRandomGenerator rng(145);
    for (int i = 0; i < 14; ++i) {
        const QPointF a(rng.bounded(137.0), 114 + rng.bounded(60.0));
        p.drawLine(a, a + QPointF(rng.bounded(24.0) - 12, rng.bounded(12.0) - 6));
    }
    emojiWithShadow(p, QStringLiteral("🌵"), QPointF(30, 88), 56);
    emojiWithShadow(p, QStringLiteral("🐕"), QPointF(88, 136), 60);
}

void easelOnDryLand(QPainter &p)
{
    skyWithSun(p, QColor(240, 190, 110), QColor(255, 240, 210), QPointF(30, 30), 12);
    p.fillRect(QRectF(0, 120, PhotoWidth, 57), QColor(180, 140, 100));
    // An easel holding a blank canvas.
    p.setPen(QPen(QColor(110, 70, 40), 4));
    p.drawLine(QPointF(50, 150), QPointF(70, 40));
    p.drawLine(QPointF(96, 150), QPointF(76, 40));
    p.drawLine(QPointF(73, 40), QPointF(73, 156));
    p.setPen(QPen(QColor(180, 170, 150), 1));
    p.setBrush(QColor(252, 250, 244));
    p.drawRect(QRectF(44, 46, 58, 66));
    p.setPen(QPen(QColor(110, 70, 40), 4));
    p.drawLine(QPointF(40, 114), QPointF(106, 114));
    emojiWithShadow(p, QStringLiteral("🎨"), QPointF(112, 150), 38);
}

void swirlingNight(QPainter &p)
{
    p.fillRect(PhotoRect, QColor(60, 30, 30));
    const QRectF frame(10, 14, 117, 140);
    goldFrame(p, frame, 8);
    const QRectF c = frame.adjusted(8, 8, -8, -8);
    p.save();
    p.setClipRect(c);
    verticalGradient(p, QColor(20, 40, 110), QColor(50, 80, 150), c);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 5; ++i) {
        p.setPen(QPen(QColor(150, 190, 240, 160), 3));
        const QPointF at(c.left() + 20 + i * 18, c.top() + 30 + (i % 2) * 14);
        p.drawArc(QRectF(at - QPointF(12, 8), QSizeF(24, 16)), 0, 300 * 16);
    }
    for (const QPointF s : {QPointF(24, 20), QPointF(70, 16), QPointF(86, 50)}) {
        radialGlow(p, c.topLeft() + s, 10, QColor(255, 240, 120, 220));
    }
    p.fillRect(QRectF(c.left(), c.bottom() - 30, c.width(), 30), QColor(30, 40, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 30, 20));
    QPolygonF tree;
    tree << QPointF(c.left() + 10, c.bottom()) << QPointF(c.left() + 18, c.top() + 30) << QPointF(c.left() + 26, c.bottom());
    p.drawPolygon(tree);
    p.restore();
    emojiWithShadow(p, QStringLiteral("🖌️"), QPointF(112, 160), 30, 30);
}

void roseOnTinyPlanet(QPainter &p)
{
    space(p, 147);
    planet(p, QPointF(68, 150), 46, QColor(240, 220, 170), QColor(170, 130, 80));
    emojiWithShadow(p, QStringLiteral("🌹"), QPointF(62, 86), 44);
    emojiWithShadow(p, QStringLiteral("🦊"), QPointF(110, 40), 36);
}

void castleAndLetter(QPainter &p)
{
    verticalGradient(p, QColor(20, 24, 70), QColor(80, 70, 130));
    starField(p, 30, 149, QRectF(0, 0, PhotoWidth, 70));
    emoji(p, QStringLiteral("🌙"), QPointF(112, 26), 26);
    emojiWithShadow(p, QStringLiteral("🏰"), QPointF(60, 92), 86);
    emojiWithShadow(p, QStringLiteral("💌"), QPointF(96, 150), 42, 10);
}

void bunnyAndPencil(QPainter &p)
{
    softBackdrop(p, QColor(255, 250, 230), QColor(250, 200, 140));
    emojiWithShadow(p, QStringLiteral("🐰"), QPointF(54, 86), 78);
    emojiWithShadow(p, QStringLiteral("✏️"), QPointF(110, 138), 44, 20);
    emojiWithShadow(p, QStringLiteral("💬"), QPointF(106, 38), 38);
}

// ---- sport ---------------------------------------------------------------------------------

void footballPitch(QPainter &p)
{
    for (int i = 0; i < 9; ++i)
        p.fillRect(QRectF(0, i * 20, PhotoWidth, 20), i % 2 ? QColor(60, 150, 60) : QColor(72, 166, 70));
    p.setPen(QPen(QColor(255, 255, 255, 220), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(8, 8, 121, 161));
    p.drawLine(QPointF(8, 88.5), QPointF(129, 88.5));
    p.drawEllipse(QPointF(68.5, 88.5), 22, 22);
    p.drawRect(QRectF(38, 8, 61, 24));
    p.drawRect(QRectF(38, 145, 61, 24));
    emojiWithShadow(p, QStringLiteral("⚽"), QPointF(68.5, 88.5), 34);
}

void trophyInTheSpotlight(QPainter &p)
{
    verticalGradient(p, QColor(20, 30, 80), QColor(10, 14, 40));
    QPolygonF beam;
    beam << QPointF(58, 0) << QPointF(80, 0) << QPointF(120, 160) << QPointF(16, 160);
    QLinearGradient g(QPointF(0, 0), QPointF(0, 160));
    g.setColorAt(0, QColor(255, 255, 220, 90));
    g.setColorAt(1, QColor(255, 255, 220, 20));
    fillPolygon(p, beam, g);
    QRandomGenerator rng(81);
    const QColor confetti[] = {{0, 160, 80}, {250, 210, 0}, {40, 90, 220}, {255, 255, 255}};
    for (int i = 0; i < 40; ++i) {
        p.save();
        p.translate(rng.bounded(137.0), rng.bounded(177.0));
        p.rotate(rng.bounded(180.0));
        p.fillRect(QRectF(-2, -1, 4, 2), confetti[i % 4]);
        p.restore();
    }
    emojiWithShadow(p, QStringLiteral("🏆"), QPointF(68, 84), 92);
    emojiWithShadow(p, QStringLiteral("⚽"), QPointF(110, 150), 30);
}

void laurelAndRunner(QPainter &p)
{
    softBackdrop(p, QColor(250, 240, 210), QColor(200, 170, 110));
    // A laurel wreath: two mirrored branches rising from the bottom and almost meeting at the top.
    const QPointF c(68, 88);
    const qreal r = 50;
    p.setPen(Qt::NoPen);
    for (const bool mirrored : {false, true}) {
        p.save();
        if (mirrored) {
            p.translate(2 * c.x(), 0);
            p.scale(-1, 1);
        }
        p.setPen(QPen(QColor(90, 120, 40), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(c - QPointF(r, r), QSizeF(2 * r, 2 * r)), -100 * 16, -140 * 16);
        p.setPen(Qt::NoPen);
        // Screen angles: 90 degrees is straight down; the branch climbs the left side to 240.
        for (int i = 0; i < 12; ++i) {
            const qreal deg = 100 + i * 12.5;
            const qreal a = qDegreesToRadians(deg);
            for (const int leaf : {-1, 1}) {
                p.save();
                p.translate(c + QPointF(r * std::cos(a), r * std::sin(a)));
                // A leaf drawn pointing up, turned to point along the branch and splayed outwards.
                p.rotate(deg + 180 + leaf * 35);
                p.setBrush(leaf < 0 ? QColor(96, 146, 52) : QColor(120, 168, 64));
                p.drawEllipse(QPointF(0, -7), 3.5, 8);
                p.restore();
            }
        }
        p.restore();
    }
    emojiWithShadow(p, QStringLiteral("🏃"), c, 60);
}

void podium(QPainter &p)
{
    verticalGradient(p, QColor(20, 40, 100), QColor(60, 110, 180));
    for (const qreal x : {20.0, 117.0}) {
        radialGlow(p, QPointF(x, 10), 26, QColor(255, 255, 230, 160));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 240, 245));
    p.drawRect(QRectF(48, 110, 41, 67));
    p.setBrush(QColor(215, 215, 225));
    p.drawRect(QRectF(8, 128, 40, 49));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(89, 140, 40, 37));
    emojiWithShadow(p, QStringLiteral("🥇"), QPointF(68.5, 84), 40);
    emojiWithShadow(p, QStringLiteral("🥈"), QPointF(28, 104), 34);
    emojiWithShadow(p, QStringLiteral("🥉"), QPointF(109, 116), 32);
    // Fireworks: bursts of sparks.
    const struct { QPointF at; qreal r; QColor colour; } bursts[] = {
        {{50, 34}, 20, {255, 210, 80}}, {{96, 26}, 16, {255, 110, 150}}, {{74, 58}, 12, {120, 220, 255}}};
    for (const auto &b : bursts) {
        radialGlow(p, b.at, b.r * 1.2, QColor(b.colour.red(), b.colour.green(), b.colour.blue(), 60));
        for (int k = 0; k < 16; ++k) {
            const qreal a = qDegreesToRadians(k * 22.5);
            const QPointF dir(std::cos(a), std::sin(a));
            p.setPen(QPen(b.colour, 1.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(b.at + dir * b.r * 0.35, b.at + dir * b.r * 0.85);
            p.setPen(Qt::NoPen);
            p.setBrush(b.colour.lighter(130));
            p.drawEllipse(b.at + dir * b.r, 1.3, 1.3);
        }
    }
}

void tennisCourtFromAbove(QPainter &p)
{
    // A hard court seen from above: the net across the middle, the service boxes on either side.
    p.fillRect(PhotoRect, QColor(70, 130, 90));
    const QRectF court(14, 10, 109, 157);
    p.fillRect(court, QColor(60, 100, 170));
    p.setPen(QPen(Qt::white, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(court);
    p.drawLine(QPointF(28, 10), QPointF(28, 167));
    p.drawLine(QPointF(109, 10), QPointF(109, 167));
    p.drawLine(QPointF(28, 52), QPointF(109, 52));
    p.drawLine(QPointF(28, 125), QPointF(109, 125));
    p.drawLine(QPointF(68.5, 52), QPointF(68.5, 125));
    p.setPen(QPen(QColor(230, 230, 230), 3));
    p.drawLine(QPointF(8, 88.5), QPointF(129, 88.5));
    // A ball flying fast into a service box, its path streaked behind it.
    for (int i = 0; i < 4; ++i) {
        p.setPen(QPen(QColor(230, 250, 120, 60 + i * 40), 2 + i, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(46 - i * 3, 24 + i * 6), QPointF(78 - i * 2, 96 + i * 2));
    }
    emojiWithShadow(p, QStringLiteral("🎾"), QPointF(84, 110), 26);
}

void raceCarAtTheFlag(QPainter &p)
{
    verticalGradient(p, QColor(120, 180, 230), QColor(200, 225, 240), QRectF(0, 0, PhotoWidth, 60));
    p.fillRect(QRectF(0, 60, PhotoWidth, 117), QColor(90, 150, 70));
    QPolygonF track;
    track << QPointF(0, 86) << QPointF(137, 70) << QPointF(137, 150) << QPointF(0, 170);
    fillPolygon(p, track, QColor(80, 80, 86));
    // Red and white kerbs along the edge of the track.
    for (int i = 0; i < 14; ++i) {
        const qreal x = i * 10;
        QPolygonF kerb;
        kerb << QPointF(x, 86 - x * 0.117) << QPointF(x + 10, 86 - (x + 10) * 0.117)
             << QPointF(x + 10, 80 - (x + 10) * 0.117) << QPointF(x, 80 - x * 0.117);
        fillPolygon(p, kerb, i % 2 ? Qt::white : QColor(210, 30, 30));
    }
    emojiWithShadow(p, QStringLiteral("🏎️"), QPointF(70, 116), 86, -6);
    emojiWithShadow(p, QStringLiteral("🏁"), QPointF(104, 34), 42);
}

void roadThroughSunflowers(QPainter &p)
{
    verticalGradient(p, QColor(110, 170, 235), QColor(210, 232, 250), QRectF(0, 0, PhotoWidth, 70));
    cloud(p, QPointF(100, 22), 36);
    hills(p, 66, 8, QColor(110, 160, 90), 161);
    p.fillRect(QRectF(0, 70, PhotoWidth, 107), QColor(120, 170, 80));
    // A road winding from the horizon to the front, between fields of sunflowers.
    QPainterPath road(QPointF(64, 68));
    road.cubicTo(80, 90, 30, 110, 50, 177);
    road.lineTo(100, 177);
    road.cubicTo(70, 120, 100, 92, 70, 68);
    road.closeSubpath();
    p.fillPath(road, QColor(90, 90, 96));
    p.setPen(QPen(Qt::white, 1.2, Qt::DashLine));
    QPainterPath middle(QPointF(67, 68));
    middle.cubicTo(88, 94, 46, 112, 75, 177);
    p.setBrush(Qt::NoBrush);
    p.drawPath(middle);
    for (const QPointF f : {QPointF(12, 100), QPointF(26, 122), QPointF(10, 150), QPointF(120, 96), QPointF(118, 132),
                            QPointF(126, 162)})
        emoji(p, QStringLiteral("🌻"), f, 18);
    // Little blue, white and red flags held up along the road.
    for (const QPointF f : {QPointF(30, 84), QPointF(96, 84), QPointF(110, 112)}) {
        p.setPen(QPen(QColor(80, 60, 40), 1));
        p.drawLine(f, f + QPointF(0, 14));
        const QColor stripes[] = {{0, 85, 164}, {255, 255, 255}, {239, 65, 53}};
        for (int i = 0; i < 3; ++i)
            p.fillRect(QRectF(f.x() + i * 4, f.y(), 4, 8), stripes[i]);
    }
}

void gymNetAndFeather(QPainter &p)
{
    verticalGradient(p, QColor(230, 220, 200), QColor(200, 180, 150), QRectF(0, 0, PhotoWidth, 110));
    p.fillRect(QRectF(0, 110, PhotoWidth, 67), QColor(60, 140, 110));
    p.setPen(QPen(Qt::white, 1.5));
    p.drawLine(QPointF(0, 150), QPointF(PhotoWidth, 150));
    p.setPen(QPen(QColor(60, 60, 60), 3));
    p.drawLine(QPointF(8, 70), QPointF(8, 140));
    p.drawLine(QPointF(129, 70), QPointF(129, 140));
    p.setPen(QPen(QColor(30, 30, 30, 180), 0.8));
    for (int x = 8; x <= 129; x += 5)
        p.drawLine(QPointF(x, 74), QPointF(x, 96));
    for (int y = 74; y <= 96; y += 5)
        p.drawLine(QPointF(8, y), QPointF(129, y));
    p.fillRect(QRectF(8, 71, 121, 3), Qt::white);
    emojiWithShadow(p, QStringLiteral("🪶"), QPointF(70, 36), 40, 30);
}

void oldStadium(QPainter &p)
{
    verticalGradient(p, QColor(200, 180, 140), QColor(240, 226, 190));
    // Stands in sepia and the pitch below.
    for (int i = 0; i < 5; ++i)
        p.fillRect(QRectF(0, 40 + i * 12, PhotoWidth, 10), QColor(150 - i * 8, 120 - i * 6, 90 - i * 4));
    p.fillRect(QRectF(0, 104, PhotoWidth, 73), QColor(150, 150, 100));
    p.setPen(QPen(QColor(240, 230, 200), 1.5));
    p.drawLine(QPointF(0, 140), QPointF(PhotoWidth, 140));
    emojiWithShadow(p, QStringLiteral("⚽"), QPointF(68, 136), 40);
    vignette(p, 0.45);
}

void crownOnTheBall(QPainter &p)
{
    for (int i = 0; i < 9; ++i)
        p.fillRect(QRectF(0, i * 20, PhotoWidth, 20), i % 2 ? QColor(60, 150, 60) : QColor(72, 166, 70));
    radialGlow(p, QPointF(68, 90), 60, QColor(255, 240, 160, 120));
    emojiWithShadow(p, QStringLiteral("⚽"), QPointF(68, 112), 64);
    emojiWithShadow(p, QStringLiteral("👑"), QPointF(68, 60), 52);
}

void runnersOnTheRoad(QPainter &p)
{
    verticalGradient(p, QColor(110, 180, 240), QColor(230, 240, 250));
    p.fillRect(QRectF(0, 110, PhotoWidth, 67), QColor(100, 100, 110));
    p.setPen(QPen(Qt::white, 2, Qt::DashLine));
    p.drawLine(QPointF(0, 146), QPointF(PhotoWidth, 146));
    emojiWithShadow(p, QStringLiteral("🏃"), QPointF(48, 110), 56);
    emojiWithShadow(p, QStringLiteral("🏃‍♀️"), QPointF(96, 118), 50);
    emojiWithShadow(p, QStringLiteral("🏅"), QPointF(104, 42), 44);
}

void stopwatchAndGoal(QPainter &p)
{
    for (int i = 0; i < 9; ++i)
        p.fillRect(QRectF(0, i * 20, PhotoWidth, 20), i % 2 ? QColor(60, 150, 60) : QColor(72, 166, 70));
    emojiWithShadow(p, QStringLiteral("🥅"), QPointF(68, 54), 96);
    emojiWithShadow(p, QStringLiteral("⏱️"), QPointF(44, 136), 50);
    emojiWithShadow(p, QStringLiteral("🎽"), QPointF(104, 140), 36);
}

void golfGreen(QPainter &p)
{
    skyWithSun(p, QColor(100, 170, 240), QColor(220, 240, 250), QPointF(30, 26), 12);
    hills(p, 100, 14, QColor(90, 160, 80), 151);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 190, 90));
    p.drawEllipse(QPointF(68, 140), 70, 30);
    emojiWithShadow(p, QStringLiteral("⛳"), QPointF(72, 104), 72);
}

void tatamiAndUniform(QPainter &p)
{
    p.fillRect(PhotoRect, QColor(120, 160, 90));
    for (int y = 0; y < PhotoHeight; y += 44)
        for (int x = (y / 44 % 2) * 22; x < PhotoWidth; x += 44) {
            p.setPen(QPen(QColor(90, 120, 70), 1));
            p.setBrush(QColor(200, 190, 120));
            p.drawRect(QRectF(x, y, 44, 22));
        }
    emojiWithShadow(p, QStringLiteral("🥋"), QPointF(68, 88), 100);
}

// ---- mathematics ---------------------------------------------------------------------------

void abacusOnTheBoard(QPainter &p)
{
    chalkboard(p);
    emojiWithShadow(p, QStringLiteral("🧮"), QPointF(68, 96), 100);
}

void radicalSign(QPainter &p)
{
    chalkboard(p);
    p.setPen(QPen(QColor(245, 245, 235, 230), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPolygonF root;
    root << QPointF(16, 94) << QPointF(26, 88) << QPointF(40, 132) << QPointF(58, 42) << QPointF(124, 42);
    p.drawPolyline(root);
    emojiWithShadow(p, QStringLiteral("❓"), QPointF(92, 92), 50);
}

void triangleAngles(QPainter &p)
{
    graphPaper(p);
    const QPointF a(16, 146), b(124, 146), c(48, 40);
    auto wedge = [&p](QPointF at, QPointF to1, QPointF to2, const QColor &colour) {
        const qreal a1 = qRadiansToDegrees(std::atan2(-(to1.y() - at.y()), to1.x() - at.x()));
        qreal a2 = qRadiansToDegrees(std::atan2(-(to2.y() - at.y()), to2.x() - at.x()));
        qreal span = a2 - a1;
        while (span > 180) span -= 360;
        while (span < -180) span += 360;
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPie(QRectF(at - QPointF(24, 24), QSizeF(48, 48)), int(a1 * 16), int(span * 16));
        p.restore();
    };
    wedge(a, b, c, QColor(230, 70, 70, 170));
    wedge(b, c, a, QColor(60, 160, 80, 170));
    wedge(c, a, b, QColor(60, 110, 220, 170));
    p.setPen(QPen(QColor(40, 40, 60), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(QPolygonF({a, b, c}));
    emoji(p, QStringLiteral("📐"), QPointF(108, 38), 38);
}

void circleAndDiameter(QPainter &p)
{
    softBackdrop(p, QColor(255, 250, 235), QColor(240, 210, 160));
    const QPointF c(68, 76);
    const qreal r = 48;
    p.setPen(QPen(QColor(200, 80, 40), 4));
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(c, r, r);
    p.setPen(QPen(QColor(40, 80, 160), 3, Qt::DashLine));
    p.drawLine(c - QPointF(r, 0), c + QPointF(r, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 80, 160));
    p.drawEllipse(c, 3, 3);
    emojiWithShadow(p, QStringLiteral("🥧"), QPointF(104, 148), 42);
}

void beeAndHoney(QPainter &p)
{
    verticalGradient(p, QColor(255, 236, 150), QColor(250, 190, 60));
    emojiWithShadow(p, QStringLiteral("🍯"), QPointF(84, 120), 70);
    emojiWithShadow(p, QStringLiteral("🐝"), QPointF(42, 56), 54, -15);
    emoji(p, QStringLiteral("🌼"), QPointF(24, 150), 30);
    emoji(p, QStringLiteral("🌼"), QPointF(116, 40), 24);
}

void clockAndAmphora(QPainter &p)
{
    verticalGradient(p, QColor(236, 226, 206), QColor(190, 170, 140));
    // Marble columns at the sides.
    for (const qreal x : {6.0, 113.0}) {
        QLinearGradient g(QPointF(x, 0), QPointF(x + 18, 0));
        g.setColorAt(0, QColor(230, 230, 225));
        g.setColorAt(0.5, QColor(255, 255, 252));
        g.setColorAt(1, QColor(200, 198, 190));
        p.fillRect(QRectF(x, 0, 18, PhotoHeight), g);
        p.setPen(QPen(QColor(180, 178, 170), 1));
        for (qreal fx = x + 4; fx < x + 18; fx += 5)
            p.drawLine(QPointF(fx, 0), QPointF(fx, PhotoHeight));
    }
    emojiWithShadow(p, QStringLiteral("🕰️"), QPointF(68, 76), 74);
    emojiWithShadow(p, QStringLiteral("🏺"), QPointF(68, 146), 42);
}

void pieChartQuarter(QPainter &p)
{
    graphPaper(p);
    const QRectF disc(20, 26, 96, 96);
    const QColor slices[] = {{250, 140, 40}, {120, 180, 230}, {150, 200, 140}, {230, 170, 200}};
    p.setPen(QPen(Qt::white, 2));
    for (int i = 0; i < 4; ++i) {
        p.setBrush(slices[i]);
        p.drawPie(disc.translated(i == 0 ? QPointF(4, -4) : QPointF()), (90 - i * 90) * 16 - 90 * 16, 90 * 16);
    }
    emojiWithShadow(p, QStringLiteral("🍕"), QPointF(106, 150), 38);
}

void clockOnTheBoard(QPainter &p)
{
    chalkboard(p);
    emojiWithShadow(p, QStringLiteral("🕒"), QPointF(68, 80), 84);
    emojiWithShadow(p, QStringLiteral("⏳"), QPointF(110, 146), 32);
}

void numberBlocks(QPainter &p)
{
    graphPaper(p);
    const QColor colours[] = {{230, 80, 80}, {250, 180, 50}, {80, 170, 90}, {70, 130, 220}};
    // Rows of counting blocks: 2, 3, 5 and 7 of them.
    const int rows[] = {2, 3, 5, 7};
    for (int r = 0; r < 4; ++r)
        for (int i = 0; i < rows[r]; ++i) {
            p.setPen(QPen(colours[r].darker(140), 1));
            p.setBrush(colours[r]);
            p.drawRect(QRectF(10 + i * 16, 100 + r * 18, 14, 14));
        }
    emojiWithShadow(p, QStringLiteral("❓"), QPointF(68, 46), 60);
}

void shapesOnGraphPaper(QPainter &p)
{
    graphPaper(p);
    p.setPen(QPen(QColor(40, 40, 60), 2.5));
    p.setBrush(QColor(250, 120, 120, 160));
    p.drawPolygon(QPolygonF({QPointF(14, 70), QPointF(38, 24), QPointF(62, 70)}));
    p.setBrush(QColor(120, 170, 250, 160));
    p.drawRect(QRectF(78, 26, 44, 44));
    p.setBrush(QColor(120, 210, 130, 160));
    p.drawEllipse(QPointF(40, 120), 24, 24);
    emojiWithShadow(p, QStringLiteral("❓"), QPointF(100, 120), 50);
}

void doublingSquares(QPainter &p)
{
    graphPaper(p);
    const QColor colours[] = {{230, 80, 80}, {250, 150, 50}, {240, 200, 60}, {90, 180, 90}, {70, 130, 220}};
    // One square, then two, four, eight and sixteen, each row twice the last.
    for (int r = 0; r < 5; ++r) {
        const int count = 1 << r;
        const qreal size = r < 4 ? 12 : 6.5;
        for (int i = 0; i < count; ++i) {
            p.setPen(QPen(colours[r].darker(140), 0.8));
            p.setBrush(colours[r]);
            const qreal x = 6 + (i % 16) * (size + 1.5);
            p.drawRect(QRectF(x, 16 + r * 22, size, size));
        }
    }
    emojiWithShadow(p, QStringLiteral("✏️"), QPointF(100, 150), 44, 30);
}

void tapeMeasure(QPainter &p)
{
    softBackdrop(p, QColor(255, 250, 236), QColor(220, 200, 160));
    // A long yellow tape with tick marks but no numbers.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 210, 40));
    p.drawRect(QRectF(0, 96, PhotoWidth, 18));
    p.setPen(QPen(QColor(40, 40, 40), 1));
    for (int x = 0; x < PhotoWidth; x += 4)
        p.drawLine(QPointF(x, 96), QPointF(x, x % 20 == 0 ? 106 : 101));
    emojiWithShadow(p, QStringLiteral("📏"), QPointF(62, 50), 80, -15);
    emojiWithShadow(p, QStringLiteral("✂️"), QPointF(104, 148), 36);
}

void setSquare(QPainter &p)
{
    graphPaper(p);
    emojiWithShadow(p, QStringLiteral("📐"), QPointF(60, 70), 96);
    // A protractor: a half disc with tick marks.
    p.setPen(QPen(QColor(60, 90, 160), 1.5));
    p.setBrush(QColor(150, 200, 250, 120));
    p.drawChord(QRectF(70, 110, 60, 60), 0, 180 * 16);
    for (int a = 0; a <= 180; a += 15) {
        const qreal r = qDegreesToRadians(qreal(a));
        p.drawLine(QPointF(100 + 30 * std::cos(r), 140 - 30 * std::sin(r)),
                   QPointF(100 + 25 * std::cos(r), 140 - 25 * std::sin(r)));
    }
}

void squareOutline(QPainter &p)
{
    graphPaper(p);
    p.setPen(QPen(QColor(60, 60, 80), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 230, 120, 120));
    p.drawRect(QRectF(28, 36, 80, 80));
    arrow(p, QPointF(28, 128), QPointF(108, 128), QColor(200, 50, 50), 2);
    emojiWithShadow(p, QStringLiteral("✏️"), QPointF(112, 150), 34, 30);
}

void gardenPlot(QPainter &p)
{
    p.fillRect(PhotoRect, QColor(110, 170, 80));
    // A rectangular bed of soil with rows of sprouts, seen from above.
    p.setPen(QPen(QColor(120, 80, 40), 3));
    p.setBrush(QColor(150, 100, 60));
    p.drawRect(QRectF(22, 20, 92, 136));
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 3; ++c)
            emoji(p, QStringLiteral("🌱"), QPointF(40 + c * 28, 38 + r * 26), 18);
}

void cakeSlices(QPainter &p)
{
    softBackdrop(p, QColor(255, 246, 236), QColor(240, 190, 170));
    emojiWithShadow(p, QStringLiteral("🎂"), QPointF(68, 72), 90);
    emojiWithShadow(p, QStringLiteral("🍰"), QPointF(36, 146), 40);
    emojiWithShadow(p, QStringLiteral("🍰"), QPointF(100, 146), 40);
}

// ---- Portuguese language -----------------------------------------------------------------------

// A lined notebook page, the backdrop of the grammar questions.
void notebookPage(QPainter &p)
{
    p.fillRect(PhotoRect, QColor(252, 252, 246));
    p.save();
    p.setPen(QPen(QColor(140, 180, 230, 150), 0.8));
    for (int y = 24; y < PhotoHeight; y += 12)
        p.drawLine(QPointF(0, y), QPointF(PhotoWidth, y));
    p.setPen(QPen(QColor(230, 110, 110, 170), 1));
    p.drawLine(QPointF(18, 0), QPointF(18, PhotoHeight));
    p.restore();
}

void crowdAndGrammar(QPainter &p)
{
    softBackdrop(p, QColor(250, 246, 230), QColor(210, 190, 150));
    emojiWithShadow(p, QStringLiteral("👥"), QPointF(68, 62), 90);
    emojiWithShadow(p, QStringLiteral("📖"), QPointF(68, 142), 56);
}

// A wooden toy block with a letter drawn in straight strokes, from points on a 0..1 square.
void letterBlock(QPainter &p, QPointF topLeft, qreal size, const QColor &colour,
                 std::initializer_list<std::pair<QPointF, QPointF>> strokes)
{
    const qreal depth = size * 0.22;
    fillPolygon(p, QPolygonF({topLeft, topLeft + QPointF(depth, -depth), topLeft + QPointF(size + depth, -depth),
                              topLeft + QPointF(size, 0)}),
                QColor(230, 190, 130));
    fillPolygon(p, QPolygonF({topLeft + QPointF(size, 0), topLeft + QPointF(size + depth, -depth),
                              topLeft + QPointF(size + depth, size - depth), topLeft + QPointF(size, size)}),
                QColor(170, 120, 70));
    p.fillRect(QRectF(topLeft, QSizeF(size, size)), QColor(214, 170, 110));
    p.save();
    p.setPen(QPen(colour, size * 0.13, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal m = size * 0.2, span = size - 2 * m;
    for (const auto &[from, to] : strokes)
        p.drawLine(topLeft + QPointF(m + from.x() * span, m + from.y() * span),
                   topLeft + QPointF(m + to.x() * span, m + to.y() * span));
    p.restore();
}

void letterBlocks(QPainter &p)
{
    softBackdrop(p, QColor(250, 244, 226), QColor(214, 190, 150));
    p.fillRect(QRectF(0, 138, PhotoWidth, 39), QColor(170, 120, 80));
    // K, W and Y, the three letters the alphabet took back in the spelling reform.
    letterBlock(p, QPointF(14, 96), 44, QColor(200, 40, 40),
                {{{0, 0}, {0, 1}}, {{0, 0.55}, {0.85, 0}}, {{0.3, 0.38}, {0.85, 1}}});
    letterBlock(p, QPointF(72, 96), 44, QColor(40, 90, 190),
                {{{0, 0}, {0.25, 1}}, {{0.25, 1}, {0.5, 0.35}}, {{0.5, 0.35}, {0.75, 1}}, {{0.75, 1}, {1, 0}}});
    letterBlock(p, QPointF(42, 46), 44, QColor(40, 140, 60),
                {{{0, 0}, {0.5, 0.5}}, {{1, 0}, {0.5, 0.5}}, {{0.5, 0.5}, {0.5, 1}}});
    emojiWithShadow(p, QStringLiteral("📖"), QPointF(104, 30), 38);
}

void booksAndPencil(QPainter &p)
{
    notebookPage(p);
    emojiWithShadow(p, QStringLiteral("📚"), QPointF(64, 74), 90);
    emojiWithShadow(p, QStringLiteral("✏️"), QPointF(100, 146), 44, 20);
}

void giftInHands(QPainter &p)
{
    softBackdrop(p, QColor(255, 244, 236), QColor(240, 170, 150));
    emojiWithShadow(p, QStringLiteral("🎁"), QPointF(68, 66), 70);
    emojiWithShadow(p, QStringLiteral("🤲"), QPointF(68, 132), 70);
}

void hareAndTortoise(QPainter &p)
{
    skyWithSun(p, QColor(110, 180, 240), QColor(230, 244, 250), QPointF(110, 26), 12);
    hills(p, 100, 12, QColor(110, 180, 80), 201);
    p.fillRect(QRectF(0, 112, PhotoWidth, 65), QColor(110, 180, 80));
    QPolygonF road;
    road << QPointF(56, 100) << QPointF(80, 100) << QPointF(130, 177) << QPointF(6, 177);
    fillPolygon(p, road, QColor(210, 190, 150));
    emojiWithShadow(p, QStringLiteral("🐇"), QPointF(44, 140), 50);
    emojiWithShadow(p, QStringLiteral("🐢"), QPointF(98, 150), 42);
}

void butterflyInTheGarden(QPainter &p)
{
    verticalGradient(p, QColor(170, 220, 250), QColor(240, 250, 240));
    hills(p, 130, 10, QColor(110, 190, 90), 203);
    emojiWithShadow(p, QStringLiteral("🦋"), QPointF(68, 64), 84, -10);
    emojiWithShadow(p, QStringLiteral("🌷"), QPointF(28, 146), 40);
    emojiWithShadow(p, QStringLiteral("🌼"), QPointF(70, 152), 34);
    emojiWithShadow(p, QStringLiteral("🌷"), QPointF(110, 146), 40);
}

void notebookAndSpeaker(QPainter &p)
{
    notebookPage(p);
    emojiWithShadow(p, QStringLiteral("🔊"), QPointF(72, 66), 84);
    emojiWithShadow(p, QStringLiteral("📝"), QPointF(96, 142), 48);
}

void notebookUnderLens(QPainter &p)
{
    notebookPage(p);
    emojiWithShadow(p, QStringLiteral("📓"), QPointF(60, 80), 90, -8);
    emojiWithShadow(p, QStringLiteral("🔍"), QPointF(104, 120), 50);
    emojiWithShadow(p, QStringLiteral("🧽"), QPointF(34, 154), 30);
}

void girlAndApple(QPainter &p)
{
    softBackdrop(p, QColor(255, 248, 230), QColor(250, 200, 150));
    emojiWithShadow(p, QStringLiteral("👧"), QPointF(60, 74), 90);
    emojiWithShadow(p, QStringLiteral("🍎"), QPointF(106, 142), 44);
}

void schoolOfFish(QPainter &p)
{
    verticalGradient(p, QColor(40, 150, 210), QColor(6, 40, 100));
    QRandomGenerator rng(205);
    for (int i = 0; i < 16; ++i)
        emoji(p, QStringLiteral("🐟"), QPointF(10 + rng.bounded(117.0), 20 + rng.bounded(140.0)), 18 + rng.bounded(10.0));
    emojiWithShadow(p, QStringLiteral("🐠"), QPointF(70, 96), 40);
}

void clapperAndCamera(QPainter &p)
{
    verticalGradient(p, QColor(30, 30, 40), QColor(70, 50, 60));
    radialGlow(p, QPointF(68, 90), 70, QColor(255, 240, 200, 80));
    emojiWithShadow(p, QStringLiteral("🎬"), QPointF(54, 62), 72, -8);
    emojiWithShadow(p, QStringLiteral("🎥"), QPointF(92, 134), 60);
}

void smallAndBigHouse(QPainter &p)
{
    verticalGradient(p, QColor(120, 190, 245), QColor(230, 244, 252));
    cloud(p, QPointF(40, 26), 40);
    p.fillRect(QRectF(0, 132, PhotoWidth, 45), QColor(110, 180, 80));
    emojiWithShadow(p, QStringLiteral("🏠"), QPointF(28, 128), 36);
    emojiWithShadow(p, QStringLiteral("🏡"), QPointF(86, 98), 100);
}

void emptyPlate(QPainter &p)
{
    p.fillRect(PhotoRect, QColor(255, 250, 240));
    p.setPen(Qt::NoPen);
    for (int y = 0; y < PhotoHeight; y += 14)
        for (int x = (y / 14 % 2) * 14; x < PhotoWidth; x += 28)
            p.fillRect(QRectF(x, y, 14, 14), QColor(90, 130, 220, 90));
    emojiWithShadow(p, QStringLiteral("🍽️"), QPointF(68, 110), 96);
    emojiWithShadow(p, QStringLiteral("😩"), QPointF(68, 36), 46);
}

void bellAndBang(QPainter &p)
{
    softBackdrop(p, QColor(255, 248, 220), QColor(250, 190, 90));
    emojiWithShadow(p, QStringLiteral("💥"), QPointF(84, 54), 70);
    emojiWithShadow(p, QStringLiteral("🔔"), QPointF(48, 128), 64, -15);
}

void runnerAndDust(QPainter &p)
{
    verticalGradient(p, QColor(120, 190, 245), QColor(240, 236, 220));
    p.fillRect(QRectF(0, 130, PhotoWidth, 47), QColor(200, 160, 110));
    emojiWithShadow(p, QStringLiteral("🏃"), QPointF(84, 96), 80);
    emojiWithShadow(p, QStringLiteral("💨"), QPointF(28, 118), 44);
}

void columnAndScroll(QPainter &p)
{
    parchment(p);
    QLinearGradient g(QPointF(20, 0), QPointF(50, 0));
    g.setColorAt(0, QColor(220, 220, 215));
    g.setColorAt(0.5, QColor(255, 255, 250));
    g.setColorAt(1, QColor(190, 188, 180));
    p.fillRect(QRectF(20, 24, 30, 140), g);
    p.fillRect(QRectF(14, 16, 42, 10), QColor(235, 232, 225));
    p.fillRect(QRectF(14, 160, 42, 10), QColor(235, 232, 225));
    p.setPen(QPen(QColor(170, 168, 160), 1));
    for (qreal x = 26; x < 50; x += 6)
        p.drawLine(QPointF(x, 26), QPointF(x, 160));
    emojiWithShadow(p, QStringLiteral("📜"), QPointF(96, 100), 64, 10);
}

void footprintsInSand(QPainter &p)
{
    verticalGradient(p, QColor(110, 190, 240), QColor(220, 240, 252), QRectF(0, 0, PhotoWidth, 50));
    sea(p, 50, QColor(40, 180, 210), QColor(20, 130, 180), 2);
    p.fillRect(QRectF(0, 82, PhotoWidth, 95), QColor(244, 224, 176));
    emojiWithShadow(p, QStringLiteral("👣"), QPointF(44, 150), 40, -15);
    emojiWithShadow(p, QStringLiteral("👣"), QPointF(76, 116), 34, -15);
    emojiWithShadow(p, QStringLiteral("🐚"), QPointF(112, 156), 26);
}

// ---- Brazilian music ---------------------------------------------------------------------------

void carnivalConfetti(QPainter &p)
{
    verticalGradient(p, QColor(90, 30, 120), QColor(30, 10, 60));
    QRandomGenerator rng(211);
    const QColor confetti[] = {{250, 210, 0}, {0, 200, 120}, {250, 80, 140}, {80, 170, 255}};
    for (int i = 0; i < 60; ++i) {
        p.save();
        p.translate(rng.bounded(137.0), rng.bounded(177.0));
        p.rotate(rng.bounded(180.0));
        p.fillRect(QRectF(-2, -1, 4, 2.5), confetti[i % 4]);
        p.restore();
    }
    emojiWithShadow(p, QStringLiteral("🎉"), QPointF(50, 64), 72);
    emojiWithShadow(p, QStringLiteral("🎶"), QPointF(96, 132), 54);
}

void watercolourAndNotes(QPainter &p)
{
    p.fillRect(PhotoRect, QColor(252, 250, 244));
    // Soft blots of green, yellow and blue paint.
    const struct { QPointF at; qreal r; QColor colour; } blots[] = {
        {{40, 50}, 34, {60, 170, 90, 90}}, {{96, 70}, 30, {250, 210, 60, 100}}, {{60, 110}, 28, {60, 110, 210, 80}}};
    for (const auto &b : blots)
        radialGlow(p, b.at, b.r, b.colour);
    emojiWithShadow(p, QStringLiteral("🖌️"), QPointF(96, 140), 50, 20);
    emojiWithShadow(p, QStringLiteral("🎵"), QPointF(30, 146), 34);
}

void heartAndNotes(QPainter &p)
{
    softBackdrop(p, QColor(255, 236, 240), QColor(240, 150, 170));
    emojiWithShadow(p, QStringLiteral("💖"), QPointF(62, 74), 84);
    emojiWithShadow(p, QStringLiteral("🎶"), QPointF(104, 138), 46);
}

void crownOverTheSertao(QPainter &p)
{
    skyWithSun(p, QColor(250, 170, 80), QColor(255, 236, 190), QPointF(110, 30), 14);
    p.fillRect(QRectF(0, 140, PhotoWidth, 37), QColor(200, 150, 90));
    emojiWithShadow(p, QStringLiteral("🌵"), QPointF(26, 112), 60);
    emojiWithShadow(p, QStringLiteral("👑"), QPointF(76, 60), 58, -12);
    emojiWithShadow(p, QStringLiteral("🎶"), QPointF(106, 112), 36);
    emojiWithShadow(p, QStringLiteral("🤠"), QPointF(86, 152), 34);
}

void drumTriangleDance(QPainter &p)
{
    verticalGradient(p, QColor(250, 210, 120), QColor(230, 140, 70));
    // A triangle hanging from its string.
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.drawLine(QPointF(104, 10), QPointF(104, 28));
    p.setPen(QPen(QColor(200, 200, 210), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(100, 30), QPointF(84, 62), QPointF(124, 62), QPointF(108, 30)}));
    emojiWithShadow(p, QStringLiteral("🥁"), QPointF(40, 48), 54);
    emojiWithShadow(p, QStringLiteral("💃"), QPointF(48, 130), 64);
    emojiWithShadow(p, QStringLiteral("🕺"), QPointF(100, 130), 62);
}

void pianoAndConfetti(QPainter &p)
{
    verticalGradient(p, QColor(40, 30, 70), QColor(110, 50, 90));
    QRandomGenerator rng(213);
    const QColor confetti[] = {{250, 210, 0}, {0, 200, 120}, {250, 80, 140}, {80, 170, 255}};
    for (int i = 0; i < 40; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(confetti[i % 4]);
        p.drawEllipse(QPointF(rng.bounded(137.0), rng.bounded(110.0)), 1.8, 1.8);
    }
    emojiWithShadow(p, QStringLiteral("🎹"), QPointF(68, 124), 96);
    emojiWithShadow(p, QStringLiteral("🎊"), QPointF(96, 40), 44);
}

void fruitAndMicrophone(QPainter &p)
{
    softBackdrop(p, QColor(255, 244, 210), QColor(240, 150, 80));
    emojiWithShadow(p, QStringLiteral("🍍"), QPointF(68, 38), 50);
    emojiWithShadow(p, QStringLiteral("🍌"), QPointF(32, 74), 44, -20);
    emojiWithShadow(p, QStringLiteral("🍇"), QPointF(106, 76), 40);
    emojiWithShadow(p, QStringLiteral("🎤"), QPointF(68, 134), 60, 15);
}

void guitarByNightSea(QPainter &p)
{
    verticalGradient(p, QColor(10, 20, 60), QColor(40, 60, 110), QRectF(0, 0, PhotoWidth, 90));
    starField(p, 30, 215, QRectF(0, 0, PhotoWidth, 80));
    emoji(p, QStringLiteral("🌙"), QPointF(108, 26), 28);
    sea(p, 90, QColor(30, 60, 110), QColor(10, 20, 50), 3);
    p.fillRect(QRectF(0, 136, PhotoWidth, 41), QColor(190, 170, 130));
    acousticGuitar(p, QPointF(60, 122), 96, 30);
}

void colourfulUmbrella(QPainter &p)
{
    verticalGradient(p, QColor(100, 180, 240), QColor(230, 244, 252));
    // A row of painted houses behind.
    const QColor walls[] = {{250, 200, 80}, {120, 190, 230}, {240, 140, 170}, {140, 210, 140}};
    for (int i = 0; i < 4; ++i)
        p.fillRect(QRectF(i * 34.25, 96, 34.25, 60), walls[i]);
    p.fillRect(QRectF(0, 156, PhotoWidth, 21), QColor(160, 150, 140));
    // A small umbrella with coloured panels.
    const QPointF c(68, 64);
    const QColor panels[] = {{230, 40, 40}, {250, 200, 0}, {40, 160, 80}, {40, 110, 220}, {250, 130, 30}, {160, 60, 200}};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        p.setBrush(panels[i]);
        p.drawPie(QRectF(c - QPointF(40, 40), QSizeF(80, 80)), i * 30 * 16, 30 * 16);
    }
    p.setPen(QPen(QColor(80, 60, 40), 2.5));
    p.drawLine(c, c + QPointF(0, 60));
    emojiWithShadow(p, QStringLiteral("🎶"), QPointF(112, 140), 30);
}

void celloAndScore(QPainter &p)
{
    parchment(p);
    emojiWithShadow(p, QStringLiteral("🎻"), QPointF(56, 80), 110, -10);
    emojiWithShadow(p, QStringLiteral("🎼"), QPointF(108, 146), 40);
}

void operaStage(QPainter &p)
{
    verticalGradient(p, QColor(30, 10, 20), QColor(80, 20, 30));
    for (int i = 0; i < 6; ++i) {
        QLinearGradient g(QPointF(i * 5, 0), QPointF(i * 5 + 5, 0));
        g.setColorAt(0, QColor(170, 20, 40));
        g.setColorAt(1, QColor(100, 10, 20));
        p.fillRect(QRectF(i * 5, 0, 5, PhotoHeight), g);
        p.fillRect(QRectF(PhotoWidth - (i + 1) * 5, 0, 5, PhotoHeight), g);
    }
    p.fillRect(QRectF(0, 0, PhotoWidth, 16), QColor(150, 20, 40));
    QPolygonF beam;
    beam << QPointF(60, 0) << QPointF(78, 0) << QPointF(110, 150) << QPointF(28, 150);
    fillPolygon(p, beam, QColor(255, 240, 200, 50));
    p.fillRect(QRectF(0, 150, PhotoWidth, 27), QColor(110, 70, 40));
    emojiWithShadow(p, QStringLiteral("🎼"), QPointF(68, 96), 64);
}

void flagAndTrumpet(QPainter &p)
{
    verticalGradient(p, QColor(120, 186, 240), QColor(220, 238, 250));
    brazilFlag(p, QRectF(14, 20, 109, 76));
    emojiWithShadow(p, QStringLiteral("🎺"), QPointF(68, 136), 72, -10);
}

void hatAndNotebook(QPainter &p)
{
    verticalGradient(p, QColor(60, 40, 30), QColor(120, 80, 50));
    p.fillRect(QRectF(0, 120, PhotoWidth, 57), QColor(150, 100, 60));
    emojiWithShadow(p, QStringLiteral("🎩"), QPointF(44, 70), 60);
    emojiWithShadow(p, QStringLiteral("📓"), QPointF(94, 130), 60, 12);
    emojiWithShadow(p, QStringLiteral("🎵"), QPointF(106, 40), 34);
}

void trainAtNight(QPainter &p)
{
    verticalGradient(p, QColor(10, 14, 50), QColor(50, 60, 110));
    starField(p, 40, 217, QRectF(0, 0, PhotoWidth, 90));
    p.fillRect(QRectF(0, 140, PhotoWidth, 37), QColor(40, 40, 50));
    p.setPen(QPen(QColor(150, 150, 160), 2));
    p.drawLine(QPointF(0, 146), QPointF(PhotoWidth, 146));
    emojiWithShadow(p, QStringLiteral("🚂"), QPointF(66, 118), 80);
    emojiWithShadow(p, QStringLiteral("🕚"), QPointF(108, 36), 40);
}

void rosesInGreenAndPink(QPainter &p)
{
    for (int i = 0; i < 9; ++i)
        p.fillRect(QRectF(0, i * 20, PhotoWidth, 20), i % 2 ? QColor(0, 140, 80) : QColor(240, 130, 170));
    emojiWithShadow(p, QStringLiteral("🌹"), QPointF(50, 80), 80, -10);
    emojiWithShadow(p, QStringLiteral("🌹"), QPointF(100, 128), 56, 15);
}

void sambaCircle(QPainter &p)
{
    softBackdrop(p, QColor(255, 236, 200), QColor(230, 150, 80));
    emojiWithShadow(p, QStringLiteral("🥁"), QPointF(40, 128), 54);
    emojiWithShadow(p, QStringLiteral("🎶"), QPointF(48, 46), 50);
    emojiWithShadow(p, QStringLiteral("❓"), QPointF(102, 96), 60);
}

void microphoneAndRecord(QPainter &p)
{
    verticalGradient(p, QColor(20, 20, 40), QColor(60, 30, 70));
    radialGlow(p, QPointF(68, 60), 60, QColor(255, 220, 160, 110));
    emojiWithShadow(p, QStringLiteral("🎤"), QPointF(60, 70), 80, -15);
    emojiWithShadow(p, QStringLiteral("💿"), QPointF(104, 142), 48);
}

void capoeiraCircle(QPainter &p)
{
    skyWithSun(p, QColor(100, 180, 240), QColor(240, 240, 220), QPointF(112, 24), 12);
    p.fillRect(QRectF(0, 110, PhotoWidth, 67), QColor(220, 190, 140));
    p.setPen(QPen(QColor(170, 130, 90), 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(68, 140), 62, 24);
    emojiWithShadow(p, QStringLiteral("🤸"), QPointF(44, 112), 56);
    emojiWithShadow(p, QStringLiteral("🤸‍♀️"), QPointF(96, 118), 50, 20);
}

// ---- nature and animals ------------------------------------------------------------------------

void branchWithFruit(QPainter &p)
{
    verticalGradient(p, QColor(160, 220, 180), QColor(40, 110, 60));
    p.setPen(QPen(QColor(100, 70, 40), 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 110), QPointF(137, 80));
    emojiWithShadow(p, QStringLiteral("🍃"), QPointF(30, 90), 36);
    emojiWithShadow(p, QStringLiteral("🍒"), QPointF(70, 112), 36);
    emojiWithShadow(p, QStringLiteral("🍃"), QPointF(110, 68), 34, 30);
    emojiWithShadow(p, QStringLiteral("❓"), QPointF(100, 150), 38);
}

void pawPrints(QPainter &p)
{
    verticalGradient(p, QColor(150, 120, 80), QColor(100, 80, 50));
    emoji(p, QStringLiteral("🌿"), QPointF(20, 20), 40);
    emoji(p, QStringLiteral("🌿"), QPointF(120, 160), 40, 180);
    emojiWithShadow(p, QStringLiteral("🐾"), QPointF(50, 120), 50, -20);
    emojiWithShadow(p, QStringLiteral("🐾"), QPointF(86, 60), 50, -20);
}

void gardenFlowers(QPainter &p)
{
    verticalGradient(p, QColor(150, 210, 250), QColor(230, 246, 240));
    hills(p, 110, 10, QColor(110, 190, 90), 221);
    p.fillRect(QRectF(0, 116, PhotoWidth, 61), QColor(110, 190, 90));
    emojiWithShadow(p, QStringLiteral("🌻"), QPointF(36, 96), 54);
    emojiWithShadow(p, QStringLiteral("🌷"), QPointF(96, 120), 44);
    emojiWithShadow(p, QStringLiteral("🌼"), QPointF(58, 152), 36);
    emojiWithShadow(p, QStringLiteral("🌸"), QPointF(112, 50), 30);
}

void giraffeAtTheTree(QPainter &p)
{
    skyWithSun(p, QColor(120, 180, 235), QColor(240, 226, 180), QPointF(24, 26), 12);
    p.fillRect(QRectF(0, 140, PhotoWidth, 37), QColor(200, 180, 110));
    hills(p, 144, 6, QColor(180, 160, 96), 181);
    // A flat-topped savanna tree, its crown high above the ground.
    p.setPen(QPen(QColor(100, 70, 40), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(30, 160), QPointF(30, 62));
    p.drawLine(QPointF(30, 92), QPointF(48, 66));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 130, 60));
    p.drawEllipse(QRectF(-4, 42, 72, 26));
    p.setBrush(QColor(80, 150, 70));
    p.drawEllipse(QRectF(8, 38, 48, 16));
    emojiWithShadow(p, QStringLiteral("🦒"), QPointF(88, 104), 96);
}

void caterpillarOnLeaf(QPainter &p)
{
    softBackdrop(p, QColor(236, 252, 220), QColor(130, 200, 110));
    emojiWithShadow(p, QStringLiteral("🍃"), QPointF(68, 100), 120, -20);
    emojiWithShadow(p, QStringLiteral("🐛"), QPointF(64, 80), 54);
}

void caveAtNight(QPainter &p)
{
    verticalGradient(p, QColor(10, 14, 46), QColor(50, 50, 100));
    starField(p, 40, 223, QRectF(0, 0, PhotoWidth, 70));
    emoji(p, QStringLiteral("🌕"), QPointF(108, 30), 30);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 60, 60));
    p.drawChord(QRectF(-20, 70, 177, 180), 0, 180 * 16);
    p.setBrush(QColor(10, 8, 10));
    p.drawChord(QRectF(34, 110, 70, 110), 0, 180 * 16);
    p.fillRect(QRectF(0, 164, PhotoWidth, 13), QColor(50, 44, 40));
}

void monkeyInTheTrees(QPainter &p)
{
    verticalGradient(p, QColor(150, 210, 170), QColor(30, 90, 50));
    for (int i = 0; i < 5; ++i)
        emoji(p, QStringLiteral("🌳"), QPointF(14 + i * 28, 150 - (i % 2) * 12), 50);
    p.setPen(QPen(QColor(100, 70, 40), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 60), QPointF(137, 46));
    emojiWithShadow(p, QStringLiteral("🐒"), QPointF(70, 78), 64);
}

void pinkRipples(QPainter &p)
{
    verticalGradient(p, QColor(160, 200, 220), QColor(220, 236, 230), QRectF(0, 0, PhotoWidth, 60));
    hills(p, 62, 12, QColor(40, 100, 50), 225);
    sea(p, 62, QColor(90, 70, 50), QColor(40, 30, 24), 5);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        p.setPen(QPen(QColor(250, 150, 190, 200 - i * 40), 2));
        p.drawEllipse(QPointF(70, 120), 14 + i * 12, 5 + i * 4);
    }
    emojiWithShadow(p, QStringLiteral("💗"), QPointF(110, 150), 26);
}

void mouseAndRuler(QPainter &p)
{
    graphPaper(p);
    emojiWithShadow(p, QStringLiteral("🐭"), QPointF(60, 74), 70);
    emojiWithShadow(p, QStringLiteral("📏"), QPointF(68, 146), 100, 0);
}

void pondWithLilies(QPainter &p)
{
    verticalGradient(p, QColor(60, 120, 90), QColor(20, 60, 50));
    p.setPen(Qt::NoPen);
    const struct { qreal x, y, r; } pads[] = {{36, 44, 18}, {100, 70, 22}, {50, 120, 20}, {108, 146, 16}};
    for (const auto &pad : pads) {
        p.setBrush(QColor(80, 170, 80));
        p.drawPie(QRectF(pad.x - pad.r, pad.y - pad.r * 0.7, pad.r * 2, pad.r * 1.4), 20 * 16, 330 * 16);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.drawEllipse(QPointF(80, 100), 20, 7);
    emojiWithShadow(p, QStringLiteral("🪷"), QPointF(100, 64), 30);
    emojiWithShadow(p, QStringLiteral("💧"), QPointF(24, 150), 24);
}

void pottedPlant(QPainter &p)
{
    softBackdrop(p, QColor(246, 252, 236), QColor(170, 210, 150));
    p.fillRect(QRectF(0, 150, PhotoWidth, 27), QColor(190, 160, 120));
    emojiWithShadow(p, QStringLiteral("🪴"), QPointF(62, 100), 100);
    emojiWithShadow(p, QStringLiteral("💧"), QPointF(112, 40), 26);
    emojiWithShadow(p, QStringLiteral("💧"), QPointF(120, 74), 18);
}

void coldMistyHills(QPainter &p)
{
    verticalGradient(p, QColor(180, 196, 210), QColor(230, 236, 240));
    hills(p, 100, 16, QColor(70, 110, 90), 227);
    hills(p, 126, 12, QColor(50, 90, 70), 229);
    p.fillRect(QRectF(0, 92, PhotoWidth, 30), QColor(255, 255, 255, 110));
    hills(p, 156, 10, QColor(40, 70, 50), 231);
    emojiWithShadow(p, QStringLiteral("❄️"), QPointF(104, 36), 40);
}

void octopusOnTheSeabed(QPainter &p)
{
    verticalGradient(p, QColor(40, 140, 200), QColor(10, 40, 100));
    // Sand, weeds swaying from it, and bubbles rising.
    QPainterPath sand(QPointF(0, 177));
    sand.lineTo(0, 150);
    sand.cubicTo(40, 140, 90, 158, 137, 146);
    sand.lineTo(137, 177);
    p.fillPath(sand, QColor(214, 190, 140));
    p.setBrush(Qt::NoBrush);
    for (const qreal x : {14.0, 22.0, 118.0, 126.0}) {
        p.setPen(QPen(QColor(40, 150, 90), 3, Qt::SolidLine, Qt::RoundCap));
        QPainterPath weed(QPointF(x, 152));
        weed.cubicTo(x - 8, 130, x + 8, 116, x - 2, 96 + int(x) % 3 * 6);
        p.drawPath(weed);
    }
    p.setPen(QPen(QColor(220, 240, 255, 200), 1));
    for (const QPointF b : {QPointF(104, 40), QPointF(110, 26), QPointF(100, 14), QPointF(36, 30), QPointF(30, 16)})
        p.drawEllipse(b, 3, 3);
    emojiWithShadow(p, QStringLiteral("🐙"), QPointF(68, 96), 96);
    emoji(p, QStringLiteral("🐚"), QPointF(112, 160), 18);
}

void fishingOnTheRiver(QPainter &p)
{
    verticalGradient(p, QColor(150, 200, 235), QColor(235, 240, 230), QRectF(0, 0, PhotoWidth, 80));
    hills(p, 82, 14, QColor(30, 100, 50), 233);
    sea(p, 84, QColor(120, 110, 70), QColor(70, 60, 40), 4);
    emojiWithShadow(p, QStringLiteral("🎣"), QPointF(60, 110), 90);
}

void eggsByTheRiver(QPainter &p)
{
    verticalGradient(p, QColor(140, 190, 230), QColor(230, 236, 220), QRectF(0, 0, PhotoWidth, 80));
    hills(p, 84, 10, QColor(120, 150, 80), 235);
    sea(p, 84, QColor(70, 130, 150), QColor(40, 90, 110), 3);
    p.fillRect(QRectF(0, 124, PhotoWidth, 53), QColor(150, 120, 80));
    emojiWithShadow(p, QStringLiteral("🪺"), QPointF(68, 132), 80);
}

void savannaAndStopwatch(QPainter &p)
{
    skyWithSun(p, QColor(250, 190, 100), QColor(255, 236, 190), QPointF(30, 34), 16);
    p.fillRect(QRectF(0, 110, PhotoWidth, 67), QColor(210, 180, 100));
    emojiWithShadow(p, QStringLiteral("🌳"), QPointF(106, 92), 44);
    emojiWithShadow(p, QStringLiteral("💨"), QPointF(44, 130), 48);
    emojiWithShadow(p, QStringLiteral("⏱️"), QPointF(96, 146), 40);
}

void hibiscusFlowers(QPainter &p)
{
    softBackdrop(p, QColor(240, 255, 236), QColor(120, 190, 110));
    emojiWithShadow(p, QStringLiteral("🌺"), QPointF(52, 60), 76);
    emojiWithShadow(p, QStringLiteral("🌺"), QPointF(100, 126), 56, 20);
    emojiWithShadow(p, QStringLiteral("🌿"), QPointF(30, 140), 40);
}

// ---- technology --------------------------------------------------------------------------------

void floppyAndScreen(QPainter &p)
{
    softBackdrop(p, QColor(236, 244, 255), QColor(140, 170, 220));
    emojiWithShadow(p, QStringLiteral("🖥️"), QPointF(68, 64), 90);
    emojiWithShadow(p, QStringLiteral("💾"), QPointF(100, 142), 44, 10);
}

void globeAndLinks(QPainter &p)
{
    softBackdrop(p, QColor(236, 246, 255), QColor(110, 160, 220));
    emojiWithShadow(p, QStringLiteral("🌐"), QPointF(68, 70), 96);
    emojiWithShadow(p, QStringLiteral("🔗"), QPointF(100, 146), 40);
}

void earlyFlight(QPainter &p)
{
    verticalGradient(p, QColor(120, 180, 240), QColor(240, 236, 220));
    cloud(p, QPointF(34, 40), 44);
    cloud(p, QPointF(112, 96), 40);
    // Grey roofs of a city below.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 7; ++i) {
        const qreal x = i * 20;
        p.setBrush(QColor(120, 120, 140));
        p.drawRect(QRectF(x, 140 - (i % 3) * 8, 18, 40));
        p.setBrush(QColor(90, 90, 110));
        p.drawPolygon(QPolygonF({QPointF(x - 1, 140 - (i % 3) * 8), QPointF(x + 9, 130 - (i % 3) * 8), QPointF(x + 19, 140 - (i % 3) * 8)}));
    }
    emojiWithShadow(p, QStringLiteral("🛩️"), QPointF(70, 72), 70, -10);
}

void laptopAndBrain(QPainter &p)
{
    softBackdrop(p, QColor(246, 240, 255), QColor(170, 150, 220));
    emojiWithShadow(p, QStringLiteral("💻"), QPointF(68, 112), 100);
    emojiWithShadow(p, QStringLiteral("🧠"), QPointF(68, 40), 50);
}

void inboxAndDisk(QPainter &p)
{
    softBackdrop(p, QColor(250, 248, 236), QColor(200, 190, 150));
    emojiWithShadow(p, QStringLiteral("📥"), QPointF(60, 72), 90);
    emojiWithShadow(p, QStringLiteral("💾"), QPointF(104, 144), 40);
}

void robotAndSwitch(QPainter &p)
{
    verticalGradient(p, QColor(30, 40, 70), QColor(60, 80, 120));
    emojiWithShadow(p, QStringLiteral("🤖"), QPointF(60, 92), 90);
    emojiWithShadow(p, QStringLiteral("💡"), QPointF(110, 36), 40);
}

void booksAndNewspaper(QPainter &p)
{
    parchment(p);
    emojiWithShadow(p, QStringLiteral("📰"), QPointF(64, 62), 84, -8);
    emojiWithShadow(p, QStringLiteral("📚"), QPointF(88, 136), 60);
}

void glowingBulb(QPainter &p)
{
    verticalGradient(p, QColor(16, 16, 30), QColor(40, 36, 50));
    radialGlow(p, QPointF(68, 80), 70, QColor(255, 230, 140, 170));
    emojiWithShadow(p, QStringLiteral("💡"), QPointF(68, 82), 90);
}

void globeAndPages(QPainter &p)
{
    softBackdrop(p, QColor(240, 246, 255), QColor(160, 190, 230));
    // Pages linked to each other around the globe, and the mouse pointer about to open one.
    const QPointF pages[] = {{28, 30}, {110, 34}, {24, 140}, {108, 144}};
    p.setPen(QPen(QColor(60, 100, 170), 1.5, Qt::DashLine));
    const QPointF centre(68, 88);
    for (const QPointF at : pages) {
        const QPointF towards = at - centre;
        p.drawLine(centre + towards * (34 / std::hypot(towards.x(), towards.y())), at);
    }
    emojiWithShadow(p, QStringLiteral("🌐"), centre, 66);
    for (const QPointF at : pages)
        emojiWithShadow(p, QStringLiteral("📄"), at, 30);
    const QPolygonF pointer({QPointF(84, 108), QPointF(84, 134), QPointF(90, 128), QPointF(95, 139),
                             QPointF(99, 137), QPointF(94, 126), QPointF(102, 126)});
    fillPolygon(p, pointer, Qt::white, QPen(Qt::black, 1.4));
}

void carOnTheMap(QPainter &p)
{
    softBackdrop(p, QColor(240, 250, 240), QColor(150, 200, 150));
    emojiWithShadow(p, QStringLiteral("🗺️"), QPointF(68, 70), 100);
    emojiWithShadow(p, QStringLiteral("📍"), QPointF(80, 56), 34);
    emojiWithShadow(p, QStringLiteral("🚗"), QPointF(68, 146), 52);
}

void satelliteOverEarth(QPainter &p)
{
    space(p, 241);
    p.setPen(Qt::NoPen);
    planet(p, QPointF(68, 210), 110, QColor(120, 180, 250), QColor(20, 60, 150));
    p.setPen(QPen(QColor(255, 255, 255, 120), 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(68, 200), 130, 150);
    emojiWithShadow(p, QStringLiteral("🛰️"), QPointF(68, 54), 60);
}

void gearsAndCandle(QPainter &p)
{
    verticalGradient(p, QColor(40, 28, 20), QColor(80, 56, 34));
    radialGlow(p, QPointF(34, 110), 60, QColor(255, 190, 90, 110));
    emojiWithShadow(p, QStringLiteral("⚙️"), QPointF(92, 50), 64);
    emojiWithShadow(p, QStringLiteral("⚙️"), QPointF(54, 40), 36, 20);
    emojiWithShadow(p, QStringLiteral("🕯️"), QPointF(32, 124), 54);
    emojiWithShadow(p, QStringLiteral("📜"), QPointF(96, 136), 50, 10);
}

void unpluggedLaptop(QPainter &p)
{
    verticalGradient(p, QColor(60, 60, 70), QColor(30, 30, 36));
    emojiWithShadow(p, QStringLiteral("💻"), QPointF(68, 70), 96);
    p.fillRect(QRectF(30, 40, 76, 46), QColor(10, 10, 14, 200));
    emojiWithShadow(p, QStringLiteral("🔌"), QPointF(96, 144), 44, 30);
}

void damAndPylon(QPainter &p)
{
    verticalGradient(p, QColor(120, 180, 240), QColor(230, 240, 250), QRectF(0, 0, PhotoWidth, 70));
    hills(p, 70, 14, QColor(70, 130, 70), 243);
    // The concrete wall and the water rushing from its gates.
    p.fillRect(QRectF(0, 62, PhotoWidth, 8), QColor(60, 120, 170));
    QPolygonF wall;
    wall << QPointF(0, 68) << QPointF(137, 68) << QPointF(137, 130) << QPointF(0, 130);
    fillPolygon(p, wall, QColor(190, 190, 185));
    for (const qreal x : {30.0, 68.0, 106.0}) {
        QLinearGradient g(QPointF(0, 84), QPointF(0, 150));
        g.setColorAt(0, QColor(250, 252, 255));
        g.setColorAt(1, QColor(170, 210, 235));
        p.fillRect(QRectF(x - 8, 84, 16, 66), g);
    }
    sea(p, 146, QColor(60, 140, 190), QColor(30, 90, 140), 2);
    emojiWithShadow(p, QStringLiteral("⚡"), QPointF(114, 30), 32);
}

void sandAndLens(QPainter &p)
{
    verticalGradient(p, QColor(250, 230, 180), QColor(220, 190, 130));
    QRandomGenerator rng(245);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 300; ++i) {
        p.setBrush(QColor(180 + rng.bounded(60), 150 + rng.bounded(50), 90 + rng.bounded(50)));
        p.drawEllipse(QPointF(rng.bounded(137.0), rng.bounded(177.0)), 0.9, 0.9);
    }
    emojiWithShadow(p, QStringLiteral("🔍"), QPointF(68, 80), 96);
    emojiWithShadow(p, QStringLiteral("🐚"), QPointF(30, 150), 30);
}

void frameAndFolder(QPainter &p)
{
    softBackdrop(p, QColor(250, 246, 236), QColor(200, 180, 150));
    emojiWithShadow(p, QStringLiteral("🖼️"), QPointF(62, 64), 86);
    emojiWithShadow(p, QStringLiteral("📁"), QPointF(98, 140), 54);
}

void stormOverHouse(QPainter &p)
{
    verticalGradient(p, QColor(40, 40, 60), QColor(100, 100, 120));
    emojiWithShadow(p, QStringLiteral("⛈️"), QPointF(68, 46), 84);
    p.fillRect(QRectF(0, 150, PhotoWidth, 27), QColor(60, 90, 60));
    emojiWithShadow(p, QStringLiteral("🏠"), QPointF(68, 136), 56);
}

} // namespace

const std::vector<Photo> &photos()
{
    static const std::vector<Photo> all = {
        // Geografia do Brasil
        {1, "p001.jpg", "Silhueta do Congresso Nacional ao pôr do sol", congressAtSunset},
        {2, "p002.jpg", "Mapa do Brasil sobre o mar, com uma régua", brazilMapWithRuler},
        {3, "p003.jpg", "Serra verde com um pico alto e um escalador", highlandPeak},
        {4, "p004.bmp", "Cortina de cachoeiras com arco-íris na névoa", waterfall},
        {5, "p005.jpg", "Globo com as Américas, folhas e lupa", globeWithLeaves},
        {6, "p006.jpg", "Bandeira do Brasil tremulando e uma lupa", flagOnThePole},
        {7, "p007.jpg", "Dois morros no mar azul e um golfinho", islandPeaks},
        {8, "p008.jpg", "Mapa da América do Sul com o Brasil destacado", southAmericaWithBrazil},
        {9, "p009.jpg", "Rio de água escura e rio de água barrenta lado a lado, com uma canoa", meetingOfWaters},
        {10, "p010.jpg", "Cerrado ao sol, com um rio e uma bússola", cerradoRiver},
        {11, "p011.jpg", "Mapa do Brasil com uma rosa dos ventos", brazilMapWithCompass},
        {12, "p012.jpg", "Rio largo ao entardecer e um alfinete de mapa", riverAtDusk},
        {13, "p013.jpg", "Prédios sob o sol a pino e uma linha tracejada no céu", cityUnderHighSun},
        {14, "p014.jpg", "Morros de topo plano, uma cascata e um diamante", tableMountains},
        {15, "p015.jpg", "Lençol branco estendido no varal e uma lupa", sheetInTheWind},
        {16, "p016.bmp", "Mapa do Brasil e um ponto de interrogação", brazilMapWithQuestion},
        {17, "p017.jpg", "Rio no sertão, com barco, cacto e sol forte", riverInTheSertao},
        // Geografia do mundo
        {18, "p018.jpg", "Baleia no mar aberto", whaleInTheOpenSea},
        {19, "p019.jpg", "Cordilheira nevada acima das nuvens", snowyRange},
        {20, "p020.jpg", "Lupa sobre um mapa antigo, ampliando um território minúsculo", tinyCountryUnderLens},
        {21, "p021.jpg", "Canguru no deserto vermelho", kangarooInTheOutback},
        {22, "p022.jpg", "Dunas de areia e um camelo sob o sol", dunesAndCamel},
        {23, "p023.ico", "Montanhas nevadas ao amanhecer e uma águia", andesAtDawn},
        {24, "p024.jpg", "Navio dentro de uma eclusa", shipThroughTheLocks},
        {25, "p025.jpg", "Globo com a África e balões de fala", globeAndSpeech},
        {26, "p026.jpg", "Rio na savana com um hipopótamo e uma acácia", savannaRiver},
        {27, "p027.jpg", "Floresta de outono com folhas de bordo e montanhas", mapleForest},
        {28, "p028.jpg", "Monte nevado e galhos de cerejeira em flor", fujiAndBlossoms},
        {29, "p029.jpg", "Bota sobre um mapa antigo e uma bússola", bootOnTheMap},
        {30, "p030.jpg", "Mapa-múndi e uma régua", worldMapAndRuler},
        {31, "p031.jpg", "Cordilheira baixa cortada por uma linha divisória", lowRangeWithDivide},
        {32, "p032.jpg", "Três pirâmides no deserto ao pôr do sol", pyramidsAtSunset},
        {33, "p033.jpg", "Navio passando entre duas costas próximas", shipBetweenCoasts},
        {34, "p034.jpg", "Ilha com baobás e um macaco no mar", islandWithBaobabs},
        // História do Brasil
        {35, "p035.jpg", "Caravela com velas de cruz diante de uma costa verde", caravelOnTheOcean},
        {36, "p036.jpg", "Cavalo às margens de um riacho e uma espada erguida", horsemanAndSword},
        {37, "p037.jpg", "Pergaminho, correntes e uma pena", scrollAndChains},
        {38, "p038.jpg", "Prédio clássico ao nascer do sol", templeAtDawn},
        {39, "p039.jpg", "Retrato a óleo de um militar de barba em moldura dourada", portraitOfAnOfficer},
        {40, "p040.bmp", "Casarões coloniais coloridos, igreja e calçada de pedra", colonialStreet},
        {41, "p041.jpg", "Vela acesa, pergaminho e pena sobre a mesa", candleAndScroll},
        {42, "p042.jpg", "Frota de caravelas no mar e uma coroa no céu", fleetWithCrown},
        {43, "p043.jpg", "Mapa antigo da América do Sul cortado por uma linha tracejada", oldMapWithMeridian},
        {44, "p044.jpg", "Caminhão de mudança e caixas na estrada", movingTruck},
        {45, "p045.jpg", "Morros de Minas, picareta e bateia no riacho", minersHills},
        {46, "p046.jpg", "Mata atlântica e um ponto de interrogação", forestWithQuestion},
        {47, "p047.jpg", "Boi, roda de carro de boi e casa-grande", oxCartAndMill},
        {48, "p048.jpg", "Barco a vapor num rio da floresta", riverboatInTheForest},
        {49, "p049.jpg", "Coroa sobre almofada e ampulheta", crownAndHourglass},
        {50, "p050.jpg", "Serra verde ao anoitecer com uma fogueira", serraWithFire},
        // Ciências
        {51, "p051.jpg", "Barras de metal dourado e uma moeda", goldBars},
        {52, "p052.jpg", "Broto de planta ao sol, com setas de ar", seedlingInTheSun},
        {53, "p053.jpg", "Galáxia espiral e o símbolo do átomo", galaxyAndAtom},
        {54, "p054.jpg", "Diagrama de forças: órbita e bloco num plano inclinado", forceDiagram},
        {55, "p055.jpg", "Facho de lanterna atravessando o espaço até a Terra", torchBeamAcrossSpace},
        {56, "p056.jpg", "Placa de cultura com bolor e um microscópio", petriDishAndMicroscope},
        {57, "p057.jpg", "Cubo de gelo soltando vapor", iceGivingOffVapour},
        {58, "p058.ico", "Tubo de ensaio e uma gota de água", testTubeAndDrop},
        {59, "p059.jpg", "Torneira pingando e um copo", tapAndGlass},
        {60, "p060.jpg", "Panela soltando vapor e um termômetro", boilingPot},
        {61, "p061.jpg", "Dupla hélice e microscópio", dnaAndMicroscope},
        {62, "p062.ico", "Gotas prateadas sobre a bancada e um frasco de laboratório", silverDroplets},
        {63, "p063.jpg", "Vento soprando e um balão no céu", windAndBalloon},
        {64, "p064.jpg", "Céu com sol, nuvem e chuva e um cata-vento", weatherSky},
        {65, "p065.jpg", "Levantador de peso e setas de força", liftingAndArrows},
        {66, "p066.jpg", "Raios das cores do arco-íris entrando numa caixa fechada", coloursIntoABox},
        // Sistema Solar e espaço
        {67, "p067.jpg", "Sol, órbitas e planetas de vários tamanhos, com um telescópio", planetsOnTheirOrbits},
        {68, "p068.jpg", "Foguete rumo a um pequeno planeta avermelhado", rocketTowardsReddishDot},
        {69, "p069.jpg", "Planeta pequeno bem junto a um Sol enorme", smallWorldByTheSun},
        {70, "p070.jpg", "Termômetro, fogo e um planeta coberto de nuvens", thermometerAndFire},
        {71, "p071.jpg", "Órbitas ao redor do Sol e um ponto de interrogação", orbitsAndQuestion},
        {72, "p072.bmp", "Astronauta no solo lunar com a Terra no céu", astronautOnTheMoon},
        {73, "p073.jpg", "Planeta com anéis em pé e eixo quase horizontal", planetLyingOnItsSide},
        {74, "p074.jpg", "Raio de luz do Sol até a Terra e um cronômetro", sunlightToEarth},
        {75, "p075.jpg", "A Terra com uma órbita tracejada vazia", earthWithEmptyOrbit},
        {76, "p076.jpg", "A Terra girando e um despertador", spinningEarth},
        {77, "p077.jpg", "Telescópio no quintal sob o céu estrelado", telescopeAtNight},
        {78, "p078.jpg", "Estrelas brilhando sobre a Terra e um ponto de interrogação", starsAndQuestion},
        {79, "p079.jpg", "Foguete subindo entre nuvens de fumaça", rocketLiftOff},
        {80, "p080.jpg", "Barraca de acampamento sob um céu cheio de estrelas", campUnderStars},
        {81, "p081.jpg", "Céu escurecendo de dia e óculos escuros", darkeningSky},
        // Corpo humano
        {82, "p082.jpg", "Cérebro, coração, pulmões, olho e estetoscópio", organsAround},
        {83, "p083.jpg", "Caveira e ossos em estilo de raio X", xraySkeleton},
        {84, "p084.jpg", "Orelha e lupa", earUnderLens},
        {85, "p085.jpg", "Coração anatômico com traçado de eletrocardiograma", heartWithTrace},
        {86, "p086.jpg", "Microscópio e gota de sangue", bloodUnderMicroscope},
        {87, "p087.jpg", "Ovo frito, bacon e batatas fritas na toalha xadrez", fattyBreakfast},
        {88, "p088.ico", "Pulmões e sopro de ar", lungsAndBreath},
        {89, "p089.jpg", "Praia ensolarada com guarda-sol e protetor", sunnyBeach},
        {90, "p090.jpg", "Dente e escova de dentes", toothAndBrush},
        {91, "p091.jpg", "Perna e fita métrica", legAndTape},
        {92, "p092.jpg", "Língua, limão e chocolate", tongueAndTreats},
        {93, "p093.jpg", "Olho e paleta de cores", eyeAndPalette},
        {94, "p094.jpg", "Copo de água, gotas e estetoscópio", waterAndStethoscope},
        {95, "p095.jpg", "Prato com frutas e legumes", healthyMeal},
        // Artes e literatura
        {96, "p096.jpg", "Livro aberto, pena e cartola sobre papel antigo", openBookAndQuill},
        {97, "p097.jpg", "Quadro modernista: figura de pé enorme, sol e cacto", modernistPainting},
        {98, "p098.jpg", "Pergaminho sobre o mar, barco a vela e onda", scrollOverTheSea},
        {99, "p099.jpg", "Pedra no meio de uma estrada de terra", stoneOnTheRoad},
        {100, "p100.jpg", "Retrato de mulher com paisagem enevoada ao fundo, em moldura dourada", famousPortrait},
        {101, "p101.jpg", "Máscaras de teatro, paleta e partitura no palco", masksAndPalette},
        {102, "p102.jpg", "Casa de sítio, milho, árvore e passarinho", farmhouseAndCorn},
        {103, "p103.jpg", "Igreja barroca no alto do morro e estátuas de profetas no adro", baroqueChurchAndProphets},
        {104, "p104.jpg", "Violão na areia da praia, notas musicais e coqueiro", guitarOnTheBeach},
        {105, "p105.jpg", "Praia com jangada, arco e um livro", beachAndBow},
        {106, "p106.jpg", "Terra seca rachada, mandacaru e um cachorro", drylandAndDog},
        {107, "p107.jpg", "Cavalete com tela em branco, paleta e chão seco", easelOnDryLand},
        {108, "p108.jpg", "Céu noturno de espirais em moldura dourada e um pincel", swirlingNight},
        {109, "p109.jpg", "Rosa num planeta pequenino e uma raposa", roseOnTinyPlanet},
        {110, "p110.jpg", "Castelo sob a lua e uma carta de amor", castleAndLetter},
        {111, "p111.jpg", "Coelho de pelúcia, lápis e balão de fala", bunnyAndPencil},
        // Esporte
        {112, "p112.jpg", "Campo de futebol visto de cima com a bola no centro", footballPitch},
        {113, "p113.jpg", "Taça sob o holofote, confete e bola", trophyInTheSpotlight},
        {114, "p114.jpg", "Coroa de louros e um corredor", laurelAndRunner},
        {115, "p115.jpg", "Pódio com medalhas de ouro, prata e bronze e fogos", podium},
        {116, "p116.jpg", "Quadra de tênis vista de cima e a bola veloz na área de saque", tennisCourtFromAbove},
        {117, "p117.jpg", "Carro de corrida na pista e bandeira quadriculada", raceCarAtTheFlag},
        {118, "p118.jpg", "Estrada entre girassóis com bandeirinhas da França", roadThroughSunflowers},
        {119, "p119.jpg", "Rede num ginásio e uma pena", gymNetAndFeather},
        {120, "p120.jpg", "Estádio antigo em tons de sépia e uma bola", oldStadium},
        {121, "p121.jpg", "Coroa sobre uma bola de futebol num gramado", crownOnTheBall},
        {122, "p122.jpg", "Corredores numa avenida e uma medalha", runnersOnTheRoad},
        {123, "p123.jpg", "Gol, cronômetro e apito", stopwatchAndGoal},
        {124, "p124.jpg", "Bandeira num gramado de golfe", golfGreen},
        {125, "p125.jpg", "Quimono sobre o tatame", tatamiAndUniform},
        // Matemática
        {126, "p126.jpg", "Ábaco diante do quadro-negro", abacusOnTheBoard},
        {127, "p127.jpg", "Sinal de raiz desenhado a giz e um ponto de interrogação", radicalSign},
        {128, "p128.jpg", "Triângulo com os três ângulos coloridos e um esquadro", triangleAngles},
        {129, "p129.jpg", "Círculo com o diâmetro tracejado e uma torta", circleAndDiameter},
        {130, "p130.bmp", "Abelha, pote de mel e flores", beeAndHoney},
        {131, "p131.jpg", "Relógio antigo e ânfora entre colunas de mármore", clockAndAmphora},
        {132, "p132.jpg", "Gráfico de pizza com uma fatia destacada", pieChartQuarter},
        {133, "p133.jpg", "Relógio diante do quadro-negro", clockOnTheBoard},
        {134, "p134.jpg", "Blocos de contar e um ponto de interrogação", numberBlocks},
        {135, "p135.jpg", "Triângulo, quadrado e círculo em papel quadriculado", shapesOnGraphPaper},
        {136, "p136.jpg", "Quadradinhos que dobram de número a cada linha", doublingSquares},
        {137, "p137.jpg", "Fita métrica desenrolada e uma régua", tapeMeasure},
        {138, "p138.jpg", "Esquadro e transferidor sobre papel", setSquare},
        {139, "p139.jpg", "Quadrado contornado a lápis no papel quadriculado", squareOutline},
        {140, "p140.jpg", "Canteiro retangular visto de cima", gardenPlot},
        {141, "p141.jpg", "Bolo redondo cortado em fatias", cakeSlices},
        // Língua portuguesa
        {142, "p142.jpg", "Grupo de pessoas e um livro aberto", crowdAndGrammar},
        {143, "p143.jpg", "Blocos de madeira com as letras K, W e Y", letterBlocks},
        {144, "p144.jpg", "Pilha de livros, lápis e caderno", booksAndPencil},
        {145, "p145.jpg", "Mãos abertas e um presente", giftInHands},
        {146, "p146.jpg", "Lebre e tartaruga numa estrada", hareAndTortoise},
        {147, "p147.bmp", "Borboleta sobre flores", butterflyInTheGarden},
        {148, "p148.jpg", "Caderno pautado e um alto-falante", notebookAndSpeaker},
        {149, "p149.jpg", "Caderno, lupa e borracha", notebookUnderLens},
        {150, "p150.jpg", "Menina e uma maçã", girlAndApple},
        {151, "p151.jpg", "Muitos peixes nadando juntos no mar", schoolOfFish},
        {152, "p152.jpg", "Claquete e câmera de cinema", clapperAndCamera},
        {153, "p153.jpg", "Casa pequena ao lado de uma casa enorme", smallAndBigHouse},
        {154, "p154.jpg", "Prato vazio, talheres e um rosto cansado", emptyPlate},
        {155, "p155.jpg", "Sino e estrela de estouro", bellAndBang},
        {156, "p156.jpg", "Corredor deixando poeira para trás", runnerAndDust},
        {157, "p157.jpg", "Coluna antiga e pergaminho", columnAndScroll},
        {158, "p158.jpg", "Pegadas na areia da praia", footprintsInSand},
        // Música brasileira
        {159, "p159.jpg", "Confete, serpentina e notas musicais", carnivalConfetti},
        {160, "p160.jpg", "Aquarela com pincel, pingos de tinta e notas musicais", watercolourAndNotes},
        {161, "p161.jpg", "Coração e notas musicais", heartAndNotes},
        {162, "p162.jpg", "Coroa, cacto e chapéu de couro no sertão", crownOverTheSertao},
        {163, "p163.jpg", "Tambor, triângulo e casal dançando", drumTriangleDance},
        {164, "p164.jpg", "Piano com confetes e serpentinas", pianoAndConfetti},
        {165, "p165.jpg", "Abacaxi, bananas e uvas e um microfone", fruitAndMicrophone},
        {166, "p166.jpg", "Violão à noite diante do mar e da lua", guitarByNightSea},
        {167, "p167.jpg", "Sombrinha colorida numa rua de casarões", colourfulUmbrella},
        {168, "p168.jpg", "Violoncelo e partitura", celloAndScore},
        {169, "p169.jpg", "Palco de ópera com cortinas e holofote", operaStage},
        {170, "p170.ico", "Bandeira do Brasil e um trompete", flagAndTrumpet},
        {171, "p171.jpg", "Chapéu, caderno de letras e notas musicais", hatAndNotebook},
        {172, "p172.jpg", "Trem à noite e um relógio", trainAtNight},
        {173, "p173.jpg", "Rosas sobre fundo verde e rosa", rosesInGreenAndPink},
        {174, "p174.jpg", "Roda de samba: notas, tambor e ponto de interrogação", sambaCircle},
        {175, "p175.jpg", "Microfone e disco sob a luz do palco", microphoneAndRecord},
        {176, "p176.jpg", "Dois jogadores de capoeira numa roda", capoeiraCircle},
        // Natureza e animais
        {177, "p177.jpg", "Galho com frutinhas na mata e um ponto de interrogação", branchWithFruit},
        {178, "p178.jpg", "Pegadas de felino na lama da mata", pawPrints},
        {179, "p179.jpg", "Jardim florido", gardenFlowers},
        {180, "p180.jpg", "Girafa junto de uma árvore da savana", giraffeAtTheTree},
        {181, "p181.jpg", "Lagarta numa folha", caterpillarOnLeaf},
        {182, "p182.jpg", "Entrada de caverna sob a lua", caveAtNight},
        {183, "p183.jpg", "Macaco entre as árvores", monkeyInTheTrees},
        {184, "p184.jpg", "Ondas cor-de-rosa na água escura", pinkRipples},
        {185, "p185.jpg", "Camundongo e régua", mouseAndRuler},
        {186, "p186.bmp", "Lagoa com folhas flutuantes", pondWithLilies},
        {187, "p187.jpg", "Planta num vaso e gotas de água", pottedPlant},
        {188, "p188.jpg", "Serra fria com neblina e um floco de neve", coldMistyHills},
        {189, "p189.ico", "Polvo no fundo do mar, entre algas e bolhas", octopusOnTheSeabed},
        {190, "p190.jpg", "Vara de pescar na beira do rio", fishingOnTheRiver},
        {191, "p191.jpg", "Ovos num ninho à beira do rio", eggsByTheRiver},
        {192, "p192.jpg", "Savana com poeira no ar e um cronômetro", savannaAndStopwatch},
        {193, "p193.jpg", "Flores de hibisco vermelhas", hibiscusFlowers},
        // Tecnologia
        {194, "p194.jpg", "Disquete e computador", floppyAndScreen},
        {195, "p195.jpg", "Globo com meridianos e elos de corrente", globeAndLinks},
        {196, "p196.jpg", "Avião antigo entre nuvens sobre telhados", earlyFlight},
        {197, "p197.jpg", "Computador portátil e um cérebro", laptopAndBrain},
        {198, "p198.jpg", "Bandeja de entrada e disquete", inboxAndDisk},
        {199, "p199.jpg", "Robô e lâmpada acesa", robotAndSwitch},
        {200, "p200.jpg", "Jornal dobrado e livros antigos", booksAndNewspaper},
        {201, "p201.jpg", "Lâmpada acesa num quarto escuro", glowingBulb},
        {202, "p202.jpg", "Globo ligado a páginas e a seta do mouse", globeAndPages},
        {203, "p203.jpg", "Carro, mapa e alfinete", carOnTheMap},
        {204, "p204.jpg", "Satélite sobre a Terra", satelliteOverEarth},
        {205, "p205.jpg", "Engrenagens, pergaminho e vela", gearsAndCandle},
        {206, "p206.jpg", "Computador apagado e plugue solto", unpluggedLaptop},
        {207, "p207.jpg", "Represa com água jorrando e torre de energia", damAndPylon},
        {208, "p208.jpg", "Areia de praia e uma lupa", sandAndLens},
        {209, "p209.jpg", "Moldura e pasta de arquivos", frameAndFolder},
        {210, "p210.jpg", "Tempestade com raios sobre uma casa", stormOverHouse},
    };
    return all;
}

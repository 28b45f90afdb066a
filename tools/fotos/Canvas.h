#pragma once
// Small drawing vocabulary for the photos of the sample bank. Every photo is painted on a
// PhotoWidth x PhotoHeight canvas, the size of the game's photo box, so nothing is ever scaled
// or clipped when the game shows it.
#include <QColor>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

constexpr int PhotoWidth = 137;
constexpr int PhotoHeight = 177;
const QRectF PhotoRect(0, 0, PhotoWidth, PhotoHeight);

// Backgrounds.
void verticalGradient(QPainter &p, const QColor &top, const QColor &bottom, const QRectF &area = PhotoRect);
void radialGlow(QPainter &p, QPointF centre, qreal radius, const QColor &colour);
void starField(QPainter &p, int count, unsigned seed, const QRectF &area = PhotoRect);
void vignette(QPainter &p, qreal strength = 0.35);

// A glyph of the colour emoji font, drawn so that its visible pixels fill `size` pixels across
// (the larger of width and height) around `centre`. Cropping the glyph to its own pixels makes
// the placement exact whatever the font's metrics are. A glyph that the font does not draw in
// colour is reported on the console.
void emoji(QPainter &p, const QString &glyph, QPointF centre, qreal size, qreal angle = 0);
// The same with a soft drop shadow under it, for glyphs that stand on a busy background.
void emojiWithShadow(QPainter &p, const QString &glyph, QPointF centre, qreal size, qreal angle = 0);

// Landscape pieces.
void cloud(QPainter &p, QPointF centre, qreal width, const QColor &colour = QColor(255, 255, 255, 230));
void hills(QPainter &p, qreal baseY, qreal amplitude, const QColor &colour, unsigned seed);
void mountain(QPainter &p, QPointF peak, qreal halfWidth, qreal baseY, const QColor &rock,
              const QColor &snow = QColor());
void sea(QPainter &p, qreal topY, const QColor &top, const QColor &bottom, int waveRows = 4);
void sun(QPainter &p, QPointF centre, qreal radius, const QColor &core = QColor(255, 214, 64));

// Maps: outlines given as (longitude, latitude) pairs in degrees, projected with a cosine
// correction at the outline's middle latitude and fitted, aspect kept, into `box`.
QPolygonF projectOutline(const std::vector<QPointF> &lonLat, const QRectF &box);
// The projection used for `outline`, applied to other points (cities, markers) of the same map.
QPointF projectPoint(const std::vector<QPointF> &outline, const QRectF &box, QPointF lonLat);

// Objects.
void brazilFlag(QPainter &p, const QRectF &rect);
void goldFrame(QPainter &p, const QRectF &outer, qreal thickness);
void planet(QPainter &p, QPointF centre, qreal radius, const QColor &light, const QColor &dark,
            int bands = 0);
void caravel(QPainter &p, QPointF waterline, qreal length);

#pragma once
// The look shared by all pictures: a deep-space night sky, translucent panels,
// light value boxes, and the orbit-and-crystal title artwork.

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <initializer_list>

class QPainter;
class QPainterPath;
class QString;

namespace arte {

namespace cor {
inline const QColor violeta{124, 72, 232};
inline const QColor magenta{196, 84, 214};
inline const QColor ciano{70, 206, 255};
inline const QColor ouro{255, 200, 92};
inline const QColor laranja{255, 138, 30};
inline const QColor textoClaro{236, 236, 255};
inline const QColor textoSuave{184, 196, 240};
} // namespace cor

// Cabin at a size in pixels, so that the pictures do not depend on the screen's DPI.
QFont cabin(qreal pixelSize, QFont::Weight weight, qreal letterSpacing = 0);

// Night sky with nebulae and stars over the whole of `area`; `seed` fixes the star field.
void paintSpace(QPainter& p, const QRectF& area, quint32 seed);

// The closed outline through `points`.
QPainterPath polygonPath(std::initializer_list<QPointF> points);

// A soft glow of `colour` around the filled `path` (a blurred copy painted under it).
void paintGlow(QPainter& p, const QPainterPath& path, const QColor& colour, qreal radius);

// A planet of `radius` around `centre`, usually mostly below the picture: a horizon with a lit rim.
void paintPlanet(QPainter& p, QPointF centre, qreal radius);

// A translucent dark panel with a thin luminous rim, to sit text and controls on.
void paintPanel(QPainter& p, const QRectF& r, qreal radius = 14);

// A light, rounded box for a value written on top of the picture in dark text.
void paintValueBox(QPainter& p, const QRectF& r);

// A picture frame with curved corners: a gold rim from `outer` down to `inner`, and a calm inside.
void paintPhotoFrame(QPainter& p, const QRectF& outer, const QRectF& inner);

// A shooting star streaking from `tail` to its bright `head`.
void paintShootingStar(QPainter& p, QPointF tail, QPointF head);

// A four-pointed sparkle.
void paintSparkle(QPainter& p, QPointF centre, qreal size, const QColor& colour);

// The emblem: a faceted crystal inside a tilted orbit ring; `size` is the crystal's half height.
void paintEmblem(QPainter& p, QPointF centre, qreal size);

// Text filled with the title's gold gradient, with a glow; `anchor` is the baseline point
// at the alignment given (Qt::AlignLeft, Qt::AlignHCenter or Qt::AlignRight).
void paintGoldText(QPainter& p, const QString& text, const QFont& font, QPointF anchor,
                   Qt::Alignment align = Qt::AlignHCenter);

// Plain text with a soft dark shadow for legibility over the sky.
void paintShadowedText(QPainter& p, const QRectF& r, int flags, const QString& text, const QFont& font,
                       const QColor& colour);

enum class TitleLayout {
    Stacked, // emblem above the two title lines, all centred
    Inline,  // emblem at the left, the two title lines beside it
};

// The title artwork, fitted into `box` and centred in it.
void paintTitleArt(QPainter& p, const QRectF& box, TitleLayout layout);

} // namespace arte

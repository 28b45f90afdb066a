#pragma once
// The game's icon: the emblem on a rounded night-sky tile.

#include <QtGlobal>

class QPainter;

namespace arte {

// Paints the icon into the square (0, 0, size, size) of `p`, leaving the corners transparent.
// The detail follows the size: a 16-pixel icon gets a simpler crystal, a thicker ring and no
// stars, so that it stays readable. Only paths and gradients are used (no blurred images), so
// the same drawing also makes a small vector file.
void paintIcon(QPainter& p, qreal size);

} // namespace arte

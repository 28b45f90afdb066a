#pragma once
// Coarse outlines for the little maps of the photos, as (longitude, latitude) in degrees, traced
// by hand from an atlas at about half a degree: enough to recognise the shape, not for measuring.
#include <QPointF>
#include <vector>

const std::vector<QPointF> &brazilOutline();
const std::vector<QPointF> &southAmericaOutline();

// Measures of entities computed the way CAD programs compute them (bulged arcs included).
#pragma once

#include "host/drawing.h"

namespace nyhost {

// Signed area is positive for counter-clockwise outlines; Area returns its magnitude. An open
// polyline is measured as if closed, as CAD programs report it.
double PolylineSignedArea(const Polyline& pl);
double PolylineArea(const Polyline& pl);
double PolylinePerimeter(const Polyline& pl);  // open polylines: length
Extents PolylineExtents(const Polyline& pl);

// Geometric extents of an entity in model space; block references are measured from their
// definition's geometry transformed by position, scale and rotation. Texts give their insertion
// point box (height x estimated width).
Extents EntityExtents(const Drawing& d, const Entity& e);
Extents DrawingExtents(const Drawing& d);

// Transform of a block reference applied to a point of its definition.
Point3 BlockToWorld(const BlockReference& ref, const BlockDefinition& def, Point3 p);

}  // namespace nyhost

// Where a layout pass puts each edge of a dialog's child.
#ifndef QUILLMERE_EDGE_PLACEMENT_H
#define QUILLMERE_EDGE_PLACEMENT_H

#include <cstdint>

#include "layout_geometry.h"

// percent × size ÷ 100, truncated. The lines come from outer sizes but are
// compared with client coordinates.
std::int32_t SplitLine(std::int32_t percent, std::int32_t size);

// 0 or 1 per edge: an edge at or beyond its split line follows the far side. A
// fixed-size control takes, on each axis, the factor of the edge that reaches
// further past the line; when centred on the line, the near edge's.
EdgeFactors AutomaticFactors(const LayoutRect& current, std::int32_t xSplit, std::int32_t ySplit, bool fixedSize);

// Every non-negative explicit factor replaces the automatic one.
EdgeFactors MergeFactors(const EdgeFactors& automatic, const EdgeFactors& explicitFactors);

// The new position of one edge. A proportional position is truncated toward zero.
std::int32_t PlaceEdge(double factor, std::int32_t current, std::int32_t initial, const AxisSizes& axis);

struct ChildPlacement {
    LayoutRect current;
    bool fixedSize;
    bool hasRule;
    EdgeFactors rule;        // only with hasRule
    LayoutRect initialRect;  // only with hasRule
};

// The child's rectangle for width.newSize × height.newSize, the split lines taken
// from the last sizes.
LayoutRect PlaceChildRect(const ChildPlacement& child, const AxisSizes& width, const AxisSizes& height,
                          std::int32_t splitPercentX, std::int32_t splitPercentY);

#endif

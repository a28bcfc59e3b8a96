// Plain geometry records of the dialog resizer, in pixels.
#ifndef QUILLMERE_LAYOUT_GEOMETRY_H
#define QUILLMERE_LAYOUT_GEOMETRY_H

#include <cstdint>

// A rectangle in a dialog's client coordinates, laid out like the platform's RECT.
struct LayoutRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

// One factor per edge: negative chooses the automatic rule, 0.0 keeps the edge,
// 1.0 moves it by the change since the last pass, any other value places it
// proportionally to the growth since the resizer was attached.
struct EdgeFactors {
    double left;
    double right;
    double top;
    double bottom;
};

constexpr double kAutomaticFactor = -1.0;

// The outer sizes of one axis that a layout pass works from.
struct AxisSizes {
    std::int32_t minSize;   // when the resizer was attached
    std::int32_t lastSize;  // the children are placed for this one
    std::int32_t newSize;   // the one to place them for
};

#endif

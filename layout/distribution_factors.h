// Sharing a dialog's growth among a row or column of controls.
#ifndef QUILLMERE_DISTRIBUTION_FACTORS_H
#define QUILLMERE_DISTRIBUTION_FACTORS_H

#include <cstdint>
#include <vector>

struct DistributionItem {
    bool stretch;         // takes a share of the growth; otherwise only moves
    std::int32_t extent;  // current width or height in pixels
};

struct EdgeSpan {
    double nearEdge;  // left or top factor
    double farEdge;   // right or bottom factor
};

// An accumulated share at least this close to 1 is stored as exactly 1.0 for a
// far edge, which then moves by the whole change since the last pass.
constexpr double kFullShareThreshold = 0.99999;

// Factors for the items in visual order: each stretching item takes a share in
// proportion to its extent; the others move by the shares before them. Without
// any stretching extent every item keeps both edges (0.0).
std::vector<EdgeSpan> DistributionFactors(const std::vector<DistributionItem>& items);

#endif

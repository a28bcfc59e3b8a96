// The proportional shares of DistributeWidth and DistributeHeight.
#include "distribution_factors.h"

namespace {

double ClampFarEdge(double share)
{
    return share >= kFullShareThreshold ? 1.0 : share;
}

}  // namespace

std::vector<EdgeSpan> DistributionFactors(const std::vector<DistributionItem>& items)
{
    double total = 0.0;
    for (const DistributionItem& item : items) {
        if (item.stretch && item.extent > 0)
            total += item.extent;
    }
    std::vector<EdgeSpan> spans(items.size(), EdgeSpan{0.0, 0.0});
    // Also covers stretching items that are all zero wide, which would divide by zero.
    if (total <= 0.0)
        return spans;
    double accumulated = 0.0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].stretch) {
            double extent = items[i].extent > 0 ? items[i].extent : 0.0;
            double far = accumulated + extent / total;
            spans[i] = EdgeSpan{accumulated, ClampFarEdge(far)};
            accumulated = far;
        } else {
            spans[i] = EdgeSpan{accumulated, ClampFarEdge(accumulated)};
        }
    }
    return spans;
}

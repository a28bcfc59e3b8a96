// Automatic factors, explicit factors and the edge movement they give.
#include "edge_placement.h"

namespace {

// Both edges of a fixed-size control follow whichever lies further from the line.
void KeepSize(double& nearFactor, double& farFactor, std::int32_t nearEdge, std::int32_t farEdge, std::int32_t split)
{
    double shared = (split - nearEdge) < (farEdge - split) ? farFactor : nearFactor;
    nearFactor = shared;
    farFactor = shared;
}

double Pick(double automatic, double explicitFactor)
{
    return explicitFactor >= 0.0 ? explicitFactor : automatic;
}

}  // namespace

std::int32_t SplitLine(std::int32_t percent, std::int32_t size)
{
    return static_cast<std::int32_t>(static_cast<std::int64_t>(percent) * size / 100);
}

EdgeFactors AutomaticFactors(const LayoutRect& current, std::int32_t xSplit, std::int32_t ySplit, bool fixedSize)
{
    EdgeFactors factors{
        current.left >= xSplit ? 1.0 : 0.0,
        current.right >= xSplit ? 1.0 : 0.0,
        current.top >= ySplit ? 1.0 : 0.0,
        current.bottom >= ySplit ? 1.0 : 0.0,
    };
    if (fixedSize) {
        KeepSize(factors.left, factors.right, current.left, current.right, xSplit);
        KeepSize(factors.top, factors.bottom, current.top, current.bottom, ySplit);
    }
    return factors;
}

EdgeFactors MergeFactors(const EdgeFactors& automatic, const EdgeFactors& explicitFactors)
{
    return EdgeFactors{
        Pick(automatic.left, explicitFactors.left),
        Pick(automatic.right, explicitFactors.right),
        Pick(automatic.top, explicitFactors.top),
        Pick(automatic.bottom, explicitFactors.bottom),
    };
}

std::int32_t PlaceEdge(double factor, std::int32_t current, std::int32_t initial, const AxisSizes& axis)
{
    if (factor == 0.0)
        return current;
    if (factor == 1.0)
        return current + (axis.newSize - axis.lastSize);
    // The position itself is truncated: below the minimum size an edge 5.5 pixels left of
    // 100 lands on 94, not 95.
    return static_cast<std::int32_t>(initial + factor * (axis.newSize - axis.minSize));
}

LayoutRect PlaceChildRect(const ChildPlacement& child, const AxisSizes& width, const AxisSizes& height,
                          std::int32_t splitPercentX, std::int32_t splitPercentY)
{
    std::int32_t xSplit = SplitLine(splitPercentX, width.lastSize);
    std::int32_t ySplit = SplitLine(splitPercentY, height.lastSize);
    EdgeFactors factors = AutomaticFactors(child.current, xSplit, ySplit, child.fixedSize);
    if (child.hasRule)
        factors = MergeFactors(factors, child.rule);
    const LayoutRect& cur = child.current;
    const LayoutRect& init = child.hasRule ? child.initialRect : child.current;
    return LayoutRect{
        PlaceEdge(factors.left, cur.left, init.left, width),
        PlaceEdge(factors.top, cur.top, init.top, height),
        PlaceEdge(factors.right, cur.right, init.right, width),
        PlaceEdge(factors.bottom, cur.bottom, init.bottom, height),
    };
}

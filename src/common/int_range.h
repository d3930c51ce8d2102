// Bringing a sum made in a wider type back into int.
#ifndef PRINTDIALOGS_INT_RANGE_H
#define PRINTDIALOGS_INT_RANGE_H

#include <climits>

// Rectangles come from other windows and may lie anywhere in the int range: sums of their
// edges are made in long long, so that none overflows, and brought back saturated.
constexpr int saturatedInt(long long value)
{
    return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

#endif

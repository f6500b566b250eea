// One plot handed through an internal pipe to the graph widget: the points, and
// whether the plots shown so far are dropped before this one is added.
#pragma once

#include <vector>

struct GraphData {
    std::vector<double> x;
    std::vector<double> y;
    bool clear = false;
};

#include "reading/ZoomSteps.h"

#include <array>

namespace reading {

namespace {
constexpr std::array Steps{50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300, 400};
static_assert(Steps.front() == ZoomMinimum && Steps.back() == ZoomMaximum);
} // namespace

int ZoomedIn(int percent) {
    for (int step : Steps)
        if (step > percent)
            return step;
    return ZoomMaximum;
}

int ZoomedOut(int percent) {
    for (auto it = Steps.rbegin(); it != Steps.rend(); ++it)
        if (*it < percent)
            return *it;
    return ZoomMinimum;
}

} // namespace reading

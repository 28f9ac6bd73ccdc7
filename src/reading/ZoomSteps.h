#pragma once

namespace reading {

// The page zoom moves through fixed steps, from 50% to 400%.
constexpr int ZoomNormal = 100;
constexpr int ZoomMinimum = 50;
constexpr int ZoomMaximum = 400;

// The next step above (below) `percent`, or the bound when there is none.
int ZoomedIn(int percent);
int ZoomedOut(int percent);

} // namespace reading

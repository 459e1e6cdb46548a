#pragma once

#include "geometry/Windows.h"

#include <cstdint>

namespace geo {

/// GEOTRIM: tidies a closed outline (points first..last, from 1) after clipping at the window.
/// Ends that retrace each other are walked off, and a closing point that lies, with both its
/// neighbours, beyond one side of the window is dropped. The outline stays closed and its part
/// inside the window is unchanged; an outline that is not closed is left alone.
void GEOTRIM(const Window& w, float* points, std::int32_t& first, std::int32_t& last);

}  // namespace geo

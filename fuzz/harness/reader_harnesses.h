// One harness per file reader of the engine. Each writes the input bytes to a
// file, resets the numerical state as a calculation does, calls the reader and,
// when the reader accepts the file, goes on with the steps a calculation takes
// next with what was read. It checks what the reader and those steps promise
// (statuses, capacities, untouched outputs on refusal, finite numbers) and
// reports the first broken promise. The fuzz targets and the regression test
// share them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "harness_result.h"

namespace kavi::fuzz {

// Map file; then zooming grid, spectrum, roughness rose and site model for a
// site at the origin. Read once with the edition's capacity and once with a
// small one, so that the capacity limits are reached too.
HarnessResult RunMapInput(const std::uint8_t* data, std::size_t size);

// Observed wind climate; then the Weibull fits and the atlas calculation.
HarnessResult RunObservedClimate(const std::uint8_t* data, std::size_t size);

// Atlas file; then the prediction at a neutral site.
HarnessResult RunAtlasFile(const std::uint8_t* data, std::size_t size);

// Obstacles file; then the shelter records and the shelter model, for 1, 12
// and 36 sectors.
HarnessResult RunObstacleFile(const std::uint8_t* data, std::size_t size);

// Roughness rose file, for 1, 12 and 36 sectors; then the site model and the
// prediction from the default atlas.
HarnessResult RunRoughnessRoseFile(const std::uint8_t* data, std::size_t size);

}  // namespace kavi::fuzz

// What every calculation starts from, for the harnesses: the harnesses'
// numerical context as the automation operation leaves it with a default
// configuration, and the neutral inputs of the later steps.
#pragma once

#include "numerics/calculation_arrays.h"
#include "numerics/context.h"

namespace kavi::fuzz {

// The site the calculations are made for, and the height above ground.
constexpr float kSiteX = 0.0f;
constexpr float kSiteY = 0.0f;
constexpr float kSiteHeight = 50.0f;
constexpr int kDefaultSectors = 12;

// The numerical context the harnesses drive the routines with (one input at a
// time, on one thread).
numerics::Context& HarnessCore();

// Status word 0; the default configuration's 77 parameters (fixed defaults
// with the named defaults written over them) in the parameter vector; the
// given sector count in element 1 and in the core sector count; the grid
// constants loaded and no grid or spectrum left from an earlier input.
void ResetCalculation(int sectors = kDefaultSectors);

// Sets the sector count of the calculation as a loaded file does.
void AdoptSectorCount(int sectors);

// Every slot of every sector: speed factor 1, turning 0.
numerics::SiteEffectTable NeutralSiteEffects();

// A rose without roughness changes: 0.03 m at the site and upstream.
numerics::RoughnessRose NeutralRose();

}  // namespace kavi::fuzz

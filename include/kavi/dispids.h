// Late-bound member identifiers of the automation interfaces.
#pragma once

#include <kavi/abi.h>

namespace kavi::dispid {

constexpr DISPID Configuration = 0x60020000;

// Class interfaces (members after Configuration).
constexpr DISPID RoseGenerator_MapFile = 0x60030000;
constexpr DISPID RoseGenerator_CalculateRoughnessRose = 0x60030002;
constexpr DISPID HeightAGL = 0x60030000;
constexpr DISPID MapFile = 0x60030002;
constexpr DISPID RoughnessRoseFile = 0x60030004;
constexpr DISPID ObstaclesDataFile = 0x60030006;
constexpr DISPID TabFile = 0x60030008;
constexpr DISPID AtlasFile = 0x60030008;
constexpr DISPID CalculateAtlas = 0x6003000A;
constexpr DISPID CalculateResults = 0x6003000A;
constexpr DISPID RIX_MapFile = 0x60030000;
constexpr DISPID RIX_RIX = 0x60030002;

// Configuration and parameters.
constexpr DISPID Configuration_EnumParameters = 0x60020000;
constexpr DISPID Configuration_Item = 0x60020001;
constexpr DISPID Configuration_Count = 0x60020002;
constexpr DISPID Configuration_ReportConfigurationProblems = 0x60020003;
constexpr DISPID Parameter_ID = 0x60020000;
constexpr DISPID Parameter_Value = 0x60020001;
constexpr DISPID Parameter_DefaultValue = 0x60020003;
constexpr DISPID Parameter_SupportURL = 0x60020004;
constexpr DISPID Parameter_ValidRange = 0x60020005;
constexpr DISPID Parameter_IsValueValid = 0x60020006;

// Site results and sector entries.
constexpr DISPID Results_Elevation = 1;
constexpr DISPID Results_LocationX = 2;
constexpr DISPID Results_LocationY = 3;
constexpr DISPID Results_HeightAGL = 4;
constexpr DISPID Results_TotalWeibullA = 5;
constexpr DISPID Results_TotalWeibullK = 6;
constexpr DISPID Results_TotalEnergyProduction = 7;
constexpr DISPID Results_SectorResult = 8;
constexpr DISPID Sector_WeibullA = 1;
constexpr DISPID Sector_WeibullK = 2;
constexpr DISPID Sector_Frequency = 3;
constexpr DISPID Sector_Energy = 4;

}  // namespace kavi::dispid

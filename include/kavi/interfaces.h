// The automation interfaces of the engine, with their slots in binary order.
// Every interface is dual: the same members are reachable late-bound through
// IDispatch with the DISPIDs listed in dispids.h.
#pragma once

#include <kavi/abi.h>

namespace kavi {

struct IKaviParameter : IDispatch {
  virtual HRESULT get_ID(BSTR* pVal) = 0;
  virtual HRESULT get_Value(VARIANT* pVal) = 0;
  virtual HRESULT put_Value(VARIANT newVal) = 0;
  virtual HRESULT get_DefaultValue(VARIANT* pVal) = 0;
  virtual HRESULT get_SupportURL(BSTR* pVal) = 0;
  virtual HRESULT get_ValidRange(SAFEARRAY** pVal) = 0;
  virtual HRESULT IsValueValid(VARIANT_BOOL* pVal) = 0;
};

struct IKaviConfiguration : IDispatch {
  virtual HRESULT get_EnumParameters(IUnknown** pVal) = 0;
  virtual HRESULT get_Item(BSTR id, IKaviParameter** pVal) = 0;
  virtual HRESULT get_Count(LONG* pVal) = 0;
  virtual HRESULT ReportConfigurationProblems(BSTR* pVal) = 0;
};

struct IKaviConfigurable : IDispatch {
  virtual HRESULT get_Configuration(IKaviConfiguration** pVal) = 0;
};

struct IKaviRoughnessRoseGenerator : IKaviConfigurable {
  virtual HRESULT get_MapFile(BSTR* pVal) = 0;
  virtual HRESULT put_MapFile(BSTR newVal) = 0;
  virtual HRESULT CalculateRoughnessRose(BSTR OutputFileName, std::int32_t NumberOfSectors,
                                         double x, double y) = 0;
};

struct IKaviSectorInfo : IDispatch {
  virtual HRESULT get_WeibullA(double* pVal) = 0;
  virtual HRESULT get_WeibullK(double* pVal) = 0;
  virtual HRESULT get_Frequency(double* pVal) = 0;
  virtual HRESULT get_Energy(double* pVal) = 0;
};

struct IKaviSiteResults : IDispatch {
  virtual HRESULT get_Elevation(double* pVal) = 0;
  virtual HRESULT get_LocationX(double* pVal) = 0;
  virtual HRESULT get_LocationY(double* pVal) = 0;
  virtual HRESULT get_HeightAGL(double* pVal) = 0;
  virtual HRESULT get_TotalWeibullA(double* pVal) = 0;
  virtual HRESULT get_TotalWeibullK(double* pVal) = 0;
  virtual HRESULT get_TotalEnergyProduction(double* pVal) = 0;
  virtual HRESULT SectorResult(LONG idx, IKaviSectorInfo** pVal) = 0;
};

struct IKaviAtlasGenerator : IKaviConfigurable {
  virtual HRESULT get_HeightAGL(double* pVal) = 0;
  virtual HRESULT put_HeightAGL(double newVal) = 0;
  virtual HRESULT get_MapFile(BSTR* pVal) = 0;
  virtual HRESULT put_MapFile(BSTR newVal) = 0;
  virtual HRESULT get_RoughnessRoseFile(BSTR* pVal) = 0;
  virtual HRESULT put_RoughnessRoseFile(BSTR newVal) = 0;
  virtual HRESULT get_ObstaclesDataFile(BSTR* pVal) = 0;
  virtual HRESULT put_ObstaclesDataFile(BSTR newVal) = 0;
  virtual HRESULT get_TabFile(BSTR* pVal) = 0;
  virtual HRESULT put_TabFile(BSTR newVal) = 0;
  virtual HRESULT CalculateAtlas(double x, double y, BSTR AtlasFileName) = 0;
};

struct IKaviAtlasUser : IKaviConfigurable {
  virtual HRESULT get_HeightAGL(double* pVal) = 0;
  virtual HRESULT put_HeightAGL(double newVal) = 0;
  virtual HRESULT get_MapFile(BSTR* pVal) = 0;
  virtual HRESULT put_MapFile(BSTR newVal) = 0;
  virtual HRESULT get_RoughnessRoseFile(BSTR* pVal) = 0;
  virtual HRESULT put_RoughnessRoseFile(BSTR newVal) = 0;
  virtual HRESULT get_ObstaclesDataFile(BSTR* pVal) = 0;
  virtual HRESULT put_ObstaclesDataFile(BSTR newVal) = 0;
  virtual HRESULT get_AtlasFile(BSTR* pVal) = 0;
  virtual HRESULT put_AtlasFile(BSTR newVal) = 0;
  virtual HRESULT CalculateResults(double x, double y, IKaviSiteResults** pVal) = 0;
};

struct IKaviRIXCalculator : IKaviConfigurable {
  virtual HRESULT get_MapFile(BSTR* pVal) = 0;
  virtual HRESULT put_MapFile(BSTR newVal) = 0;
  virtual HRESULT RIX(double x, double y, double* pVal) = 0;
};

}  // namespace kavi

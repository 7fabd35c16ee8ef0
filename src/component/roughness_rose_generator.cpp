#include "component/roughness_rose_generator.h"

#include <kavi/dispids.h>
#include <kavi/runtime.h>

#include "component/dispatch_member.h"

namespace kavi::component {

const CLSID& RoughnessRoseGenerator::Clsid() {
  return model::CurrentEdition().ids->RoughnessRoseGenerator;
}
const IID& RoughnessRoseGenerator::Iid() {
  return model::CurrentEdition().ids->IKaviRoughnessRoseGenerator;
}

const DispatchTable& RoughnessRoseGenerator::Table() {
  using I = IKaviRoughnessRoseGenerator;
  static const DispatchTable table({
      Get<I, &I::get_Configuration>(u"Configuration", dispid::Configuration),
      Get<I, &I::get_MapFile>(u"MapFile", dispid::RoseGenerator_MapFile),
      Put<I, &I::put_MapFile>(u"MapFile", dispid::RoseGenerator_MapFile),
      Method<I, &I::CalculateRoughnessRose, false>(u"CalculateRoughnessRose",
                                                   dispid::RoseGenerator_CalculateRoughnessRose),
  });
  return table;
}

HRESULT RoughnessRoseGenerator::CalculateRoughnessRose(BSTR OutputFileName,
                                                       std::int32_t NumberOfSectors, double x,
                                                       double y) noexcept {
  // Refused before anything is loaded: the rose arrays hold at most 36 sectors.
  if (NumberOfSectors < 1 || NumberOfSectors > numerics::kMaxSectors)
    return Refuse("NumberOfSectors must be between 1 and 36");
  if (!OutputFileName) return Refuse("No output file name given for the roughness rose");
  return RunCalculation([&] {
    CopyParameters();
    model_->Reset();
    if (!mapFile_.HasValue()) return NotSpecified("Map file not specified");
    model_->CVemoMap::Load(mapFile_.Narrow());
    model_->SetSitePosition(static_cast<float>(x), static_cast<float>(y));
    model_->WriteRoughnessRose(Utf16ToNarrow(OutputFileName, SysStringLen(OutputFileName)),
                               NumberOfSectors);
    return S_OK;
  });
}

}  // namespace kavi::component

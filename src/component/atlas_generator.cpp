#include "component/atlas_generator.h"

#include <kavi/dispids.h>
#include <kavi/runtime.h>

#include "component/dispatch_member.h"

namespace kavi::component {

const CLSID& AtlasGenerator::Clsid() { return model::CurrentEdition().ids->AtlasGenerator; }
const IID& AtlasGenerator::Iid() { return model::CurrentEdition().ids->IKaviAtlasGenerator; }

const DispatchTable& AtlasGenerator::Table() {
  using I = IKaviAtlasGenerator;
  static const DispatchTable table = [] {
    std::vector<DispatchMember> members = SiteMembers();
    members.push_back(Get<I, &I::get_TabFile>(u"TabFile", dispid::TabFile));
    members.push_back(Put<I, &I::put_TabFile>(u"TabFile", dispid::TabFile));
    members.push_back(
        Method<I, &I::CalculateAtlas, false>(u"CalculateAtlas", dispid::CalculateAtlas));
    return DispatchTable(std::move(members));
  }();
  return table;
}

HRESULT AtlasGenerator::CalculateAtlas(double x, double y, BSTR AtlasFileName) noexcept {
  if (!AtlasFileName) return Refuse("No atlas file name given");
  if (const HRESULT h = RefuseUnusableHeight(); FAILED(h)) return h;
  return RunCalculation([&] {
    CopyParameters();
    model_->Reset();
    if (!mapFile_.HasValue()) return NotSpecified("Map file not specified");
    model_->CVemoMap::Load(mapFile_.Narrow());
    if (tabFile_.HasValue()) model_->histogram().Load(tabFile_.Narrow());
    if (roseFile_.HasValue()) model_->CRoughnessRose::Load(roseFile_.Narrow());
    if (obstaclesFile_.HasValue()) model_->CShelterModel::Load(obstaclesFile_.Narrow());
    model_->SetSite(static_cast<float>(x), static_cast<float>(y), static_cast<float>(heightAGL_));
    model_->Calculate();
    model_->atlas().Save(Utf16ToNarrow(AtlasFileName, SysStringLen(AtlasFileName)));
    return S_OK;
  });
}

}  // namespace kavi::component

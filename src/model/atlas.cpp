#include "model/atlas.h"

#include "model/check_status.h"
#include "model/exceptions.h"

namespace kavi::model {

void CAtlas::Reset() { throw NotImplemented("CAtlas::Reset (atlas file)"); }

void CAtlas::Load(const std::string& file) {
  (void)file;
  throw NotImplemented("CAtlas::Load (atlas file)");
}

void CAtlas::Save(const std::string& file) const {
  (void)file;
  throw NotImplemented("CAtlas::Save (atlas file)");
}

}  // namespace kavi::model

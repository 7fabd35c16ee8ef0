#include "model/shelter_model.h"

#include "model/check_status.h"
#include "model/exceptions.h"

namespace kavi::model {

void CShelterModel::Load(const std::string& file) {
  (void)file;
  throw NotImplemented("CShelterModel::Load (obstacles)");
}

void CShelterModel::Calculate() {
  if (notLoaded_) return;
  throw NotImplemented("CShelterModel::Calculate (shelter model)");
}

}  // namespace kavi::model

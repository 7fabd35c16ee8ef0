#include "model/edition.h"

namespace kavi::model {

const Edition& CurrentEdition() {
  static const Edition edition = {
      "Kavicalc", "1.5.5.0", "Kavicalc: ", &kKavicalcIdentities, 500000, 5.0f, 1.5f, 9.0f, 10.0f,
      1,          3};
  return edition;
}

}  // namespace kavi::model

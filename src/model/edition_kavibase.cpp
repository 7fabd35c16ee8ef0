#include "model/edition.h"

namespace kavi::model {

const Edition& CurrentEdition() {
  static const Edition edition = {
      "Kavibase", "1.0.0.13", "Kavibase: ", &kKavibaseIdentities, 1000000, 4.0f, 1.0f, 6.0f, 7.0f,
      1,          0};
  return edition;
}

}  // namespace kavi::model

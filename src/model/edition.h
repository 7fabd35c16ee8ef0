// Everything that differs between the two editions built from these sources.
// Exactly one edition translation unit is linked into each library; no other
// file asks which edition it is.
#pragma once

#include <kavi/identities.h>

namespace kavi::model {

struct Edition {
  const char* name;           // "Kavicalc" or "Kavibase"
  const char* version;        // file and product version text
  const char* messagePrefix;  // prefix of the numerical status messages
  const Identities* ids;
  int mapCapacity;  // entries in each of the two map arrays
  // Table defaults of NUMSTDR, STDR5, RNUMSECT and MAXRC.
  float defaultNumStdRoughness;
  float defaultStdRoughness5;
  float defaultRoseSubSectors;
  float defaultMaxRoughnessChanges;
  unsigned short typeLibraryMajor;
  unsigned short typeLibraryMinor;
};

const Edition& CurrentEdition();

}  // namespace kavi::model

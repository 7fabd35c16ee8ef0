// ProgID <-> class identifier lookups in the registry, as registration writes them.
#include <gtest/gtest.h>
#include <kavi/identities.h>
#include <kavi/runtime.h>

#include "runtime/support/scratch_registry.h"

using namespace kavi;

namespace {

class ProgId : public kavi::testing::ScratchRegistry {
 protected:
  // The entries registration writes for one class.
  static void Register(const char* progId, const CLSID& clsid) {
    const std::string id = GuidToString(clsid);
    const std::string versioned = std::string(progId) + ".1";
    RegSetValue(versioned.c_str(), nullptr, "AtlasUser Class");
    RegSetValue((versioned + "\\CLSID").c_str(), nullptr, id.c_str());
    RegSetValue(progId, nullptr, "AtlasUser Class");
    RegSetValue((std::string(progId) + "\\CLSID").c_str(), nullptr, id.c_str());
    RegSetValue((std::string(progId) + "\\CurVer").c_str(), nullptr, versioned.c_str());
    RegSetValue(("CLSID\\" + id).c_str(), nullptr, "AtlasUser Class");
    RegSetValue(("CLSID\\" + id + "\\ProgID").c_str(), nullptr, versioned.c_str());
    RegSetValue(("CLSID\\" + id + "\\VersionIndependentProgID").c_str(), nullptr, progId);
  }
  static std::u16string ProgIdOf(const CLSID& clsid, HRESULT expected = S_OK) {
    LPOLESTR text = reinterpret_cast<LPOLESTR>(1);
    EXPECT_EQ(ProgIDFromCLSID(clsid, &text), expected);
    if (!text) return u"(none)";
    std::u16string result(text);
    CoTaskMemFree(text);
    return result;
  }
};

const CLSID& kAtlasUser = kKavicalcIdentities.AtlasUser;

}  // namespace

TEST_F(ProgId, ClassToProgId) {
  EXPECT_EQ(ProgIdOf(kAtlasUser, REGDB_E_CLASSNOTREG), u"(none)");
  Register("Kavicalc.AtlasUser", kAtlasUser);
  EXPECT_EQ(ProgIdOf(kAtlasUser), u"Kavicalc.AtlasUser.1");
  EXPECT_EQ(ProgIdOf(kKavicalcIdentities.AtlasGenerator, REGDB_E_CLASSNOTREG), u"(none)");
  // A class key written with a lower-case identifier is the same key.
  std::string lower = GuidToString(kKavicalcIdentities.RIXCalculator);
  for (char& c : lower) c = static_cast<char>(std::tolower(c));
  RegSetValue(("CLSID\\" + lower + "\\ProgID").c_str(), nullptr, "Kavicalc.RIXCalculator.1");
  EXPECT_EQ(ProgIdOf(kKavicalcIdentities.RIXCalculator), u"Kavicalc.RIXCalculator.1");
  EXPECT_EQ(ProgIDFromCLSID(kAtlasUser, nullptr), E_INVALIDARG);
}

TEST_F(ProgId, ProgIdToClassFollowsCurVer) {
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(u"Kavicalc.AtlasUser", &clsid), CO_E_CLASSSTRING);
  Register("Kavicalc.AtlasUser", kAtlasUser);
  ASSERT_EQ(CLSIDFromProgID(u"Kavicalc.AtlasUser", &clsid), S_OK);
  EXPECT_EQ(clsid, kAtlasUser);
  clsid = GUID_NULL;
  ASSERT_EQ(CLSIDFromProgID(u"kavicalc.atlasuser.1", &clsid), S_OK);
  EXPECT_EQ(clsid, kAtlasUser);

  // The current version wins over the version-independent key's own CLSID.
  RegSetValue("Kavicalc.AtlasUser.2\\CLSID", nullptr,
              GuidToString(kKavibaseIdentities.AtlasUser).c_str());
  RegSetValue("Kavicalc.AtlasUser\\CurVer", nullptr, "Kavicalc.AtlasUser.2");
  ASSERT_EQ(CLSIDFromProgID(u"Kavicalc.AtlasUser", &clsid), S_OK);
  EXPECT_EQ(clsid, kKavibaseIdentities.AtlasUser);
  // A CurVer naming nothing usable falls back to the key's own CLSID.
  RegSetValue("Kavicalc.AtlasUser\\CurVer", nullptr, "Kavicalc.AtlasUser.9");
  ASSERT_EQ(CLSIDFromProgID(u"Kavicalc.AtlasUser", &clsid), S_OK);
  EXPECT_EQ(clsid, kAtlasUser);
  RegSetValue("Kavicalc.AtlasUser\\CurVer", nullptr, "CLSID\\{bad}");
  ASSERT_EQ(CLSIDFromProgID(u"Kavicalc.AtlasUser", &clsid), S_OK);
  EXPECT_EQ(clsid, kAtlasUser);
}

TEST_F(ProgId, UnknownOrMalformedProgIds) {
  Register("Kavicalc.AtlasUser", kAtlasUser);
  RegSetValue("Broken\\CLSID", nullptr, "not a guid");
  const CLSID before = kKavicalcIdentities.AtlasGenerator;
  for (const char16_t* bad : {u"Broken", u"Kavicalc.Nothing", u"", u"Kavicalc.AtlasUser\\CLSID",
                              u"\\Kavicalc.AtlasUser", u"CLSID"}) {
    CLSID clsid = before;
    EXPECT_EQ(CLSIDFromProgID(bad, &clsid), CO_E_CLASSSTRING) << Utf16ToNarrow(bad, 30);
    EXPECT_EQ(clsid, before);
  }
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(nullptr, &clsid), E_INVALIDARG);
  EXPECT_EQ(CLSIDFromProgID(u"Kavicalc.AtlasUser", nullptr), E_INVALIDARG);
}

TEST_F(ProgId, DamagedRegistryIsReportedNotMistakenForUnregistered) {
  WriteFile("Kavi registry 1\n[Kavicalc.AtlasUser]\n");
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(u"Kavicalc.AtlasUser", &clsid), REGDB_E_READREGDB);
  EXPECT_NE(ErrorDescription().find(path_), std::string::npos);
  EXPECT_EQ(ProgIdOf(kAtlasUser, REGDB_E_READREGDB), u"(none)");
}

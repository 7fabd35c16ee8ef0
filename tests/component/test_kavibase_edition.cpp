// The earlier edition: its own identities, ProgIDs and parameter defaults.
#include <gtest/gtest.h>

#include "support/host.h"

namespace kavi::test {
namespace {

TEST(KavibaseEdition, HasItsOwnIdentitiesAndDefaults) {
  const Server& server = Kavibase();
  const Identities& ids = *server.ids;
  CLSID clsid{};
  ASSERT_EQ(CLSIDFromProgID(u"KAVIBASE.AtlasUser", &clsid), S_OK);
  EXPECT_EQ(GuidToString(clsid), "{45F19184-4058-11D3-A1BD-00105A42872D}");
  ComPtr<IKaviAtlasUser> user = Create<IKaviAtlasUser>("KAVIBASE.AtlasUser", ids.IKaviAtlasUser);
  ASSERT_TRUE(user);
  ComPtr<IUnknown> p;
  EXPECT_EQ(user->QueryInterface(kKavicalcIdentities.IKaviAtlasUser, p.putVoid()), E_NOINTERFACE);

  ComPtr<IKaviConfiguration> configuration;
  ASSERT_EQ(user->get_Configuration(configuration.put()), S_OK);
  struct Default {
    const char* id;
    float value;
  } defaults[] = {{"NUMSTDR", 4}, {"STDR5", 1.0f}, {"RNUMSECT", 6}, {"MAXRC", 7}, {"STDH5", 200}};
  for (const Default& d : defaults) {
    ComPtr<IKaviParameter> parameter;
    ASSERT_EQ(configuration->get_Item(Bstr(d.id).get(), parameter.put()), S_OK);
    VARIANT v;
    ASSERT_EQ(parameter->get_DefaultValue(&v), S_OK);
    VARIANT real;
    VariantInit(&real);
    ASSERT_EQ(VariantChangeType(&real, &v, 0, VT_R4), S_OK);
    EXPECT_FLOAT_EQ(real.fltVal, d.value) << d.id;
  }

  ComPtr<IKaviSiteResults> results;
  EXPECT_EQ(user->CalculateResults(0, 0, results.put()), DISP_E_EXCEPTION);
  ErrorDetails error = TakeErrorInfo();
  EXPECT_EQ(error.source, "KAVIBASE.AtlasUser.1");
  EXPECT_EQ(error.description, "Map file not specified");

  // Both editions live side by side in one registry.
  Kavicalc();
  ASSERT_EQ(CLSIDFromProgID(u"Kavicalc.AtlasUser", &clsid), S_OK);
  EXPECT_EQ(clsid, kKavicalcIdentities.AtlasUser);
  ASSERT_EQ(CLSIDFromProgID(u"KAVIBASE.AtlasUser", &clsid), S_OK);
  EXPECT_EQ(clsid, ids.AtlasUser);
}

}  // namespace
}  // namespace kavi::test

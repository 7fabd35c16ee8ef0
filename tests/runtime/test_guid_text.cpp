// Identifiers as text.
#include <gtest/gtest.h>
#include <kavi/identities.h>
#include <kavi/runtime.h>

using namespace kavi;

TEST(GuidText, WrittenUpperCaseWithBraces) {
  OLECHAR text[39];
  ASSERT_EQ(StringFromGUID2(IID_IDispatch, text, 39), 39);
  EXPECT_EQ(std::u16string(text), u"{00020400-0000-0000-C000-000000000046}");
  EXPECT_EQ(GuidToString(kKavicalcIdentities.AtlasUser), "{02DBFD12-B9C3-4D95-A04C-2E4737D3E6A5}");
  EXPECT_EQ(GuidToString(IID_IErrorInfo), "{1CF2B120-547D-101B-8E65-08002B2BD119}");
  EXPECT_EQ(GuidToString(GUID_NULL), "{00000000-0000-0000-0000-000000000000}");
  text[0] = u'x';
  EXPECT_EQ(StringFromGUID2(IID_IDispatch, text, 38), 0);  // no room for the NUL
  EXPECT_EQ(text[0], u'x');
  EXPECT_EQ(StringFromGUID2(IID_IDispatch, nullptr, 39), 0);
}

TEST(GuidText, ReadInEitherCase) {
  CLSID clsid{};
  ASSERT_EQ(CLSIDFromString(u"{02dbfd12-b9c3-4d95-a04c-2e4737d3e6a5}", &clsid), S_OK);
  EXPECT_EQ(clsid, kKavicalcIdentities.AtlasUser);
  ASSERT_EQ(CLSIDFromString(u"{45F19184-4058-11d3-A1bd-00105A42872D}", &clsid), S_OK);
  EXPECT_EQ(clsid, kKavibaseIdentities.AtlasUser);
  GUID guid{};
  ASSERT_TRUE(GuidFromString("{7224749f-DC27-4E00-9023-DA46307B85C9}", guid));
  EXPECT_EQ(guid, kKavicalcIdentities.TypeLibrary);
  // Every identity survives the round trip.
  for (const GUID& g : {kKavicalcIdentities.RIXCalculator, kKavibaseIdentities.IKaviSectorInfo,
                        IID_ISupportErrorInfo}) {
    ASSERT_TRUE(GuidFromString(GuidToString(g), guid));
    EXPECT_EQ(guid, g);
  }
}

TEST(GuidText, MalformedTextIsRefused) {
  const CLSID before = kKavicalcIdentities.AtlasGenerator;
  for (const char16_t* bad : {u"02DBFD12-B9C3-4D95-A04C-2E4737D3E6A5",     // no braces
                              u"{02DBFD12-B9C3-4D95-A04C-2E4737D3E6A5",    // no closing brace
                              u"{02DBFD12-B9C3-4D95-A04C-2E4737D3E6A5}x",  // trailing text
                              u"{02DBFD12-B9C3-4D95-A04C2E4737D3E6A5-}",   // dash misplaced
                              u"{02DBFD12-B9C3-4D95-A04C-2E4737D3E6AG}",   // not hex
                              u"{02DBFD1-2B9C3-4D95-A04C-2E4737D3E6A5}",   // groups shifted
                              u"{+2DBFD12-B9C3-4D95-A04C-2E4737D3E6A5}",   // sign is not a digit
                              u"{}", u"", u"Kavicalc.AtlasUser"}) {
    CLSID clsid = before;
    EXPECT_EQ(CLSIDFromString(bad, &clsid), CO_E_CLASSSTRING) << Utf16ToNarrow(bad, 40);
    EXPECT_EQ(clsid, before);
  }
  GUID guid{};
  EXPECT_FALSE(GuidFromString("{02DBFD12-B9C3-4D95-A04C-2E4737D3E6A5 ", guid));
  EXPECT_FALSE(GuidFromString(std::string("{02DBFD12-B9C3-4D95-A04C-2E4737D3E6A5}\0", 39), guid));
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromString(nullptr, &clsid), E_INVALIDARG);
  EXPECT_EQ(CLSIDFromString(u"{02DBFD12-B9C3-4D95-A04C-2E4737D3E6A5}", nullptr), E_INVALIDARG);
}

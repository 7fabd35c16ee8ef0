// The checks a calculation makes before the numerical work, the string
// properties, and late-bound access through IDispatch.
#include <gtest/gtest.h>
#include <kavi/dispids.h>

#include "support/host.h"

namespace kavi::test {
namespace {

const Identities& ids() { return *Kavicalc().ids; }

TEST(CalculationSteps, MissingMapIsReportedWithTheClassAsSource) {
  Kavicalc();
  ComPtr<IKaviAtlasUser> user = Create<IKaviAtlasUser>("Kavicalc.AtlasUser", ids().IKaviAtlasUser);
  ComPtr<IKaviSiteResults> results;
  EXPECT_EQ(user->CalculateResults(0, 0, results.put()), DISP_E_EXCEPTION);
  ErrorDetails error = TakeErrorInfo();
  EXPECT_TRUE(error.present);
  EXPECT_EQ(error.description, "Map file not specified");
  EXPECT_EQ(error.source, "Kavicalc.AtlasUser.1");
  EXPECT_EQ(error.guid, GUID_NULL);
  EXPECT_FALSE(results);

  ComPtr<IKaviAtlasGenerator> generator =
      Create<IKaviAtlasGenerator>("Kavicalc.AtlasGenerator", ids().IKaviAtlasGenerator);
  EXPECT_EQ(generator->CalculateAtlas(0, 0, Bstr("out.lib").get()), DISP_E_EXCEPTION);
  error = TakeErrorInfo();
  EXPECT_EQ(error.description, "Map file not specified");
  EXPECT_EQ(error.source, "Kavicalc.AtlasGenerator.1");

  ComPtr<IKaviRoughnessRoseGenerator> rose = Create<IKaviRoughnessRoseGenerator>(
      "Kavicalc.RoughnessRoseGenerator", ids().IKaviRoughnessRoseGenerator);
  EXPECT_EQ(rose->CalculateRoughnessRose(Bstr("out.rrd").get(), 12, 0, 0), DISP_E_EXCEPTION);
  error = TakeErrorInfo();
  EXPECT_EQ(error.description, "Map file not specified");
  EXPECT_EQ(error.source, "Kavicalc.RoughnessRoseGenerator.1");
}

TEST(CalculationSteps, OutOfRangeArgumentsAreRefusedBeforeAnythingIsLoaded) {
  Kavicalc();
  ComPtr<IKaviRoughnessRoseGenerator> rose = Create<IKaviRoughnessRoseGenerator>(
      "Kavicalc.RoughnessRoseGenerator", ids().IKaviRoughnessRoseGenerator);
  for (int n : {0, -1, 37}) {
    EXPECT_EQ(rose->CalculateRoughnessRose(Bstr("out.rrd").get(), n, 0, 0), E_INVALIDARG);
    ErrorDetails error = TakeErrorInfo();
    EXPECT_NE(error.description.find("between 1 and 36"), std::string::npos);
    EXPECT_EQ(error.source, "Kavicalc.RoughnessRoseGenerator.1");
    EXPECT_EQ(error.guid, ids().IKaviRoughnessRoseGenerator);
  }
  EXPECT_EQ(rose->CalculateRoughnessRose(nullptr, 12, 0, 0), E_INVALIDARG);
  EXPECT_NE(TakeErrorInfo().description.find("output file"), std::string::npos);

  ComPtr<IKaviAtlasGenerator> generator =
      Create<IKaviAtlasGenerator>("Kavicalc.AtlasGenerator", ids().IKaviAtlasGenerator);
  EXPECT_EQ(generator->CalculateAtlas(0, 0, nullptr), E_INVALIDARG);
  EXPECT_NE(TakeErrorInfo().description.find("atlas file"), std::string::npos);
}

TEST(CalculationSteps, StringAndHeightProperties) {
  Kavicalc();
  ComPtr<IKaviAtlasGenerator> g =
      Create<IKaviAtlasGenerator>("Kavicalc.AtlasGenerator", ids().IKaviAtlasGenerator);
  Bstr value;
  EXPECT_EQ(g->get_TabFile(value.put()), S_OK);
  EXPECT_EQ(value.get(), nullptr);
  EXPECT_EQ(g->get_TabFile(nullptr), E_POINTER);
  EXPECT_EQ(g->put_TabFile(Bstr("station.tab").get()), S_OK);
  EXPECT_EQ(g->get_TabFile(value.put()), S_OK);
  EXPECT_EQ(value.narrow(), "station.tab");
  // Text after an embedded NUL is not part of the value.
  EXPECT_EQ(g->put_MapFile(Bstr(std::u16string(u"a.map\0b", 7)).get()), S_OK);
  EXPECT_EQ(g->get_MapFile(value.put()), S_OK);
  EXPECT_EQ(value.narrow(), "a.map");
  EXPECT_EQ(g->put_TabFile(nullptr), S_OK);
  EXPECT_EQ(g->get_TabFile(value.put()), S_OK);
  EXPECT_EQ(value.get(), nullptr);

  double height = 0;
  EXPECT_EQ(g->get_HeightAGL(&height), S_OK);
  EXPECT_EQ(height, 10.0);
  EXPECT_EQ(g->put_HeightAGL(-3.25), S_OK);  // stored as given, no range
  EXPECT_EQ(g->get_HeightAGL(&height), S_OK);
  EXPECT_EQ(height, -3.25);
  EXPECT_EQ(g->get_HeightAGL(nullptr), E_POINTER);
}

TEST(CalculationSteps, LateBoundAccessThroughDispatch) {
  Kavicalc();
  ComPtr<IDispatch> user = Create<IDispatch>("Kavicalc.AtlasUser", IID_IDispatch);
  ASSERT_TRUE(user);
  DISPID id = 0;
  LPOLESTR name = const_cast<LPOLESTR>(u"mapfile");  // names ignore case
  ASSERT_EQ(user->GetIDsOfNames(GUID_NULL, &name, 1, 0, &id), S_OK);
  EXPECT_EQ(id, dispid::MapFile);
  name = const_cast<LPOLESTR>(u"CalculateResults");
  ASSERT_EQ(user->GetIDsOfNames(GUID_NULL, &name, 1, 0, &id), S_OK);
  EXPECT_EQ(id, dispid::CalculateResults);
  name = const_cast<LPOLESTR>(u"NoSuchMember");
  EXPECT_EQ(user->GetIDsOfNames(GUID_NULL, &name, 1, 0, &id), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(id, DISPID_UNKNOWN);

  // Property put with the named argument, then get; the number converts.
  VARIANT arg = MakeVariantString("42.5");
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS put{&arg, &putId, 1, 1};
  ASSERT_EQ(user->Invoke(dispid::HeightAGL, GUID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr,
                         nullptr, nullptr),
            S_OK);
  VariantClear(&arg);
  VARIANT result;
  VariantInit(&result);
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  ASSERT_EQ(user->Invoke(dispid::HeightAGL, GUID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result,
                         nullptr, nullptr),
            S_OK);
  EXPECT_EQ(result.vt, VT_R8);
  EXPECT_EQ(result.dblVal, 42.5);

  // A failing call gives DISP_E_EXCEPTION with the error information.
  VARIANT args[2] = {MakeVariantR8(2.0), MakeVariantR8(1.0)};  // last argument first
  DISPPARAMS call{args, nullptr, 2, 0};
  EXCEPINFO exception{};
  std::uint32_t argError = 99;
  ASSERT_EQ(user->Invoke(dispid::CalculateResults, GUID_NULL, 0, DISPATCH_METHOD, &call, &result,
                         &exception, &argError),
            DISP_E_EXCEPTION);
  EXPECT_EQ(exception.scode, DISP_E_EXCEPTION);
  EXPECT_EQ(Utf16ToNarrow(exception.bstrDescription, SysStringLen(exception.bstrDescription)),
            "Map file not specified");
  EXPECT_EQ(Utf16ToNarrow(exception.bstrSource, SysStringLen(exception.bstrSource)),
            "Kavicalc.AtlasUser.1");
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrSource);

  // Wrong counts and unconvertible arguments are refused without a call.
  DISPPARAMS one{args, nullptr, 1, 0};
  EXPECT_EQ(user->Invoke(dispid::CalculateResults, GUID_NULL, 0, DISPATCH_METHOD, &one, &result,
                         nullptr, nullptr),
            DISP_E_BADPARAMCOUNT);
  VARIANT bad[2] = {MakeVariantString("north"), MakeVariantR8(1.0)};
  DISPPARAMS badCall{bad, nullptr, 2, 0};
  EXPECT_EQ(user->Invoke(dispid::CalculateResults, GUID_NULL, 0, DISPATCH_METHOD, &badCall, &result,
                         nullptr, &argError),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argError, 0u);
  VariantClear(&bad[0]);
  EXPECT_EQ(user->Invoke(0x12345, GUID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(user->Invoke(dispid::HeightAGL, IID_IUnknown, 0, DISPATCH_PROPERTYGET, &none, &result,
                         nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);

  // The configuration is reached late-bound as well.
  ASSERT_EQ(user->Invoke(dispid::Configuration, GUID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result,
                         nullptr, nullptr),
            S_OK);
  ASSERT_EQ(result.vt, VT_DISPATCH);
  ComPtr<IDispatch> configuration(result.pdispVal);
  VARIANT itemId = MakeVariantString("maxrc");
  DISPPARAMS item{&itemId, nullptr, 1, 0};
  exception = EXCEPINFO{};
  EXPECT_EQ(configuration->Invoke(dispid::Configuration_Item, GUID_NULL, 0,
                                  DISPATCH_METHOD | DISPATCH_PROPERTYGET, &item, &result,
                                  &exception, nullptr),
            DISP_E_EXCEPTION);
  EXPECT_EQ(Utf16ToNarrow(exception.bstrDescription, SysStringLen(exception.bstrDescription)),
            "Parameter ID not found.");
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrSource);
  VariantClear(&itemId);
}

}  // namespace
}  // namespace kavi::test

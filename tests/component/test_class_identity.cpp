// Identity of the component objects as a host sees it: which interfaces they
// answer, error-information support, aggregation, factories and lifetime.
#include <gtest/gtest.h>

#include "support/host.h"

namespace kavi::test {
namespace {

const Identities& ids() { return *Kavicalc().ids; }

TEST(ClassIdentity, EachClassAnswersOnlyItsOwnInterfaces) {
  const Server& server = Kavicalc();
  (void)server;
  struct Case {
    const char* progId;
    IID own;
    IID other;
  } cases[] = {
      {"Kavicalc.RoughnessRoseGenerator", ids().IKaviRoughnessRoseGenerator, ids().IKaviAtlasUser},
      {"Kavicalc.AtlasGenerator", ids().IKaviAtlasGenerator, ids().IKaviAtlasUser},
      {"Kavicalc.AtlasUser", ids().IKaviAtlasUser, ids().IKaviAtlasGenerator},
      {"Kavicalc.RIXCalculator", ids().IKaviRIXCalculator, ids().IKaviAtlasUser},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.progId);
    ComPtr<IUnknown> object = Create<IUnknown>(c.progId, IID_IUnknown);
    ASSERT_TRUE(object);
    ComPtr<IUnknown> p;
    EXPECT_EQ(object->QueryInterface(c.own, p.putVoid()), S_OK);
    EXPECT_EQ(object->QueryInterface(IID_IDispatch, p.putVoid()), S_OK);
    EXPECT_EQ(object->QueryInterface(ids().IKaviConfigurable, p.putVoid()), E_NOINTERFACE);
    EXPECT_FALSE(p);
    EXPECT_EQ(object->QueryInterface(c.other, p.putVoid()), E_NOINTERFACE);
    EXPECT_EQ(object->QueryInterface(IID_IClassFactory, p.putVoid()), E_NOINTERFACE);
    EXPECT_EQ(object->QueryInterface(c.own, nullptr), E_POINTER);

    // Every interface leads back to one IUnknown identity.
    ComPtr<IUnknown> again, viaDispatch;
    ASSERT_EQ(object->QueryInterface(IID_IDispatch, p.putVoid()), S_OK);
    ASSERT_EQ(p->QueryInterface(IID_IUnknown, viaDispatch.putVoid()), S_OK);
    EXPECT_EQ(viaDispatch.get(), object.get());

    ComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(object->QueryInterface(IID_ISupportErrorInfo, support.putVoid()), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(c.own), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(c.other), S_FALSE);
  }
}

TEST(ClassIdentity, FactoriesAggregationAndServerLocks) {
  const Server& server = Kavicalc();
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(server.getClassObject(ids().AtlasUser, IID_IClassFactory, factory.putVoid()), S_OK);
  IUnknown* none = nullptr;
  EXPECT_EQ(server.getClassObject(ids().IKaviAtlasUser, IID_IClassFactory,
                                  reinterpret_cast<void**>(&none)),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(server.canUnloadNow(), S_OK);

  // An explicit lock keeps the server loaded.
  EXPECT_EQ(factory->LockServer(1), S_OK);
  EXPECT_EQ(server.canUnloadNow(), S_FALSE);
  EXPECT_EQ(factory->LockServer(0), S_OK);
  EXPECT_EQ(server.canUnloadNow(), S_OK);

  // Aggregation: only the inner IUnknown may be asked for, and the inner
  // object's interfaces delegate their counts to the outer object.
  struct Outer : IUnknown {
    ULONG refs = 1;
    IUnknown* inner = nullptr;
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
      if (riid == IID_IUnknown) {
        *ppv = this;
        AddRef();
        return S_OK;
      }
      return inner->QueryInterface(riid, ppv);
    }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
  } outer;
  void* p = nullptr;
  EXPECT_EQ(factory->CreateInstance(&outer, ids().IKaviAtlasUser, &p), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(p, nullptr);
  ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)),
            S_OK);
  IKaviAtlasUser* user = nullptr;
  ASSERT_EQ(outer.inner->QueryInterface(ids().IKaviAtlasUser, reinterpret_cast<void**>(&user)),
            S_OK);
  EXPECT_EQ(outer.refs, 2u);  // the inner object's interface counted on the outer
  IUnknown* identity = nullptr;
  ASSERT_EQ(user->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
  EXPECT_EQ(identity, &outer);
  identity->Release();
  user->Release();
  EXPECT_EQ(server.canUnloadNow(), S_FALSE);
  outer.inner->Release();  // the non-delegating count destroys the object
  EXPECT_EQ(server.canUnloadNow(), S_OK);
}

TEST(ClassIdentity, HeldConfigurationAndParametersKeepTheirOwnerAlive) {
  const Server& server = Kavicalc();
  ComPtr<IKaviAtlasUser> user = Create<IKaviAtlasUser>("Kavicalc.AtlasUser", ids().IKaviAtlasUser);
  ASSERT_TRUE(user);
  ComPtr<IKaviConfiguration> first, second;
  ASSERT_EQ(user->get_Configuration(first.put()), S_OK);
  ASSERT_EQ(user->get_Configuration(second.put()), S_OK);
  EXPECT_EQ(first.get(), second.get());
  EXPECT_EQ(user->get_Configuration(nullptr), E_POINTER);
  second.Reset();

  ComPtr<IKaviParameter> parameter;
  ASSERT_EQ(first->get_Item(Bstr("STDH3").get(), parameter.put()), S_OK);
  ComPtr<IUnknown> enumerator;
  ASSERT_EQ(first->get_EnumParameters(enumerator.put()), S_OK);
  user.Reset();
  first.Reset();
  EXPECT_EQ(server.canUnloadNow(), S_FALSE);  // alive through the parameter and enumerator
  VARIANT v;
  ASSERT_EQ(parameter->get_Value(&v), S_OK);
  EXPECT_EQ(v.vt, VT_R4);
  EXPECT_FLOAT_EQ(v.fltVal, 50.0f);
  parameter.Reset();
  EXPECT_EQ(server.canUnloadNow(), S_FALSE);
  enumerator.Reset();
  EXPECT_EQ(server.canUnloadNow(), S_OK);
}

TEST(ClassIdentity, RegistrationWritesAndRemovesTheClassEntries) {
  const Server& server = Kavicalc();
  CLSID clsid{};
  ASSERT_EQ(CLSIDFromProgID(u"Kavicalc.AtlasUser", &clsid), S_OK);  // through CurVer
  EXPECT_EQ(clsid, ids().AtlasUser);
  ASSERT_EQ(CLSIDFromProgID(u"Kavicalc.RoughnessRoseGenerator.1", &clsid), S_OK);
  EXPECT_EQ(clsid, ids().RoughnessRoseGenerator);
  LPOLESTR progId = nullptr;
  ASSERT_EQ(ProgIDFromCLSID(ids().AtlasGenerator, &progId), S_OK);
  EXPECT_EQ(std::u16string(progId), u"Kavicalc.AtlasGenerator.1");
  CoTaskMemFree(progId);

  const std::string key = "CLSID\\" + GuidToString(ids().AtlasUser);
  char* value = nullptr;
  ASSERT_EQ(RegGetValue((key + "\\InprocServer32").c_str(), "ThreadingModel", &value), S_OK);
  EXPECT_STREQ(value, "Apartment");
  CoTaskMemFree(value);
  ASSERT_EQ(RegGetValue((key + "\\InprocServer32").c_str(), "", &value), S_OK);
  EXPECT_NE(std::string(value).find("libkavicalc"), std::string::npos);
  CoTaskMemFree(value);
  ASSERT_EQ(RegGetValue("Kavicalc.AtlasUser\\CurVer", "", &value), S_OK);
  EXPECT_STREQ(value, "Kavicalc.AtlasUser.1");
  CoTaskMemFree(value);
  ASSERT_EQ(RegGetValue(key.c_str(), "", &value), S_OK);
  EXPECT_STREQ(value, "AtlasUser Class");
  CoTaskMemFree(value);
  EXPECT_EQ(RegKeyExists((key + "\\Programmable").c_str()), S_OK);

  EXPECT_EQ(server.unregisterServer(), S_OK);
  EXPECT_EQ(RegKeyExists("Kavicalc.AtlasUser"), S_FALSE);
  EXPECT_EQ(RegKeyExists("Kavicalc.AtlasUser.1"), S_FALSE);
  EXPECT_EQ(RegKeyExists(key.c_str()), S_FALSE);
  EXPECT_EQ(RegKeyExists("CLSID"), S_OK);
  EXPECT_NE(CLSIDFromProgID(u"Kavicalc.AtlasUser", &clsid), S_OK);
  EXPECT_EQ(server.unregisterServer(), S_OK);  // nothing left to remove: still S_OK
  EXPECT_EQ(server.registerServer(), S_OK);
  EXPECT_EQ(CLSIDFromProgID(u"Kavicalc.AtlasUser", &clsid), S_OK);
}

TEST(ClassIdentity, RixCalculatorProvidesNothingButItsMapFile) {
  Kavicalc();
  ComPtr<IKaviRIXCalculator> rix =
      Create<IKaviRIXCalculator>("Kavicalc.RIXCalculator", ids().IKaviRIXCalculator);
  ASSERT_TRUE(rix);
  double result = 42.0;
  EXPECT_EQ(rix->RIX(1.0, 2.0, &result), E_NOTIMPL);
  EXPECT_EQ(result, 42.0);
  EXPECT_EQ(rix->RIX(1.0, 2.0, nullptr), E_POINTER);
  IKaviConfiguration* configuration = reinterpret_cast<IKaviConfiguration*>(0x1);
  EXPECT_EQ(rix->get_Configuration(&configuration), E_NOTIMPL);
  EXPECT_EQ(configuration, reinterpret_cast<IKaviConfiguration*>(0x1));
  EXPECT_EQ(rix->get_Configuration(nullptr), E_POINTER);
  EXPECT_EQ(rix->put_MapFile(Bstr("hill.map").get()), S_OK);
  Bstr map;
  EXPECT_EQ(rix->get_MapFile(map.put()), S_OK);
  EXPECT_EQ(map.narrow(), "hill.map");
}

}  // namespace
}  // namespace kavi::test

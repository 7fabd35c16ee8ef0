// The configuration of a calculating object: the 30 named parameters, their
// values, conversions, ranges and enumeration.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "support/host.h"

namespace kavi::test {
namespace {

class ConfigurationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const Server& server = Kavicalc();
    user_ = Create<IKaviAtlasUser>("Kavicalc.AtlasUser", server.ids->IKaviAtlasUser);
    ASSERT_TRUE(user_);
    ASSERT_EQ(user_->get_Configuration(configuration_.put()), S_OK);
  }
  ComPtr<IKaviParameter> Item(const char* id) {
    ComPtr<IKaviParameter> p;
    EXPECT_EQ(configuration_->get_Item(Bstr(id).get(), p.put()), S_OK) << id;
    return p;
  }
  static VARIANT Value(IKaviParameter* p) {
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(p->get_Value(&v), S_OK);
    return v;
  }
  ComPtr<IKaviAtlasUser> user_;
  ComPtr<IKaviConfiguration> configuration_;
};

TEST_F(ConfigurationTest, EnumerationGivesThirtyParametersInOrdinalOrder) {
  LONG count = 0;
  ASSERT_EQ(configuration_->get_Count(&count), S_OK);
  EXPECT_EQ(count, 30);
  const std::vector<std::string> expected = {
      "AOFSNEU",  "BZAZRES", "BZINVHE", "BZSOFTN", "DYAMPLI",  "DYLAND",  "DYWATER", "MAXRADIUS",
      "MAXRC",    "NUMSTDH", "NUMSTDR", "OFSLAND", "OFSWATER", "RDECAYL", "RMSLAND", "RMSWATER",
      "RNUMSECT", "STABFAC", "STDH1",   "STDH2",   "STDH3",    "STDH4",   "STDH5",   "STDR1",
      "STDR2",    "STDR3",   "STDR4",   "STDR5",   "TRUEUPW",  "WIDTHCZ"};
  ComPtr<IUnknown> unknown;
  ASSERT_EQ(configuration_->get_EnumParameters(unknown.put()), S_OK);
  ComPtr<IEnumVARIANT> e;
  ASSERT_EQ(unknown->QueryInterface(IID_IEnumVARIANT, e.putVoid()), S_OK);

  std::vector<std::string> seen;
  VARIANT items[7];
  ULONG fetched = 0;
  HRESULT h;
  do {
    h = e->Next(7, items, &fetched);
    for (ULONG i = 0; i < fetched; ++i) {
      ASSERT_EQ(items[i].vt, VT_DISPATCH);
      ComPtr<IKaviParameter> p;
      ASSERT_EQ(items[i].pdispVal->QueryInterface(Kavicalc().ids->IKaviParameter, p.putVoid()),
                S_OK);
      Bstr id;
      ASSERT_EQ(p->get_ID(id.put()), S_OK);
      seen.push_back(id.narrow());
      VariantClear(&items[i]);
    }
  } while (h == S_OK);
  EXPECT_EQ(h, S_FALSE);
  EXPECT_EQ(seen, expected);

  // Skip, Reset and Clone keep their own positions.
  EXPECT_EQ(e->Next(1, items, nullptr), S_FALSE);
  EXPECT_EQ(e->Next(2, items, nullptr), E_POINTER);
  EXPECT_EQ(e->Reset(), S_OK);
  EXPECT_EQ(e->Skip(29), S_OK);
  ComPtr<IEnumVARIANT> clone;
  ASSERT_EQ(e->Clone(clone.put()), S_OK);
  EXPECT_EQ(e->Skip(2), S_FALSE);
  ASSERT_EQ(clone->Next(1, items, &fetched), S_OK);
  ComPtr<IKaviParameter> last;
  ASSERT_EQ(items[0].pdispVal->QueryInterface(Kavicalc().ids->IKaviParameter, last.putVoid()),
            S_OK);
  VariantClear(&items[0]);
  Bstr id;
  last->get_ID(id.put());
  EXPECT_EQ(id.narrow(), "WIDTHCZ");
}

TEST_F(ConfigurationTest, ItemLooksUpExactIdsOnly) {
  ComPtr<IKaviParameter> p;
  EXPECT_EQ(configuration_->get_Item(Bstr("maxrc").get(), p.put()), DISP_E_EXCEPTION);
  ErrorDetails error = TakeErrorInfo();
  EXPECT_TRUE(error.present);
  EXPECT_EQ(error.description, "Parameter ID not found.");
  EXPECT_EQ(error.source, "");
  EXPECT_EQ(error.guid, GUID_NULL);
  EXPECT_EQ(configuration_->get_Item(Bstr("").get(), p.put()), DISP_E_EXCEPTION);
  EXPECT_EQ(configuration_->get_Item(nullptr, p.put()), DISP_E_EXCEPTION);
  EXPECT_EQ(configuration_->get_Item(Bstr("MAXRC").get(), nullptr), E_POINTER);
  EXPECT_TRUE(Item("MAXRC"));
  BSTR none = reinterpret_cast<BSTR>(0x1);
  EXPECT_EQ(configuration_->ReportConfigurationProblems(&none), E_NOTIMPL);
  EXPECT_EQ(Item("MAXRC")->get_SupportURL(&none), E_NOTIMPL);
  EXPECT_EQ(configuration_->get_Count(nullptr), E_POINTER);
}

TEST_F(ConfigurationTest, ValuesConvertToTheirTypeAndRangesAreInclusive) {
  // A fresh configuration carries the table defaults of this edition.
  struct Default {
    const char* id;
    VARTYPE vt;
    double value;
  } defaults[] = {{"NUMSTDH", VT_I4, 5},   {"NUMSTDR", VT_I4, 5},       {"STDR5", VT_R4, 1.5},
                  {"RNUMSECT", VT_I4, 9},  {"MAXRC", VT_I4, 10},        {"STDR2", VT_R4, 0.03f},
                  {"TRUEUPW", VT_BOOL, 0}, {"MAXRADIUS", VT_R4, 20000}, {"OFSLAND", VT_R4, -40}};
  for (const Default& d : defaults) {
    SCOPED_TRACE(d.id);
    VARIANT v = Value(Item(d.id).get());
    ASSERT_EQ(v.vt, d.vt);
    if (d.vt == VT_I4) {
      EXPECT_EQ(v.lVal, static_cast<LONG>(d.value));
    } else if (d.vt == VT_R4) {
      EXPECT_FLOAT_EQ(v.fltVal, static_cast<float>(d.value));
    } else {
      EXPECT_EQ(v.boolVal, VARIANT_FALSE);
    }
  }

  ComPtr<IKaviParameter> stdh5 = Item("STDH5");
  EXPECT_EQ(stdh5->put_Value(MakeVariantR8(200.0)), S_OK);
  EXPECT_EQ(stdh5->put_Value(MakeVariantR8(200.5)), DISP_E_EXCEPTION);
  EXPECT_EQ(TakeErrorInfo().description, "Parameter value out of range");
  EXPECT_EQ(stdh5->put_Value(MakeVariantR8(4.99)), DISP_E_EXCEPTION);
  EXPECT_EQ(stdh5->put_Value(MakeVariantR8(std::numeric_limits<double>::quiet_NaN())),
            DISP_E_EXCEPTION);
  EXPECT_FLOAT_EQ(Value(stdh5.get()).fltVal, 200.0f);

  // 4.6 is stored as it is and reads back rounded by the integer conversion.
  ComPtr<IKaviParameter> numstdh = Item("NUMSTDH");
  EXPECT_EQ(numstdh->put_Value(MakeVariantR8(4.6)), S_OK);
  VARIANT v = Value(numstdh.get());
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_EQ(v.lVal, 5);
  EXPECT_EQ(numstdh->put_Value(MakeVariantR8(4.5)), S_OK);
  EXPECT_EQ(Value(numstdh.get()).lVal, 4);  // half to even

  ComPtr<IKaviParameter> stdr2 = Item("STDR2");
  VARIANT text = MakeVariantString("0.05");
  EXPECT_EQ(stdr2->put_Value(text), S_OK);
  VariantClear(&text);
  EXPECT_FLOAT_EQ(Value(stdr2.get()).fltVal, 0.05f);
  text = MakeVariantString("abc");
  EXPECT_EQ(stdr2->put_Value(text), DISP_E_TYPEMISMATCH);
  VariantClear(&text);
  EXPECT_FLOAT_EQ(Value(stdr2.get()).fltVal, 0.05f);

  // Boolean true is -1 as a number: outside 0 … 1.
  ComPtr<IKaviParameter> trueupw = Item("TRUEUPW");
  EXPECT_EQ(trueupw->put_Value(MakeVariantBool(true)), DISP_E_EXCEPTION);
  EXPECT_EQ(Value(trueupw.get()).boolVal, VARIANT_FALSE);
  EXPECT_EQ(trueupw->put_Value(MakeVariantR8(1)), S_OK);
  EXPECT_EQ(Value(trueupw.get()).boolVal, VARIANT_TRUE);

  // The default stays what it was.
  ComPtr<IKaviParameter> stdh3 = Item("STDH3");
  EXPECT_EQ(stdh3->put_Value(MakeVariantR8(75)), S_OK);
  VARIANT d;
  ASSERT_EQ(stdh3->get_DefaultValue(&d), S_OK);
  EXPECT_FLOAT_EQ(d.fltVal, 50.0f);
  EXPECT_FLOAT_EQ(Value(stdh3.get()).fltVal, 75.0f);
  VARIANT_BOOL valid = VARIANT_FALSE;
  EXPECT_EQ(stdh3->IsValueValid(&valid), S_OK);
  EXPECT_EQ(valid, VARIANT_TRUE);
}

TEST_F(ConfigurationTest, ValidRangeHoldsTheBoundsInTheParameterType) {
  SAFEARRAY* range = nullptr;
  ASSERT_EQ(Item("MAXRC")->get_ValidRange(&range), S_OK);
  ASSERT_NE(range, nullptr);
  VARTYPE vt = 0;
  EXPECT_EQ(SafeArrayGetVartype(range, &vt), S_OK);
  EXPECT_EQ(vt, VT_VARIANT);
  LONG lower = -1, upper = -1;
  SafeArrayGetLBound(range, 1, &lower);
  SafeArrayGetUBound(range, 1, &upper);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 1);
  VARIANT bound;
  for (LONG i = 0; i < 2; ++i) {
    VariantInit(&bound);
    ASSERT_EQ(SafeArrayGetElement(range, &i, &bound), S_OK);
    EXPECT_EQ(bound.vt, VT_I4);
    EXPECT_EQ(bound.lVal, i == 0 ? 1 : 10);
    VariantClear(&bound);
  }
  SafeArrayDestroy(range);
  ASSERT_EQ(Item("OFSWATER")->get_ValidRange(&range), S_OK);
  LONG zero = 0;
  VariantInit(&bound);
  SafeArrayGetElement(range, &zero, &bound);
  EXPECT_EQ(bound.vt, VT_R4);
  EXPECT_FLOAT_EQ(bound.fltVal, -200.0f);
  SafeArrayDestroy(range);
  EXPECT_EQ(Item("MAXRC")->get_ValidRange(nullptr), E_POINTER);
}

TEST_F(ConfigurationTest, EachObjectHasItsOwnConfiguration) {
  ComPtr<IKaviAtlasUser> other =
      Create<IKaviAtlasUser>("Kavicalc.AtlasUser", Kavicalc().ids->IKaviAtlasUser);
  ComPtr<IKaviConfiguration> otherConfiguration;
  ASSERT_EQ(other->get_Configuration(otherConfiguration.put()), S_OK);
  EXPECT_NE(otherConfiguration.get(), configuration_.get());
  ASSERT_EQ(Item("STDH1")->put_Value(MakeVariantR8(12)), S_OK);
  ComPtr<IKaviParameter> p;
  ASSERT_EQ(otherConfiguration->get_Item(Bstr("STDH1").get(), p.put()), S_OK);
  EXPECT_FLOAT_EQ(Value(p.get()).fltVal, 10.0f);
}

}  // namespace
}  // namespace kavi::test

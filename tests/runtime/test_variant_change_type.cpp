// Variant conversion: every (source, target) cell of the conversion table, and
// the rounding, range, text and interface rules behind the cells.
#include <gtest/gtest.h>
#include <kavi/runtime.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>

#include "runtime/support/counted_object.h"

using namespace kavi;
using kavi::testing::CountedObject;

namespace {

std::string Narrow(BSTR s) { return Utf16ToNarrow(s, SysStringLen(s)); }

// A readable description of a variant's type and value.
std::string Describe(const VARIANT& v) {
  std::ostringstream out;
  switch (v.vt) {
    case VT_EMPTY:
      return "EMPTY";
    case VT_NULL:
      return "NULL";
    case VT_I2:
      out << "I2:" << v.iVal;
      break;
    case VT_I4:
      out << "I4:" << v.lVal;
      break;
    case VT_UI1:
      out << "UI1:" << int(v.bVal);
      break;
    case VT_R4:
      out << "R4:" << v.fltVal;
      break;
    case VT_R8:
      out << "R8:" << v.dblVal;
      break;
    case VT_BOOL:
      out << "BOOL:" << v.boolVal;
      break;
    case VT_ERROR:
      out << "ERROR:" << std::hex << std::uint32_t(v.scode);
      break;
    case VT_BSTR:
      out << "BSTR:" << Narrow(v.bstrVal);
      break;
    case VT_DISPATCH:
      out << "DISPATCH:" << (v.pdispVal ? "object" : "null");
      break;
    case VT_UNKNOWN:
      out << "UNKNOWN:" << (v.punkVal ? "object" : "null");
      break;
    case VT_ARRAY | VT_VARIANT: {
      LONG upper = 0;
      SafeArrayGetUBound(v.parray, 1, &upper);
      out << "ARRAY:" << upper + 1;
      break;
    }
    default:
      out << "vt " << v.vt;
  }
  return out.str();
}

std::string Outcome(HRESULT h, const VARIANT& v) {
  if (h == DISP_E_TYPEMISMATCH) return "mismatch";
  if (h == DISP_E_OVERFLOW) return "overflow";
  if (FAILED(h)) return "failed";
  return Describe(v);
}

// Converts and describes the outcome; the result is cleared again.
std::string Convert(const VARIANT& source, VARTYPE to) {
  VARIANT result;
  VariantInit(&result);
  const HRESULT h = VariantChangeType(&result, &source, 0, to);
  const std::string outcome = Outcome(h, result);
  VariantClear(&result);
  return outcome;
}

VARIANT Real(double value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_R8;
  v.dblVal = value;
  return v;
}

VARIANT Single(float value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_R4;
  v.fltVal = value;
  return v;
}

struct Text {
  VARIANT v;
  explicit Text(const char16_t* text) {
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(text);
  }
  ~Text() { VariantClear(&v); }
};

}  // namespace

TEST(VariantChangeType, EveryCellOfTheTable) {
  CountedObject object;
  VARIANT samples[13];
  for (VARIANT& v : samples) VariantInit(&v);
  samples[1].vt = VT_NULL;
  samples[2].vt = VT_I2, samples[2].iVal = 7;
  samples[3].vt = VT_I4, samples[3].lVal = -42;
  samples[4].vt = VT_R4, samples[4].fltVal = 2.5f;
  samples[5].vt = VT_R8, samples[5].dblVal = -4.5;
  samples[6].vt = VT_BSTR, samples[6].bstrVal = SysAllocString(u" 12.5 ");
  samples[7].vt = VT_DISPATCH, samples[7].pdispVal = &object;
  samples[8].vt = VT_ERROR, samples[8].scode = DISP_E_PARAMNOTFOUND;
  samples[9].vt = VT_BOOL, samples[9].boolVal = VARIANT_TRUE;
  samples[10].vt = VT_UNKNOWN, samples[10].punkVal = &object;
  samples[11].vt = VT_UI1, samples[11].bVal = 200;
  samples[12].vt = VT_ARRAY | VT_VARIANT;
  samples[12].parray = SafeArrayCreateVector(VT_VARIANT, 0, 2);

  const VARTYPE targets[13] = {VT_EMPTY,
                               VT_NULL,
                               VT_I2,
                               VT_I4,
                               VT_R4,
                               VT_R8,
                               VT_BSTR,
                               VT_DISPATCH,
                               VT_ERROR,
                               VT_BOOL,
                               VT_UNKNOWN,
                               VT_UI1,
                               VT_ARRAY | VT_VARIANT};
  const std::string M = "mismatch", O = "overflow";
  // clang-format off
  const std::string expected[13][13] = {
    // EMPTY    NULL    I2         I4          R4         R8         BSTR          DISPATCH            ERROR    BOOL       UNKNOWN            UI1        ARRAY
    {"EMPTY",  M,      "I2:0",    "I4:0",     "R4:0",    "R8:0",    "BSTR:",      M,                  M,       "BOOL:0",  M,                 "UI1:0",   M},
    {"EMPTY",  "NULL", M,         M,          M,         M,         M,            M,                  M,       M,         M,                 M,         M},
    {"EMPTY",  M,      "I2:7",    "I4:7",     "R4:7",    "R8:7",    "BSTR:7",     M,                  M,       "BOOL:-1", M,                 "UI1:7",   M},
    {"EMPTY",  M,      "I2:-42",  "I4:-42",   "R4:-42",  "R8:-42",  "BSTR:-42",   M,                  M,       "BOOL:-1", M,                 O,         M},
    {"EMPTY",  M,      "I2:2",    "I4:2",     "R4:2.5",  "R8:2.5",  "BSTR:2.5",   M,                  M,       "BOOL:-1", M,                 "UI1:2",   M},
    {"EMPTY",  M,      "I2:-4",   "I4:-4",    "R4:-4.5", "R8:-4.5", "BSTR:-4.5",  M,                  M,       "BOOL:-1", M,                 O,         M},
    {"EMPTY",  M,      "I2:12",   "I4:12",    "R4:12.5", "R8:12.5", "BSTR: 12.5 ",M,                  M,       "BOOL:-1", M,                 "UI1:12",  M},
    {"EMPTY",  M,      M,         M,          M,         M,         M,            "DISPATCH:object",  M,       M,         "UNKNOWN:object",  M,         M},
    {"EMPTY",  M,      M,         M,          M,         M,         M,            M,                  "ERROR:80020004", M, M,                 M,         M},
    {"EMPTY",  M,      "I2:-1",   "I4:-1",    "R4:-1",   "R8:-1",   "BSTR:True",  M,                  M,       "BOOL:-1", M,                 O,         M},
    {"EMPTY",  M,      M,         M,          M,         M,         M,            "DISPATCH:object",  M,       M,         "UNKNOWN:object",  M,         M},
    {"EMPTY",  M,      "I2:200",  "I4:200",   "R4:200",  "R8:200",  "BSTR:200",   M,                  M,       "BOOL:-1", M,                 "UI1:200", M},
    {"EMPTY",  M,      M,         M,          M,         M,         M,            M,                  M,       M,         M,                 M,         "ARRAY:2"},
  };
  // clang-format on
  for (int from = 0; from < 13; ++from)
    for (int to = 0; to < 13; ++to)
      EXPECT_EQ(Convert(samples[from], targets[to]), expected[from][to])
          << Describe(samples[from]) << " to vt " << targets[to];

  EXPECT_EQ(object.ExtraReferences(), 0u);  // every converted interface was released
  VariantClear(&samples[6]);
  VariantClear(&samples[12]);
}

TEST(VariantChangeType, RealsRoundHalfToEvenAndCheckRange) {
  EXPECT_EQ(Convert(Real(4.6), VT_I4), "I4:5");
  EXPECT_EQ(Convert(Real(4.5), VT_I4), "I4:4");
  EXPECT_EQ(Convert(Real(5.5), VT_I4), "I4:6");
  EXPECT_EQ(Convert(Real(-4.5), VT_I4), "I4:-4");
  EXPECT_EQ(Convert(Real(-5.5), VT_I4), "I4:-6");
  EXPECT_EQ(Convert(Real(-4.6), VT_I4), "I4:-5");
  EXPECT_EQ(Convert(Real(0.49999999999999994), VT_I4), "I4:0");
  EXPECT_EQ(Convert(Single(3.5f), VT_I4), "I4:4");
  EXPECT_EQ(Convert(Real(2147483647.4), VT_I4), "I4:2147483647");
  EXPECT_EQ(Convert(Real(2147483647.5), VT_I4), "overflow");         // rounds to 2^31
  EXPECT_EQ(Convert(Real(-2147483648.5), VT_I4), "I4:-2147483648");  // even neighbour fits
  EXPECT_EQ(Convert(Real(-2147483649.0), VT_I4), "overflow");
  EXPECT_EQ(Convert(Real(std::nan("")), VT_I4), "overflow");
  EXPECT_EQ(Convert(Real(INFINITY), VT_I4), "overflow");
  EXPECT_EQ(Convert(Real(-INFINITY), VT_I2), "overflow");
  EXPECT_EQ(Convert(Real(32767.5), VT_I2), "overflow");
  EXPECT_EQ(Convert(Real(-32768.4), VT_I2), "I2:-32768");
  EXPECT_EQ(Convert(Real(255.5), VT_UI1), "overflow");
  EXPECT_EQ(Convert(Real(-0.5), VT_UI1), "UI1:0");
  VARIANT big;
  VariantInit(&big);
  big.vt = VT_I4;
  big.lVal = 40000;
  EXPECT_EQ(Convert(big, VT_I2), "overflow");
}

TEST(VariantChangeType, DoubleToSingleRange) {
  EXPECT_EQ(Convert(Real(1e39), VT_R4), "overflow");
  EXPECT_EQ(Convert(Real(-1e39), VT_R4), "overflow");
  VARIANT result;
  VariantInit(&result);
  const VARIANT largest = Real(std::numeric_limits<float>::max());
  ASSERT_EQ(VariantChangeType(&result, &largest, 0, VT_R4), S_OK);
  EXPECT_EQ(result.fltVal, std::numeric_limits<float>::max());
  const VARIANT tiny = Real(1e-50);  // underflows to zero, not an overflow
  ASSERT_EQ(VariantChangeType(&result, &tiny, 0, VT_R4), S_OK);
  EXPECT_EQ(result.fltVal, 0.0f);
  const VARIANT nan = Real(std::nan(""));  // not a number, but representable
  ASSERT_EQ(VariantChangeType(&result, &nan, 0, VT_R4), S_OK);
  EXPECT_TRUE(std::isnan(result.fltVal));
  const VARIANT tenth = Real(0.1);
  ASSERT_EQ(VariantChangeType(&result, &tenth, 0, VT_R4), S_OK);
  EXPECT_EQ(result.fltVal, 0.1f);  // nearest single
}

TEST(VariantChangeType, BooleansAndNumbers) {
  EXPECT_EQ(Convert(Real(0.1), VT_BOOL), "BOOL:-1");
  EXPECT_EQ(Convert(Real(-3), VT_BOOL), "BOOL:-1");
  EXPECT_EQ(Convert(Real(0.0), VT_BOOL), "BOOL:0");
  EXPECT_EQ(Convert(Real(-0.0), VT_BOOL), "BOOL:0");
  VARIANT no;
  VariantInit(&no);
  no.vt = VT_BOOL;
  no.boolVal = VARIANT_FALSE;
  EXPECT_EQ(Convert(no, VT_R4), "R4:0");
  EXPECT_EQ(Convert(no, VT_BSTR), "BSTR:False");
}

TEST(VariantChangeType, TextToNumbersInTheCLocale) {
  EXPECT_EQ(Convert(Text(u"42").v, VT_I4), "I4:42");
  EXPECT_EQ(Convert(Text(u" \t-3 ").v, VT_I4), "I4:-3");
  EXPECT_EQ(Convert(Text(u"2.5").v, VT_I4), "I4:2");
  EXPECT_EQ(Convert(Text(u"+.5e1").v, VT_R8), "R8:5");
  EXPECT_EQ(Convert(Text(u"1.").v, VT_R8), "R8:1");
  EXPECT_EQ(Convert(Text(u"1E-400").v, VT_R8), "R8:0");
  EXPECT_EQ(Convert(Text(u"1e400").v, VT_R8), "overflow");
  EXPECT_EQ(Convert(Text(u"3e38").v, VT_R4), "R4:3e+38");
  EXPECT_EQ(Convert(Text(u"4e38").v, VT_R4), "overflow");
  EXPECT_EQ(Convert(Text(u"3000000000").v, VT_I4), "overflow");
  for (const char16_t* bad : {u"abc", u"", u"   ", u"1.5x", u"1,5", u"0x10", u"inf", u"nan", u"-",
                              u".", u"1e", u"1e+", u"--1", u"1 2"})
    EXPECT_EQ(Convert(Text(bad).v, VT_R8), "mismatch") << Utf16ToNarrow(bad, 8);
  VARIANT nullText;  // a null BSTR is the empty string
  VariantInit(&nullText);
  nullText.vt = VT_BSTR;
  EXPECT_EQ(Convert(nullText, VT_I4), "mismatch");
  EXPECT_EQ(Convert(nullText, VT_BSTR), "BSTR:");
}

TEST(VariantChangeType, TextToBoolean) {
  EXPECT_EQ(Convert(Text(u"True").v, VT_BOOL), "BOOL:-1");
  EXPECT_EQ(Convert(Text(u" tRUE ").v, VT_BOOL), "BOOL:-1");
  EXPECT_EQ(Convert(Text(u"FALSE").v, VT_BOOL), "BOOL:0");
  EXPECT_EQ(Convert(Text(u"0").v, VT_BOOL), "BOOL:0");
  EXPECT_EQ(Convert(Text(u"2").v, VT_BOOL), "BOOL:-1");
  EXPECT_EQ(Convert(Text(u"yes").v, VT_BOOL), "mismatch");
  EXPECT_EQ(Convert(Text(u"Truth").v, VT_BOOL), "mismatch");
  EXPECT_EQ(Convert(Text(u"True").v, VT_I4), "mismatch");  // words only make booleans
}

TEST(VariantChangeType, NumbersToTextInShortestForm) {
  EXPECT_EQ(Convert(Single(0.03f), VT_BSTR), "BSTR:0.03");
  EXPECT_EQ(Convert(Single(200.0f), VT_BSTR), "BSTR:200");
  EXPECT_EQ(Convert(Single(1.0f / 3), VT_BSTR), "BSTR:0.3333333");
  EXPECT_EQ(Convert(Single(16777216.0f), VT_BSTR), "BSTR:1.677722E+07");
  EXPECT_EQ(Convert(Single(1e7f), VT_BSTR), "BSTR:1E+07");
  EXPECT_EQ(Convert(Single(1234567.0f), VT_BSTR), "BSTR:1234567");
  EXPECT_EQ(Convert(Real(0.1), VT_BSTR), "BSTR:0.1");
  EXPECT_EQ(Convert(Real(1.0 / 3), VT_BSTR), "BSTR:0.333333333333333");
  EXPECT_EQ(Convert(Real(123456789012345.0), VT_BSTR), "BSTR:123456789012345");
  EXPECT_EQ(Convert(Real(1234567890123456.0), VT_BSTR), "BSTR:1.23456789012346E+15");
  EXPECT_EQ(Convert(Real(1e20), VT_BSTR), "BSTR:1E+20");
  EXPECT_EQ(Convert(Real(0.0001), VT_BSTR), "BSTR:0.0001");
  EXPECT_EQ(Convert(Real(-1e-7), VT_BSTR), "BSTR:-1E-07");
  EXPECT_EQ(Convert(Real(-0.0), VT_BSTR), "BSTR:0");
  VARIANT smallest;
  VariantInit(&smallest);
  smallest.vt = VT_I4;
  smallest.lVal = INT32_MIN;
  EXPECT_EQ(Convert(smallest, VT_BSTR), "BSTR:-2147483648");
}

TEST(VariantChangeType, IndependentOfTheProcessLocale) {
  const char* locale = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "da_DK.UTF-8"})
    if ((locale = std::setlocale(LC_ALL, name))) break;
  if (!locale) GTEST_SKIP() << "no locale with a decimal comma is installed";
  EXPECT_EQ(Convert(Single(0.03f), VT_BSTR), "BSTR:0.03");
  EXPECT_EQ(Convert(Text(u"1.5").v, VT_R8), "R8:1.5");
  EXPECT_EQ(Convert(Text(u"1,5").v, VT_R8), "mismatch");
  std::setlocale(LC_ALL, "C");
}

TEST(VariantChangeType, InterfacesConvertThroughQueryInterface) {
  CountedObject object;
  VARIANT unknown;
  VariantInit(&unknown);
  unknown.vt = VT_UNKNOWN;
  unknown.punkVal = &object;
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(VariantChangeType(&result, &unknown, 0, VT_DISPATCH), S_OK);
  EXPECT_EQ(result.pdispVal, static_cast<IDispatch*>(&object));
  EXPECT_EQ(object.ExtraReferences(), 1u);
  VariantClear(&result);

  CountedObject plain(false);  // no IDispatch
  unknown.punkVal = &plain;
  result.vt = VT_I4;
  result.lVal = 9;
  EXPECT_EQ(VariantChangeType(&result, &unknown, 0, VT_DISPATCH), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Describe(result), "I4:9");
  EXPECT_EQ(plain.ExtraReferences(), 0u);

  unknown.punkVal = nullptr;  // nothing to ask: stays nothing
  EXPECT_EQ(Convert(unknown, VT_DISPATCH), "DISPATCH:null");
}

TEST(VariantChangeType, ArraysOnlyCopyToTheirOwnType) {
  VARIANT numbers;
  VariantInit(&numbers);
  numbers.vt = VT_ARRAY | VT_I4;
  numbers.parray = SafeArrayCreateVector(VT_I4, 0, 3);
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(VariantChangeType(&result, &numbers, 0, VT_ARRAY | VT_I4), S_OK);
  EXPECT_NE(result.parray, numbers.parray);
  VariantClear(&result);
  EXPECT_EQ(VariantChangeType(&result, &numbers, 0, VT_ARRAY | VT_VARIANT), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(VariantChangeType(&result, &numbers, 0, VT_ARRAY | VT_R8), DISP_E_TYPEMISMATCH);
  VariantClear(&numbers);
}

TEST(VariantChangeType, FailureLeavesDestinationAndInPlaceWorks) {
  Text kept(u"keep");
  const Text bad(u"abc");
  EXPECT_EQ(VariantChangeType(&kept.v, &bad.v, 0, VT_I4), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Describe(kept.v), "BSTR:keep");

  Text inPlace(u"12");
  ASSERT_EQ(VariantChangeType(&inPlace.v, &inPlace.v, 0, VT_I4), S_OK);
  EXPECT_EQ(Describe(inPlace.v), "I4:12");
  ASSERT_EQ(VariantChangeType(&inPlace.v, &inPlace.v, 0, VT_BSTR), S_OK);
  EXPECT_EQ(Describe(inPlace.v), "BSTR:12");
  ASSERT_EQ(VariantChangeType(&inPlace.v, &inPlace.v, 0, VT_BSTR), S_OK);  // same type
  EXPECT_EQ(Describe(inPlace.v), "BSTR:12");
  EXPECT_EQ(VariantChangeType(&inPlace.v, &inPlace.v, 0, VT_DISPATCH), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Describe(inPlace.v), "BSTR:12");
}

TEST(VariantChangeType, ByReferenceSourcesAreRead) {
  LONG number = 17;
  VARIANT reference;
  VariantInit(&reference);
  reference.vt = VT_BYREF | VT_I4;
  reference.byref = &number;
  EXPECT_EQ(Convert(reference, VT_R8), "R8:17");
  const Text inner(u"4.5");
  reference.vt = VT_BYREF | VT_VARIANT;
  reference.pvarVal = const_cast<VARIANT*>(&inner.v);
  EXPECT_EQ(Convert(reference, VT_I4), "I4:4");
  reference.vt = VT_BYREF | VT_BSTR;
  reference.byref = const_cast<BSTR*>(&inner.v.bstrVal);
  EXPECT_EQ(Convert(reference, VT_BSTR), "BSTR:4.5");
  reference.byref = nullptr;
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(VariantChangeType(&result, &reference, 0, VT_I4), E_INVALIDARG);
}

TEST(VariantChangeType, BadTypesAndNullArguments) {
  VARIANT source = Real(1);
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(VariantChangeType(&result, &source, 0, 0x48), DISP_E_BADVARTYPE);
  EXPECT_EQ(VariantChangeType(&result, &source, 0, VT_BYREF | VT_I4), DISP_E_BADVARTYPE);
  EXPECT_EQ(VariantChangeType(&result, &source, 0, VT_VARIANT), DISP_E_BADVARTYPE);
  EXPECT_EQ(VariantChangeType(&result, &source, 0, VT_ARRAY | 0x48), DISP_E_BADVARTYPE);
  source.vt = 0x7F;
  EXPECT_EQ(VariantChangeType(&result, &source, 0, VT_I4), DISP_E_BADVARTYPE);
  EXPECT_EQ(VariantChangeType(nullptr, &source, 0, VT_I4), E_INVALIDARG);
  EXPECT_EQ(VariantChangeType(&result, nullptr, 0, VT_I4), E_INVALIDARG);
  EXPECT_EQ(result.vt, VT_EMPTY);
}

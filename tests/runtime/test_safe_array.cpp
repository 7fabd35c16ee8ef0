// One-dimensional safe arrays: layout, bounds, deep element copies.
#include <gtest/gtest.h>
#include <kavi/runtime.h>

#include <cstring>

#include "runtime/support/counted_object.h"

using namespace kavi;
using kavi::testing::CountedObject;

TEST(SafeArray, DescriptorDescribesTheVector) {
  SAFEARRAY* psa = SafeArrayCreateVector(VT_R8, -2, 5);
  ASSERT_NE(psa, nullptr);
  EXPECT_EQ(psa->cDims, 1);
  EXPECT_EQ(psa->cbElements, 8u);
  EXPECT_EQ(psa->rgsabound[0].cElements, 5u);
  EXPECT_EQ(psa->rgsabound[0].lLbound, -2);
  EXPECT_TRUE(psa->fFeatures & FADF_HAVEVARTYPE);
  VARTYPE vt = 0;
  ASSERT_EQ(SafeArrayGetVartype(psa, &vt), S_OK);
  EXPECT_EQ(vt, VT_R8);
  std::uint32_t stored = 0;  // the type also sits just before the descriptor
  std::memcpy(&stored, reinterpret_cast<const char*>(psa) - 4, 4);
  EXPECT_EQ(stored, VT_R8);
  LONG lower = 0, upper = 0;
  ASSERT_EQ(SafeArrayGetLBound(psa, 1, &lower), S_OK);
  ASSERT_EQ(SafeArrayGetUBound(psa, 1, &upper), S_OK);
  EXPECT_EQ(lower, -2);
  EXPECT_EQ(upper, 2);
  EXPECT_EQ(SafeArrayGetUBound(psa, 2, &upper), DISP_E_BADINDEX);
  EXPECT_EQ(SafeArrayGetLBound(psa, 0, &lower), DISP_E_BADINDEX);

  // Elements start zeroed and sit contiguously in pvData.
  const LONG index = 1;
  const double value = 6.25;
  ASSERT_EQ(SafeArrayPutElement(psa, &index, &value), S_OK);
  void* data = nullptr;
  ASSERT_EQ(SafeArrayAccessData(psa, &data), S_OK);
  EXPECT_EQ(static_cast<double*>(data)[3], 6.25);
  EXPECT_EQ(static_cast<double*>(data)[0], 0.0);
  EXPECT_EQ(SafeArrayDestroy(psa), DISP_E_ARRAYISLOCKED);
  ASSERT_EQ(SafeArrayUnaccessData(psa), S_OK);
  EXPECT_EQ(SafeArrayUnaccessData(psa), E_UNEXPECTED);
  EXPECT_EQ(SafeArrayDestroy(psa), S_OK);
}

TEST(SafeArray, ElementTypesAndSizes) {
  const struct {
    VARTYPE vt;
    ULONG size;
    USHORT feature;
  } types[] = {{VT_VARIANT, 24, FADF_VARIANT},
               {VT_BSTR, 8, FADF_BSTR},
               {VT_I4, 4, 0},
               {VT_R4, 4, 0},
               {VT_R8, 8, 0},
               {VT_BOOL, 2, 0},
               {VT_UNKNOWN, 8, FADF_UNKNOWN},
               {VT_DISPATCH, 8, FADF_DISPATCH},
               {VT_I2, 2, 0},
               {VT_UI1, 1, 0},
               {VT_ERROR, 4, 0}};
  for (const auto& t : types) {
    SAFEARRAY* psa = SafeArrayCreateVector(t.vt, 0, 3);
    ASSERT_NE(psa, nullptr) << t.vt;
    EXPECT_EQ(psa->cbElements, t.size) << t.vt;
    EXPECT_EQ(psa->fFeatures, FADF_HAVEVARTYPE | t.feature) << t.vt;
    SafeArrayDestroy(psa);
  }
  EXPECT_EQ(SafeArrayCreateVector(VT_EMPTY, 0, 1), nullptr);
  EXPECT_EQ(SafeArrayCreateVector(VT_NULL, 0, 1), nullptr);
  EXPECT_EQ(SafeArrayCreateVector(VT_I4, INT32_MIN, 0), nullptr);  // no upper bound to report
  EXPECT_EQ(SafeArrayCreateVector(VT_ARRAY | VT_I4, 0, 1), nullptr);
  // The upper bound must fit a LONG.
  EXPECT_EQ(SafeArrayCreateVector(VT_UI1, 0x7FFFFFFF, 2), nullptr);
  SAFEARRAY* last = SafeArrayCreateVector(VT_UI1, 0x7FFFFFFF, 1);
  ASSERT_NE(last, nullptr);
  LONG upper = 0;
  SafeArrayGetUBound(last, 1, &upper);
  EXPECT_EQ(upper, 0x7FFFFFFF);
  SafeArrayDestroy(last);
  SAFEARRAY* empty = SafeArrayCreateVector(VT_VARIANT, 0, 0);
  ASSERT_NE(empty, nullptr);
  SafeArrayGetUBound(empty, 1, &upper);
  EXPECT_EQ(upper, -1);
  const LONG zero = 0;
  VARIANT v;
  EXPECT_EQ(SafeArrayGetElement(empty, &zero, &v), DISP_E_BADINDEX);
  SafeArrayDestroy(empty);
}

TEST(SafeArray, BoundsAreChecked) {
  SAFEARRAY* psa = SafeArrayCreateVector(VT_I4, 1, 2);
  const LONG value = 5;
  LONG out = 0;
  for (LONG index : {0, 3, -1, 0x7FFFFFFF, static_cast<LONG>(0x80000000)}) {
    EXPECT_EQ(SafeArrayPutElement(psa, &index, &value), DISP_E_BADINDEX) << index;
    EXPECT_EQ(SafeArrayGetElement(psa, &index, &out), DISP_E_BADINDEX) << index;
  }
  for (LONG index : {1, 2}) {
    ASSERT_EQ(SafeArrayPutElement(psa, &index, &value), S_OK);
    ASSERT_EQ(SafeArrayGetElement(psa, &index, &out), S_OK);
    EXPECT_EQ(out, 5);
  }
  SafeArrayDestroy(psa);
}

TEST(SafeArray, ElementsAreDeepCopiesBothWays) {
  SAFEARRAY* strings = SafeArrayCreateVector(VT_BSTR, 0, 1);
  const LONG zero = 0;
  BSTR text = SysAllocString(u"rose");
  ASSERT_EQ(SafeArrayPutElement(strings, &zero, text), S_OK);
  BSTR read = nullptr;
  ASSERT_EQ(SafeArrayGetElement(strings, &zero, &read), S_OK);
  EXPECT_NE(read, text);
  EXPECT_EQ(std::u16string(read), u"rose");
  SysFreeString(text);
  SysFreeString(read);
  ASSERT_EQ(SafeArrayPutElement(strings, &zero, nullptr), S_OK);  // null string allowed
  ASSERT_EQ(SafeArrayGetElement(strings, &zero, &read), S_OK);
  EXPECT_EQ(read, nullptr);

  CountedObject object;
  SAFEARRAY* objects = SafeArrayCreateVector(VT_UNKNOWN, 0, 2);
  ASSERT_EQ(SafeArrayPutElement(objects, &zero, static_cast<IUnknown*>(&object)), S_OK);
  EXPECT_EQ(object.ExtraReferences(), 1u);
  ASSERT_EQ(SafeArrayPutElement(objects, &zero, static_cast<IUnknown*>(&object)), S_OK);
  EXPECT_EQ(object.ExtraReferences(), 1u);  // the old reference was released
  IUnknown* got = nullptr;
  ASSERT_EQ(SafeArrayGetElement(objects, &zero, &got), S_OK);
  EXPECT_EQ(got, &object);
  EXPECT_EQ(object.ExtraReferences(), 2u);
  got->Release();

  SAFEARRAY* copy = nullptr;
  ASSERT_EQ(SafeArrayCopy(objects, &copy), S_OK);
  EXPECT_EQ(object.ExtraReferences(), 2u);
  SafeArrayDestroy(copy);
  SafeArrayDestroy(objects);
  EXPECT_EQ(object.ExtraReferences(), 0u);
  SafeArrayDestroy(strings);
}

TEST(SafeArray, VariantElements) {
  SAFEARRAY* psa = SafeArrayCreateVector(VT_VARIANT, 0, 2);
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = SysAllocString(u"1.5");
  const LONG one = 1;
  ASSERT_EQ(SafeArrayPutElement(psa, &one, &value), S_OK);
  VariantClear(&value);
  VARIANT read;  // uninitialised on purpose: the element is copied into it
  std::memset(&read, 0xAB, sizeof read);
  ASSERT_EQ(SafeArrayGetElement(psa, &one, &read), S_OK);
  EXPECT_EQ(read.vt, VT_BSTR);
  EXPECT_EQ(std::u16string(read.bstrVal), u"1.5");
  VariantClear(&read);

  VARIANT bad;
  VariantInit(&bad);
  bad.vt = 0x66;
  EXPECT_EQ(SafeArrayPutElement(psa, &one, &bad), DISP_E_BADVARTYPE);
  SafeArrayDestroy(psa);
}

TEST(SafeArray, NullArgumentsAreRefused) {
  SAFEARRAY* psa = SafeArrayCreateVector(VT_I4, 0, 1);
  const LONG zero = 0;
  LONG value = 0;
  VARTYPE vt = 0;
  EXPECT_EQ(SafeArrayGetElement(nullptr, &zero, &value), E_INVALIDARG);
  EXPECT_EQ(SafeArrayGetElement(psa, nullptr, &value), E_INVALIDARG);
  EXPECT_EQ(SafeArrayGetElement(psa, &zero, nullptr), E_INVALIDARG);
  EXPECT_EQ(SafeArrayPutElement(psa, &zero, nullptr), E_INVALIDARG);
  EXPECT_EQ(SafeArrayPutElement(nullptr, &zero, &value), E_INVALIDARG);
  EXPECT_EQ(SafeArrayGetLBound(nullptr, 1, &value), E_INVALIDARG);
  EXPECT_EQ(SafeArrayGetUBound(psa, 1, nullptr), E_INVALIDARG);
  EXPECT_EQ(SafeArrayGetVartype(nullptr, &vt), E_INVALIDARG);
  EXPECT_EQ(SafeArrayAccessData(psa, nullptr), E_INVALIDARG);
  EXPECT_EQ(SafeArrayCopy(psa, nullptr), E_INVALIDARG);
  SAFEARRAY* copy = psa;
  EXPECT_EQ(SafeArrayCopy(nullptr, &copy), S_OK);
  EXPECT_EQ(copy, nullptr);
  EXPECT_EQ(SafeArrayDestroy(nullptr), S_OK);
  SafeArrayDestroy(psa);
}

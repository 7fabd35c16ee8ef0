// Variant lifetime: clearing releases what a variant owns, copying is deep.
#include <gtest/gtest.h>
#include <kavi/runtime.h>

#include "runtime/support/counted_object.h"

using namespace kavi;
using kavi::testing::CountedObject;

namespace {
VARIANT StringVariant(const char16_t* text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(text);
  return v;
}
}  // namespace

TEST(Variant, InitAndClearReleaseOwnedValues) {
  VARIANT v;
  v.vt = 0xFFFF;
  VariantInit(&v);
  EXPECT_EQ(v.vt, VT_EMPTY);

  v = StringVariant(u"x");  // freed by the clear (the leak checker would tell)
  EXPECT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(v.vt, VT_EMPTY);

  CountedObject object;
  v.vt = VT_DISPATCH;
  v.pdispVal = &object;
  object.AddRef();
  EXPECT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(object.ExtraReferences(), 0u);

  v.vt = VT_ARRAY | VT_BSTR;
  v.parray = SafeArrayCreateVector(VT_BSTR, 0, 2);
  const LONG i = 1;
  BSTR owned = SysAllocString(u"owned");
  ASSERT_EQ(SafeArrayPutElement(v.parray, &i, owned), S_OK);  // the array keeps a copy
  SysFreeString(owned);
  EXPECT_EQ(VariantClear(&v), S_OK);

  // Null interface and null string are valid values.
  v.vt = VT_UNKNOWN;
  v.punkVal = nullptr;
  EXPECT_EQ(VariantClear(&v), S_OK);
  v.vt = VT_BSTR;
  v.bstrVal = nullptr;
  EXPECT_EQ(VariantClear(&v), S_OK);

  // A by-reference variant owns nothing.
  LONG target = 5;
  v.vt = VT_BYREF | VT_I4;
  v.byref = &target;
  EXPECT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(target, 5);
}

TEST(Variant, ClearRefusesUnknownTypesAndNull) {
  VARIANT v;
  VariantInit(&v);
  v.vt = 0x7F;
  EXPECT_EQ(VariantClear(&v), DISP_E_BADVARTYPE);
  EXPECT_EQ(v.vt, 0x7F);
  v.vt = VT_VARIANT;  // only by reference or inside arrays
  EXPECT_EQ(VariantClear(&v), DISP_E_BADVARTYPE);
  EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
  VariantInit(nullptr);
}

TEST(Variant, CopyDuplicatesStringsAndCountsInterfaces) {
  VARIANT source = StringVariant(u"Kavi");
  VARIANT target = StringVariant(u"old");  // replaced and freed
  ASSERT_EQ(VariantCopy(&target, &source), S_OK);
  EXPECT_EQ(target.vt, VT_BSTR);
  EXPECT_NE(target.bstrVal, source.bstrVal);
  EXPECT_EQ(std::u16string(target.bstrVal), u"Kavi");
  VariantClear(&source);
  EXPECT_EQ(std::u16string(target.bstrVal), u"Kavi");

  CountedObject object;
  source.vt = VT_UNKNOWN;
  source.punkVal = &object;
  object.AddRef();
  ASSERT_EQ(VariantCopy(&target, &source), S_OK);
  EXPECT_EQ(target.punkVal, &object);
  EXPECT_EQ(object.ExtraReferences(), 2u);
  VariantClear(&target);
  VariantClear(&source);
  EXPECT_EQ(object.ExtraReferences(), 0u);
}

TEST(Variant, CopyOfVariantArrayIsDeep) {
  VARIANT source;
  VariantInit(&source);
  source.vt = VT_ARRAY | VT_VARIANT;
  source.parray = SafeArrayCreateVector(VT_VARIANT, 0, 2);
  VARIANT element = StringVariant(u"first");
  const LONG zero = 0, one = 1;
  ASSERT_EQ(SafeArrayPutElement(source.parray, &zero, &element), S_OK);
  VariantClear(&element);

  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(VariantCopy(&copy, &source), S_OK);
  ASSERT_NE(copy.parray, source.parray);

  // Changing the copy leaves the original alone.
  element = StringVariant(u"changed");
  ASSERT_EQ(SafeArrayPutElement(copy.parray, &zero, &element), S_OK);
  VariantClear(&element);
  VARIANT read;
  ASSERT_EQ(SafeArrayGetElement(source.parray, &zero, &read), S_OK);
  EXPECT_EQ(std::u16string(read.bstrVal), u"first");
  VariantClear(&read);
  ASSERT_EQ(SafeArrayGetElement(copy.parray, &one, &read), S_OK);
  EXPECT_EQ(read.vt, VT_EMPTY);

  VariantClear(&copy);
  VariantClear(&source);
}

TEST(Variant, CopyEdgeCases) {
  VARIANT v = StringVariant(u"self");
  EXPECT_EQ(VariantCopy(&v, &v), S_OK);  // copying onto itself keeps the value
  EXPECT_EQ(std::u16string(v.bstrVal), u"self");

  VARIANT bad;
  VariantInit(&bad);
  bad.vt = 0x55;
  EXPECT_EQ(VariantCopy(&v, &bad), DISP_E_BADVARTYPE);
  EXPECT_EQ(std::u16string(v.bstrVal), u"self");  // destination untouched
  EXPECT_EQ(VariantCopy(nullptr, &v), E_INVALIDARG);
  EXPECT_EQ(VariantCopy(&v, nullptr), E_INVALIDARG);

  // A by-reference variant is copied as the reference.
  double number = 2.5;
  VARIANT reference;
  VariantInit(&reference);
  reference.vt = VT_BYREF | VT_R8;
  reference.byref = &number;
  ASSERT_EQ(VariantCopy(&v, &reference), S_OK);
  EXPECT_EQ(v.vt, VT_BYREF | VT_R8);
  EXPECT_EQ(v.byref, &number);
}

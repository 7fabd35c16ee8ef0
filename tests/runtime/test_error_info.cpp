// Error-information objects and the current one of each thread.
#include <gtest/gtest.h>
#include <kavi/runtime.h>

#include <thread>

using namespace kavi;

namespace {

constexpr GUID kSomeInterface = {0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};

IErrorInfo* MakeError(const char16_t* description) {
  ICreateErrorInfo* create = nullptr;
  EXPECT_EQ(CreateErrorInfo(&create), S_OK);
  create->SetDescription(const_cast<LPOLESTR>(description));
  IErrorInfo* info = nullptr;
  EXPECT_EQ(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)), S_OK);
  create->Release();
  return info;
}

std::u16string DescriptionOf(IErrorInfo* info) {
  BSTR text = nullptr;
  info->GetDescription(&text);
  std::u16string result(text ? text : u"");
  SysFreeString(text);
  return result;
}

}  // namespace

TEST(ErrorInfo, HoldsWhatWasSet) {
  ICreateErrorInfo* create = nullptr;
  ASSERT_EQ(CreateErrorInfo(&create), S_OK);
  IErrorInfo* info = nullptr;
  ASSERT_EQ(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)), S_OK);

  BSTR text = reinterpret_cast<BSTR>(1);
  ASSERT_EQ(info->GetSource(&text), S_OK);
  EXPECT_EQ(text, nullptr);  // nothing set yet
  GUID guid = kSomeInterface;
  ASSERT_EQ(info->GetGUID(&guid), S_OK);
  EXPECT_EQ(guid, GUID_NULL);

  create->SetGUID(kSomeInterface);
  create->SetSource(const_cast<LPOLESTR>(u"Kavicalc.AtlasUser.1"));
  create->SetDescription(const_cast<LPOLESTR>(u"Kavicalc: Unable to open file"));
  create->SetHelpFile(const_cast<LPOLESTR>(u"help.chm"));
  create->SetHelpContext(7);

  ASSERT_EQ(info->GetGUID(&guid), S_OK);
  EXPECT_EQ(guid, kSomeInterface);
  ASSERT_EQ(info->GetSource(&text), S_OK);
  EXPECT_EQ(std::u16string(text), u"Kavicalc.AtlasUser.1");
  SysFreeString(text);
  EXPECT_EQ(DescriptionOf(info), u"Kavicalc: Unable to open file");
  ASSERT_EQ(info->GetHelpFile(&text), S_OK);
  EXPECT_EQ(std::u16string(text), u"help.chm");
  SysFreeString(text);
  DWORD context = 0;
  ASSERT_EQ(info->GetHelpContext(&context), S_OK);
  EXPECT_EQ(context, 7u);

  create->SetSource(nullptr);  // back to nothing
  ASSERT_EQ(info->GetSource(&text), S_OK);
  EXPECT_EQ(text, nullptr);

  EXPECT_EQ(info->GetGUID(nullptr), E_INVALIDARG);
  EXPECT_EQ(info->GetDescription(nullptr), E_INVALIDARG);
  EXPECT_EQ(info->GetHelpContext(nullptr), E_INVALIDARG);
  EXPECT_EQ(CreateErrorInfo(nullptr), E_INVALIDARG);

  info->Release();
  EXPECT_EQ(create->Release(), 0u);
}

TEST(ErrorInfo, InterfacesShareOneIdentityAndCount) {
  ICreateErrorInfo* create = nullptr;
  ASSERT_EQ(CreateErrorInfo(&create), S_OK);
  IUnknown* fromCreate = nullptr;
  IErrorInfo* info = nullptr;
  ASSERT_EQ(create->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromCreate)), S_OK);
  ASSERT_EQ(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)), S_OK);
  IUnknown* fromInfo = nullptr;
  ASSERT_EQ(info->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromInfo)), S_OK);
  EXPECT_EQ(fromCreate, fromInfo);
  ICreateErrorInfo* back = nullptr;
  ASSERT_EQ(info->QueryInterface(IID_ICreateErrorInfo, reinterpret_cast<void**>(&back)), S_OK);
  EXPECT_EQ(back, create);
  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(info->QueryInterface(IID_IDispatch, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(info->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
  // Five references in all: the creator's and four from QueryInterface.
  back->Release();
  fromInfo->Release();
  fromCreate->Release();
  EXPECT_EQ(info->Release(), 1u);
  EXPECT_EQ(create->Release(), 0u);
}

TEST(ErrorInfo, ThreadsCurrentOneIsHandedOverOnce) {
  IErrorInfo* none = reinterpret_cast<IErrorInfo*>(1);
  EXPECT_EQ(GetErrorInfo(0, &none), S_FALSE);
  EXPECT_EQ(none, nullptr);

  IErrorInfo* first = MakeError(u"first");
  IErrorInfo* second = MakeError(u"second");
  ASSERT_EQ(SetErrorInfo(0, first), S_OK);
  ASSERT_EQ(SetErrorInfo(0, second), S_OK);  // replaces and releases the first
  EXPECT_EQ(first->Release(), 0u);

  IErrorInfo* got = nullptr;
  ASSERT_EQ(GetErrorInfo(0, &got), S_OK);
  EXPECT_EQ(got, second);
  EXPECT_EQ(DescriptionOf(got), u"second");
  EXPECT_EQ(GetErrorInfo(0, &none), S_FALSE);  // cleared by the hand-over
  got->Release();
  EXPECT_EQ(second->Release(), 0u);

  IErrorInfo* third = MakeError(u"third");
  SetErrorInfo(0, third);
  SetErrorInfo(0, nullptr);  // clears
  EXPECT_EQ(GetErrorInfo(0, &none), S_FALSE);
  EXPECT_EQ(third->Release(), 0u);
  EXPECT_EQ(GetErrorInfo(0, nullptr), E_INVALIDARG);
}

TEST(ErrorInfo, EachThreadHasItsOwn) {
  IErrorInfo* mine = MakeError(u"main");
  SetErrorInfo(0, mine);
  std::u16string seenThere;
  HRESULT emptyThere = S_OK;
  std::thread other([&] {
    IErrorInfo* got = nullptr;
    emptyThere = GetErrorInfo(0, &got);
    IErrorInfo* theirs = MakeError(u"other");
    SetErrorInfo(0, theirs);
    theirs->Release();
    ASSERT_EQ(GetErrorInfo(0, &got), S_OK);
    seenThere = DescriptionOf(got);
    got->Release();
    // Left behind on purpose: released when the thread ends.
    IErrorInfo* left = MakeError(u"left");
    SetErrorInfo(0, left);
    left->Release();
  });
  other.join();
  EXPECT_EQ(emptyThere, S_FALSE);
  EXPECT_EQ(seenThere, u"other");
  IErrorInfo* got = nullptr;
  ASSERT_EQ(GetErrorInfo(0, &got), S_OK);
  EXPECT_EQ(DescriptionOf(got), u"main");
  got->Release();
  EXPECT_EQ(mine->Release(), 0u);
}

TEST(ErrorInfo, CountsAreSafeAcrossThreads) {
  IErrorInfo* shared = MakeError(u"shared");
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([shared] {
      for (int i = 0; i < 20000; ++i) {
        shared->AddRef();
        shared->Release();
      }
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(shared->Release(), 0u);
}

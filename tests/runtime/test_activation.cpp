// Activation by class identifier: registry lookup, loading the server library
// and its entry point, and the failures on the way.
#include <gtest/gtest.h>
#include <kavi/identities.h>
#include <kavi/runtime.h>

#include "runtime/support/scratch_registry.h"

using namespace kavi;

namespace {

class Activation : public kavi::testing::ScratchRegistry {
 protected:
  static void RegisterServer(const CLSID& clsid, const char* library) {
    const std::string key = "CLSID\\" + GuidToString(clsid) + "\\InprocServer32";
    ASSERT_EQ(RegSetValue(key.c_str(), nullptr, library), S_OK);
    ASSERT_EQ(RegSetValue(key.c_str(), "ThreadingModel", "Apartment"), S_OK);
  }
  // Both entry points fail the same way and leave no object behind.
  static void ExpectBothFail(const CLSID& clsid, HRESULT expected) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoGetClassObject(clsid, IID_IClassFactory, &object), expected);
    EXPECT_EQ(object, nullptr);
    object = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, IID_IUnknown, &object), expected);
    EXPECT_EQ(object, nullptr);
  }
};

const CLSID& kClass = kKavicalcIdentities.AtlasUser;

}  // namespace

TEST_F(Activation, UnregisteredClass) {
  ExpectBothFail(kClass, REGDB_E_CLASSNOTREG);
  EXPECT_EQ(ErrorDescription(), "Class " + GuidToString(kClass) + " is not registered in " + path_);
  // A class key without a server is not registered either.
  RegSetValue(("CLSID\\" + GuidToString(kClass)).c_str(), nullptr, "AtlasUser Class");
  RegSetValue(("CLSID\\" + GuidToString(kClass) + "\\InprocServer32").c_str(), "ThreadingModel",
              "Apartment");
  ExpectBothFail(kClass, REGDB_E_CLASSNOTREG);
}

TEST_F(Activation, MissingLibraryFile) {
  const std::string missing = folder_ + "/libnothing.so";
  RegisterServer(kClass, missing.c_str());
  ExpectBothFail(kClass, CO_E_DLLNOTFOUND);
  const std::string description = ErrorDescription();
  EXPECT_NE(description.find("Cannot load the server library " + missing + " of class " +
                             GuidToString(kClass) + ": "),
            std::string::npos)
      << description;
  EXPECT_NE(description.find("No such file"), std::string::npos) << description;  // dlerror's text

  // A file that is not a library at all.
  WriteFile("Kavi registry 1\nEND\n");
  RegisterServer(kClass, path_.c_str());
  ExpectBothFail(kClass, CO_E_DLLNOTFOUND);
}

TEST_F(Activation, LibraryWithoutEntryPoint) {
  RegisterServer(kClass, "libm.so.6");
  ExpectBothFail(kClass, CO_E_ERRORINDLL);
  EXPECT_EQ(ErrorDescription(),
            "The server library libm.so.6 has no entry point DllGetClassObject");
  ExpectBothFail(kClass, CO_E_ERRORINDLL);  // the loaded library is reused
}

TEST_F(Activation, DamagedRegistryAndNullArguments) {
  WriteFile("Kavi registry 1\n[CLSID]\n");
  ExpectBothFail(kClass, REGDB_E_READREGDB);
  EXPECT_NE(ErrorDescription().find(path_ + " is corrupt"), std::string::npos);
  EXPECT_EQ(CoGetClassObject(kClass, IID_IClassFactory, nullptr), E_INVALIDARG);
  EXPECT_EQ(CoCreateInstance(kClass, nullptr, IID_IUnknown, nullptr), E_INVALIDARG);
}

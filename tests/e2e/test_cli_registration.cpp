// kavicalc register / unregister, and the registration a command makes by
// itself when the ProgID is not registered or leads to a library that is gone.
#include <gtest/gtest.h>
#include <kavi/identities.h>
#include <kavi/runtime.h>
#include <limits.h>
#include <stdlib.h>

#include "support/tool_run.h"

namespace kavi::e2e {
namespace {

std::string Value(const std::string& key) {
  char* data = nullptr;
  if (FAILED(RegGetValue(key.c_str(), "", &data)) || !data) return "<missing>";
  std::string value = data;
  CoTaskMemFree(data);
  return value;
}

bool KeyExists(const std::string& key) { return RegKeyExists(key.c_str()) == S_OK; }

std::string RealPath(const char* path) {
  char resolved[PATH_MAX];
  return realpath(path, resolved) ? resolved : path;
}

std::string ServerKey(const Identities& ids) {
  return "CLSID\\" + GuidToString(ids.AtlasUser) + "\\InprocServer32";
}

class CliRegistrationTest : public ::testing::Test {
 protected:
  ScopedRegistry registry_;
};

TEST_F(CliRegistrationTest, RegisterUnregisterThenACommandRegistersAgain) {
  const std::string library = RealPath(KAVI_KAVICALC_LIBRARY);
  ToolResult r = RunKavicalc({"register"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Registered Kavicalc 1.5.5.0 (" + library + ") in " + registry_.path() + "\n");
  EXPECT_EQ(Value("Kavicalc.AtlasUser\\CurVer"), "Kavicalc.AtlasUser.1");
  EXPECT_EQ(Value("Kavicalc.AtlasUser.1\\CLSID"), GuidToString(kKavicalcIdentities.AtlasUser));
  EXPECT_EQ(Value(ServerKey(kKavicalcIdentities)), library);

  r = RunKavicalc({"unregister"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "Unregistered Kavicalc 1.5.5.0 (" + library + ") from " + registry_.path() + "\n");
  EXPECT_FALSE(KeyExists("Kavicalc.AtlasUser.1"));
  EXPECT_FALSE(KeyExists("Kavicalc.AtlasUser"));
  EXPECT_FALSE(KeyExists("CLSID\\" + GuidToString(kKavicalcIdentities.AtlasUser)));

  // A new user never meets "class not registered": the command registers and goes on.
  r = RunKavicalc({"params"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Lines(r.out).size(), 31u);
  EXPECT_EQ(Value("Kavicalc.AtlasUser.1\\CLSID"), GuidToString(kKavicalcIdentities.AtlasUser));
  EXPECT_EQ(Value(ServerKey(kKavicalcIdentities)), library);
}

TEST_F(CliRegistrationTest, EachEditionRegistersItsOwnLibraryAndProgIds) {
  ToolResult r = RunKavicalc({"--edition", "kavibase", "register"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Value("KAVIBASE.AtlasUser.1\\CLSID"), GuidToString(kKavibaseIdentities.AtlasUser));
  EXPECT_EQ(Value(ServerKey(kKavibaseIdentities)), RealPath(KAVI_KAVIBASE_LIBRARY));
  EXPECT_FALSE(KeyExists("Kavicalc.AtlasUser.1"));

  r = RunKavicalc({"--edition", "kavibase", "unregister"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(KeyExists("KAVIBASE.AtlasUser.1"));

  // A command of one edition registers that edition only.
  r = RunKavicalc({"--edition", "kavibase", "params"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(KeyExists("KAVIBASE.AtlasUser.1"));
  EXPECT_FALSE(KeyExists("Kavicalc.AtlasUser.1"));
}

TEST_F(CliRegistrationTest, RegistrationLeadingToAMissingLibraryIsRepaired) {
  ASSERT_EQ(RunKavicalc({"register"}).status, 0);
  ASSERT_EQ(RegSetValue(ServerKey(kKavicalcIdentities).c_str(), "", "/nonexistent/libkavicalc.so"),
            S_OK);
  const ToolResult r = RunKavicalc({"params"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Value(ServerKey(kKavicalcIdentities)), RealPath(KAVI_KAVICALC_LIBRARY));
}

TEST_F(CliRegistrationTest, AnUnwritableRegistryIsAFailureWithTheRuntimesReason) {
  ScratchFolder folder;
  // The registry's folder is a plain file, so nothing can be written there.
  const std::string blocker = folder.Write("blocker", "");
  setenv("KAVI_REGISTRY", (blocker + "/registry").c_str(), 1);
  const ToolResult r = RunKavicalc({"params"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  const std::vector<std::string> lines = Lines(r.err);
  ASSERT_EQ(lines.size(), 1u) << r.err;
  EXPECT_EQ(lines[0].rfind("kavicalc: : Cannot register ", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find(RealPath(KAVI_KAVICALC_LIBRARY)), std::string::npos) << lines[0];
}

}  // namespace
}  // namespace kavi::e2e

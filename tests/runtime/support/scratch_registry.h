// A private registry file for one test: KAVI_REGISTRY points into a fresh
// temporary folder for the test's lifetime.
#pragma once

#include <gtest/gtest.h>
#include <kavi/runtime.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kavi::testing {

class ScratchRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kavi-registry-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    path_ = folder_ + "/registry";
    if (const char* previous = std::getenv("KAVI_REGISTRY")) previous_ = previous;
    setenv("KAVI_REGISTRY", path_.c_str(), 1);
  }
  void TearDown() override {
    if (previous_.empty())
      unsetenv("KAVI_REGISTRY");
    else
      setenv("KAVI_REGISTRY", previous_.c_str(), 1);
    std::filesystem::remove_all(folder_);
  }

  void WriteFile(const std::string& text) const { std::ofstream(path_, std::ios::binary) << text; }
  std::string ReadFile() const {
    std::ostringstream text;
    text << std::ifstream(path_, std::ios::binary).rdbuf();
    return text.str();
  }
  // The description of the thread's error information (and clears it).
  static std::string ErrorDescription() {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK) return "";
    BSTR text = nullptr;
    info->GetDescription(&text);
    info->Release();
    std::string result = Utf16ToNarrow(text, SysStringLen(text));
    SysFreeString(text);
    return result;
  }
  // The registry value as a string, or the failure code as text.
  static std::string Get(const char* key, const char* name = nullptr) {
    char* data = nullptr;
    const HRESULT h = RegGetValue(key, name, &data);
    if (FAILED(h)) return "error " + std::to_string(h);
    std::string value(data);
    CoTaskMemFree(data);
    return value;
  }

  std::string folder_;
  std::string path_;

 private:
  std::string previous_;
};

}  // namespace kavi::testing

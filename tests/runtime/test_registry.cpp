// The file-backed registry: values, keys, the text form, damaged files and
// concurrent writers.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <kavi/runtime.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "runtime/support/scratch_registry.h"

using namespace kavi;

namespace {
class Registry : public kavi::testing::ScratchRegistry {};

const std::string KeyMissing = "error " + std::to_string(REGDB_E_KEYMISSING);
const std::string ReadFailed = "error " + std::to_string(REGDB_E_READREGDB);

// "P2\K7": key 7 of writer P2.
std::string KeyName(char kind, int writer, int index) {
  std::string key(1, kind);
  key += std::to_string(writer);
  key += "\\K";
  key += std::to_string(index);
  return key;
}
}  // namespace

TEST_F(Registry, ValuesOfKeysAndTheirAncestors) {
  EXPECT_EQ(Get("CLSID"), KeyMissing);           // no file yet: an empty registry
  EXPECT_FALSE(std::filesystem::exists(path_));  // reading creates nothing

  ASSERT_EQ(RegSetValue("CLSID\\{A}\\InprocServer32", nullptr, "/lib/server.so"), S_OK);
  ASSERT_EQ(RegSetValue("CLSID\\{A}\\InprocServer32", "ThreadingModel", "Apartment"), S_OK);
  EXPECT_EQ(Get("CLSID\\{A}\\InprocServer32"), "/lib/server.so");
  EXPECT_EQ(Get("CLSID\\{A}\\InprocServer32", ""), "/lib/server.so");
  EXPECT_EQ(Get("CLSID\\{A}\\InprocServer32", "ThreadingModel"), "Apartment");
  EXPECT_EQ(RegKeyExists("CLSID"), S_OK);  // ancestors were created
  EXPECT_EQ(RegKeyExists("CLSID\\{A}"), S_OK);
  EXPECT_EQ(RegKeyExists("CLSID\\{B}"), S_FALSE);
  EXPECT_EQ(Get("CLSID\\{A}"), KeyMissing);  // a key without a default value
  EXPECT_EQ(Get("CLSID\\{A}\\InprocServer32", "Other"), KeyMissing);

  // Names compare without regard to case; the first spelling is kept.
  EXPECT_EQ(Get("clsid\\{a}\\inprocserver32", "threadingmodel"), "Apartment");
  ASSERT_EQ(RegSetValue("Clsid\\{a}\\INPROCSERVER32", "THREADINGMODEL", "Both"), S_OK);
  EXPECT_EQ(Get("CLSID\\{A}\\InprocServer32", "ThreadingModel"), "Both");
  EXPECT_NE(ReadFile().find("\"ThreadingModel\"=\"Both\""), std::string::npos);
  EXPECT_NE(ReadFile().find("[CLSID\\{A}\\InprocServer32]"), std::string::npos);

  ASSERT_EQ(RegCreateKey("CLSID\\{A}\\Programmable"), S_OK);
  EXPECT_EQ(RegKeyExists("CLSID\\{A}\\Programmable"), S_OK);
  ASSERT_EQ(RegCreateKey("CLSID\\{A}\\Programmable"), S_OK);  // already there
  ASSERT_EQ(RegSetValue("Empty", nullptr, ""), S_OK);         // an empty default value is a value
  EXPECT_EQ(Get("Empty"), "");
}

TEST_F(Registry, DeleteTreeTakesTheKeyAndEverythingBelowOnly) {
  RegSetValue("Kavicalc.AtlasUser", nullptr, "AtlasUser Class");
  RegSetValue("Kavicalc.AtlasUser\\CLSID", nullptr, "{X}");
  RegSetValue("Kavicalc.AtlasUser\\CurVer", nullptr, "Kavicalc.AtlasUser.1");
  RegSetValue("Kavicalc.AtlasUser.1\\CLSID", nullptr, "{X}");
  RegSetValue("Kavicalc.AtlasUser Extra", nullptr, "kept");
  ASSERT_EQ(RegDeleteTree("KAVICALC.atlasuser"), S_OK);
  EXPECT_EQ(RegKeyExists("Kavicalc.AtlasUser"), S_FALSE);
  EXPECT_EQ(RegKeyExists("Kavicalc.AtlasUser\\CurVer"), S_FALSE);
  EXPECT_EQ(Get("Kavicalc.AtlasUser.1\\CLSID"), "{X}");
  EXPECT_EQ(Get("Kavicalc.AtlasUser Extra"), "kept");
  EXPECT_EQ(RegDeleteTree("Kavicalc.AtlasUser"), S_FALSE);  // already gone
  ASSERT_EQ(RegDeleteTree("Kavicalc.AtlasUser.1\\CLSID"), S_OK);
  EXPECT_EQ(RegKeyExists("Kavicalc.AtlasUser.1"), S_OK);  // the parent stays
}

TEST_F(Registry, TextFormIsReadableAndEscaped) {
  const std::string awkward = "C:\\dir \"quoted\"\nline\ttab\x01 \xC3\x98 end";
  ASSERT_EQ(RegSetValue("Odd]Key\\Sub", "name \"q\"", awkward.c_str()), S_OK);
  EXPECT_EQ(Get("Odd]Key\\Sub", "name \"q\""), awkward);
  const std::string text = ReadFile();
  EXPECT_EQ(text.rfind("Kavi registry 1\n", 0), 0u);
  EXPECT_EQ(text.substr(text.size() - 4), "END\n");
  EXPECT_NE(
      text.find("[Odd]Key\\Sub]\n"
                "\"name \\\"q\\\"\"=\"C:\\\\dir \\\"quoted\\\"\\nline\\ttab\\x01 \xC3\x98 end\"\n"),
      std::string::npos)
      << text;

  // A hand-edited file: comments, blanks around =, CRLF line ends.
  WriteFile(
      "Kavi registry 1\r\n; edited by hand\r\n\r\n[A\\B]\r\n@ = \"one\"\r\n  \"N\" =\"t\\x41\"\r\n"
      "END\r\n\r\n");
  EXPECT_EQ(Get("A\\B"), "one");
  EXPECT_EQ(Get("a\\b", "n"), "tA");
  EXPECT_EQ(RegKeyExists("A"), S_OK);
}

TEST_F(Registry, DamagedFilesAreReportedAndNeverOverwritten) {
  const struct {
    const char* text;
    const char* problem;
  } damaged[] = {
      {"", "is corrupt or truncated: the file is empty"},
      {"Kavi registry 1\n[A]\n@=\"x\"\n", "is corrupt or truncated: the END line is missing"},
      {"Kavi registry 1\n[A]\n@=\"x", "is corrupt at line 3: unterminated quoted text"},
      {"Kavi registry 1\n[A]\n@=\"a\\qb\"\nEND\n", "is corrupt at line 3: unknown escape \\q"},
      {"Kavi registry 1\n[A]\n@=\"\\x4\"\nEND\n", "is corrupt at line 3: \\x must be followed"},
      {"Kavi registry 1\n@=\"x\"\nEND\n", "is corrupt at line 2: value before the first key"},
      {"Kavi registry 1\n[A]\ngarbage\nEND\n", "is corrupt at line 3: unexpected text"},
      {"Kavi registry 1\n[A\nEND\n", "is corrupt at line 2: key line without closing ]"},
      {"Kavi registry 1\n[A\\\\B]\nEND\n", "is corrupt at line 2: invalid key path"},
      {"Kavi registry 1\n[A]\n@ \"x\"\nEND\n", "is corrupt at line 3: = expected"},
      {"Kavi registry 1\n[A]\n@=\"x\" y\nEND\n", "is corrupt at line 3: unexpected text after"},
      {"Kavi registry 1\nEND\n[A]\n", "is corrupt at line 3: text after the END line"},
      {"Kavi registry 2\nEND\n", "is corrupt at line 1: unsupported format version"},
      {"[A]\nEND\n", "is corrupt at line 1: not a registry file"},
  };
  for (const auto& d : damaged) {
    WriteFile(d.text);
    EXPECT_EQ(Get("A"), ReadFailed) << d.text;
    const std::string description = ErrorDescription();
    EXPECT_NE(description.find("Registry file " + path_ + " " + d.problem), std::string::npos)
        << description;
    EXPECT_EQ(RegSetValue("A", nullptr, "new"), REGDB_E_READREGDB) << d.text;
    EXPECT_NE(ErrorDescription().find(path_), std::string::npos);
    EXPECT_EQ(RegDeleteTree("A"), REGDB_E_READREGDB);
    EXPECT_EQ(RegKeyExists("A"), REGDB_E_READREGDB);
    EXPECT_EQ(ReadFile(), d.text);  // left exactly as it was
  }
}

TEST_F(Registry, UnreadableAndUnwritableFiles) {
  std::filesystem::create_directory(path_);  // a folder where the file should be
  EXPECT_EQ(Get("A"), ReadFailed);
  EXPECT_NE(ErrorDescription().find("Registry file " + path_ + " cannot be read: Is a directory"),
            std::string::npos);
  std::filesystem::remove(path_);

  // A folder that cannot be created: its parent is a plain file.
  WriteFile("not a folder");
  const std::string inside = path_ + "/sub/registry";
  setenv("KAVI_REGISTRY", inside.c_str(), 1);
  EXPECT_EQ(RegSetValue("A", nullptr, "x"), REGDB_E_WRITEREGDB);
  EXPECT_NE(ErrorDescription().find("cannot create folder " + path_ + "/sub"), std::string::npos);
  EXPECT_EQ(Get("A"), ReadFailed);
  EXPECT_NE(ErrorDescription().find("cannot be read: Not a directory"), std::string::npos);
}

TEST_F(Registry, WritesCreateFoldersAndLeaveNoTemporaryFiles) {
  const std::string nested = folder_ + "/a/b/registry";
  setenv("KAVI_REGISTRY", nested.c_str(), 1);
  ASSERT_EQ(RegSetValue("K", "v", "1"), S_OK);
  ASSERT_EQ(RegSetValue("K", "v", "2"), S_OK);
  EXPECT_EQ(Get("K", "v"), "2");
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder_ + "/a/b"))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"registry", "registry.lock"}));
}

TEST_F(Registry, BadArguments) {
  char* data = reinterpret_cast<char*>(1);
  for (const char* bad : {"", "\\A", "A\\", "A\\\\B", "A\nB", "A\x7F"}) {
    EXPECT_EQ(RegSetValue(bad, nullptr, "x"), E_INVALIDARG) << bad;
    EXPECT_EQ(RegGetValue(bad, nullptr, &data), E_INVALIDARG) << bad;
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(RegCreateKey(bad), E_INVALIDARG) << bad;
    EXPECT_EQ(RegKeyExists(bad), E_INVALIDARG) << bad;
    EXPECT_EQ(RegDeleteTree(bad), E_INVALIDARG) << bad;
  }
  EXPECT_EQ(RegSetValue(nullptr, nullptr, "x"), E_INVALIDARG);
  EXPECT_EQ(RegSetValue("A", nullptr, nullptr), E_INVALIDARG);
  EXPECT_EQ(RegGetValue("A", nullptr, nullptr), E_INVALIDARG);
  EXPECT_EQ(RegCreateKey(nullptr), E_INVALIDARG);
  EXPECT_FALSE(std::filesystem::exists(path_));
}

TEST_F(Registry, FilePathComesFromTheEnvironment) {
  char buffer[512];
  EXPECT_EQ(RegFilePath(buffer, sizeof buffer), path_.size());
  EXPECT_EQ(std::string(buffer), path_);
  char small[5];
  EXPECT_EQ(RegFilePath(small, sizeof small), path_.size());  // the length it needs
  EXPECT_EQ(std::string(small), path_.substr(0, 4));
  EXPECT_EQ(RegFilePath(nullptr, 0), path_.size());

  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  const std::string xdg = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
  unsetenv("KAVI_REGISTRY");
  setenv("XDG_DATA_HOME", "/data/home", 1);
  RegFilePath(buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer), "/data/home/kavicalc/registry");
  setenv("XDG_DATA_HOME", "relative/ignored", 1);
  setenv("HOME", "/home/someone", 1);
  RegFilePath(buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer), "/home/someone/.local/share/kavicalc/registry");
  setenv("KAVI_REGISTRY", "", 1);  // empty counts as unset
  RegFilePath(buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer), "/home/someone/.local/share/kavicalc/registry");

  setenv("HOME", home.c_str(), 1);
  if (xdg.empty())
    unsetenv("XDG_DATA_HOME");
  else
    setenv("XDG_DATA_HOME", xdg.c_str(), 1);
}

TEST_F(Registry, ConcurrentWritersLoseNothing) {
  constexpr int kProcesses = 3, kThreads = 3, kWrites = 15;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      bool ok = true;
      for (int i = 0; i < kWrites; ++i) {
        const std::string key = KeyName('P', p, i);
        ok = ok && RegSetValue(key.c_str(), "n", std::to_string(i).c_str()) == S_OK;
      }
      _exit(ok ? 0 : 1);
    }
    children.push_back(child);
  }
  std::vector<std::thread> threads;
  std::atomic<int> failures{0};
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t, &failures] {
      for (int i = 0; i < kWrites; ++i) {
        const std::string key = KeyName('T', t, i);
        if (RegSetValue(key.c_str(), "n", std::to_string(i).c_str()) != S_OK) ++failures;
        char* data = nullptr;  // readers in between see a complete file
        if (RegGetValue(key.c_str(), "n", &data) != S_OK) ++failures;
        CoTaskMemFree(data);
      }
    });
  for (auto& thread : threads) thread.join();
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(failures.load(), 0);
  for (const char kind : {'P', 'T'})
    for (int w = 0; w < 3; ++w)
      for (int i = 0; i < kWrites; ++i) {
        const std::string key = KeyName(kind, w, i);
        EXPECT_EQ(Get(key.c_str(), "n"), std::to_string(i)) << key;
      }
}

TEST_F(Registry, AChangeGivesUpOnALockHeldTooLong) {
  ASSERT_EQ(RegSetValue("Key", "", "before"), S_OK);
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {  // a stuck process that holds the lock
    const int fd = open((path_ + ".lock").c_str(), O_RDWR | O_CREAT, 0644);
    flock(fd, LOCK_EX);
    if (write(ready[1], "x", 1) != 1) _exit(1);
    sleep(30);
    _exit(0);
  }
  char byte;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RegSetValue("Key", "", "after"), REGDB_E_WRITEREGDB);
  const auto waited = std::chrono::steady_clock::now() - start;
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  close(ready[0]);
  close(ready[1]);
  EXPECT_GE(waited, std::chrono::seconds(9));
  EXPECT_NE(ErrorDescription().find("held its lock"), std::string::npos);
  char* value = nullptr;
  ASSERT_EQ(RegGetValue("Key", "", &value), S_OK);
  EXPECT_STREQ(value, "before");
  CoTaskMemFree(value);
}

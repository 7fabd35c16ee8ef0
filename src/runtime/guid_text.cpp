// Identifiers as text: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case
// when written, either case when read, braces required.
#include <kavi/runtime.h>

#include <cstdio>
#include <string_view>

namespace kavi {

namespace {

constexpr std::size_t kGuidTextLength = 38;

int HexValue(char32_t c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  return -1;
}

// Reads `digits` hex digits at text[at]; false when one is not a hex digit.
template <typename Char>
bool ReadHex(std::basic_string_view<Char> text, std::size_t at, int digits, std::uint64_t& out) {
  out = 0;
  for (int i = 0; i < digits; ++i) {
    const int value = HexValue(static_cast<char32_t>(text[at + i]));
    if (value < 0) return false;
    out = (out << 4) | static_cast<std::uint64_t>(value);
  }
  return true;
}

template <typename Char>
bool ParseGuid(std::basic_string_view<Char> text, GUID& out) {
  if (text.size() != kGuidTextLength || text[0] != '{' || text[37] != '}' || text[9] != '-' ||
      text[14] != '-' || text[19] != '-' || text[24] != '-')
    return false;
  std::uint64_t data1 = 0, data2 = 0, data3 = 0, byte = 0;
  GUID guid{};
  if (!ReadHex(text, 1, 8, data1) || !ReadHex(text, 10, 4, data2) || !ReadHex(text, 15, 4, data3))
    return false;
  constexpr std::size_t kByteAt[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    if (!ReadHex(text, kByteAt[i], 2, byte)) return false;
    guid.Data4[i] = static_cast<std::uint8_t>(byte);
  }
  guid.Data1 = static_cast<std::uint32_t>(data1);
  guid.Data2 = static_cast<std::uint16_t>(data2);
  guid.Data3 = static_cast<std::uint16_t>(data3);
  out = guid;
  return true;
}

}  // namespace

std::string GuidToString(const GUID& g) {
  char text[kGuidTextLength + 1];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1,
                g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4],
                g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

bool GuidFromString(const std::string& text, GUID& out) {
  return ParseGuid(std::string_view(text), out);
}

extern "C" {

int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax) {
  constexpr int kWithNul = static_cast<int>(kGuidTextLength) + 1;
  if (!lpsz || cchMax < kWithNul) return 0;
  const std::string text = GuidToString(rguid);
  for (int i = 0; i < kWithNul; ++i) lpsz[i] = static_cast<OLECHAR>(text.c_str()[i]);
  return kWithNul;
}

HRESULT CLSIDFromString(LPCOLESTR lpsz, CLSID* pclsid) {
  if (!lpsz || !pclsid) return E_INVALIDARG;
  // Never read past the terminator: measure at most one character beyond a GUID.
  std::size_t length = 0;
  while (length <= kGuidTextLength && lpsz[length] != 0) ++length;
  return ParseGuid(std::u16string_view(lpsz, length), *pclsid) ? S_OK : CO_E_CLASSSTRING;
}

}  // extern "C"

}  // namespace kavi

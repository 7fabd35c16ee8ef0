// Automation strings: UTF-16 text preceded by its byte count (4 bytes) and
// followed by a NUL, handed out as a pointer to the first character.
#include <kavi/runtime.h>

#include <cstdlib>
#include <cstring>
#include <limits>

namespace kavi {

namespace {
using ByteCount = std::uint32_t;
constexpr std::size_t kPrefix = sizeof(ByteCount);

// Largest length whose byte count, prefix and terminator still fit the 32-bit count.
constexpr std::uint32_t kMaxLength =
    (std::numeric_limits<ByteCount>::max() - kPrefix - sizeof(OLECHAR)) / sizeof(OLECHAR);

ByteCount* PrefixOf(BSTR bstr) {
  return reinterpret_cast<ByteCount*>(reinterpret_cast<char*>(bstr) - kPrefix);
}

std::size_t LengthOf(const OLECHAR* psz) {
  std::size_t n = 0;
  while (psz[n] != 0) ++n;
  return n;
}
}  // namespace

extern "C" {

BSTR SysAllocStringLen(const OLECHAR* pch, std::uint32_t cch) {
  if (cch > kMaxLength) return nullptr;
  const ByteCount bytes = cch * static_cast<ByteCount>(sizeof(OLECHAR));
  auto* block = static_cast<char*>(std::malloc(kPrefix + bytes + sizeof(OLECHAR)));
  if (!block) return nullptr;
  std::memcpy(block, &bytes, kPrefix);
  auto* text = reinterpret_cast<OLECHAR*>(block + kPrefix);
  if (pch)
    std::memcpy(text, pch, bytes);
  else
    std::memset(text, 0, bytes);
  text[cch] = 0;
  return text;
}

BSTR SysAllocString(const OLECHAR* psz) {
  if (!psz) return nullptr;
  const std::size_t length = LengthOf(psz);
  if (length > kMaxLength) return nullptr;
  return SysAllocStringLen(psz, static_cast<std::uint32_t>(length));
}

std::uint32_t SysStringByteLen(BSTR bstr) { return bstr ? *PrefixOf(bstr) : 0; }

std::uint32_t SysStringLen(BSTR bstr) {
  return bstr ? *PrefixOf(bstr) / static_cast<ByteCount>(sizeof(OLECHAR)) : 0;
}

void SysFreeString(BSTR bstr) {
  if (bstr) std::free(PrefixOf(bstr));
}

}  // extern "C"

}  // namespace kavi

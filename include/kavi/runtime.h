// The component runtime (libkavirt): automation strings, variants, safe arrays,
// per-thread error information, the file-backed registry, identifier lookups
// and activation. All entry points have C linkage so that C hosts and ctypes
// clients reach them by name.
#pragma once

#include <kavi/abi.h>

#include <string>

namespace kavi {

extern "C" {

// ---- Automation strings (length-prefixed UTF-16, always NUL-terminated) ----
BSTR SysAllocString(const OLECHAR* psz);
BSTR SysAllocStringLen(const OLECHAR* pch, std::uint32_t cch);
std::uint32_t SysStringLen(BSTR bstr);
std::uint32_t SysStringByteLen(BSTR bstr);
void SysFreeString(BSTR bstr);

// ---- Variants ----
// Known types: VT_EMPTY, VT_NULL, VT_I2, VT_I4, VT_R4, VT_R8, VT_BSTR, VT_DISPATCH,
// VT_ERROR, VT_BOOL, VT_UNKNOWN, VT_UI1, VT_ARRAY of a safe-array element type,
// and VT_BYREF of those; any other type gives DISP_E_BADVARTYPE.
void VariantInit(VARIANT* pvarg);
// Frees the string, releases the interface or destroys the array; VT_EMPTY after.
HRESULT VariantClear(VARIANT* pvarg);
// Deep copy (string duplicated, interface AddRef'd, array copied); the old
// destination is cleared only once the copy succeeded. By-reference: shallow.
HRESULT VariantCopy(VARIANT* pvargDest, const VARIANT* pvargSrc);
// Converts pvarSrc to vt into pvargDest. The destination is only written on
// success; source and destination may be the same variant; a VT_BYREF source
// is read through. Numbers, booleans and strings convert among each other (C
// locale; reals to integers round half to even; out of range or NaN:
// DISP_E_OVERFLOW; booleans are 0 / -1 and "True" / "False"); VT_EMPTY gives 0,
// false or ""; VT_UNKNOWN <-> VT_DISPATCH through QueryInterface; arrays only to
// their own type; anything converts to VT_EMPTY; every other pair is
// DISP_E_TYPEMISMATCH. wFlags is accepted and ignored.
HRESULT VariantChangeType(VARIANT* pvargDest, const VARIANT* pvarSrc, USHORT wFlags, VARTYPE vt);

// ---- Safe arrays (one dimension) ----
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements);
HRESULT SafeArrayDestroy(SAFEARRAY* psa);
HRESULT SafeArrayGetLBound(SAFEARRAY* psa, std::uint32_t nDim, LONG* plLbound);
HRESULT SafeArrayGetUBound(SAFEARRAY* psa, std::uint32_t nDim, LONG* plUbound);
HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt);
// Element types: VT_VARIANT, VT_BSTR, VT_I2, VT_I4, VT_R4, VT_R8, VT_BOOL, VT_UI1,
// VT_ERROR, VT_UNKNOWN, VT_DISPATCH (null for any other). Indices outside the bounds give
// DISP_E_BADINDEX. Copies the element into *pv, which is treated as uninitialised: a variant is
// deep-copied, a string duplicated, an interface AddRef'd; the caller owns it.
HRESULT SafeArrayGetElement(SAFEARRAY* psa, const LONG* rgIndices, void* pv);
// Stores a copy in the element and releases the old value. For VT_BSTR,
// VT_UNKNOWN and VT_DISPATCH arrays pv IS the string or interface pointer (a
// null one is allowed); for every other type pv points at the value.
HRESULT SafeArrayPutElement(SAFEARRAY* psa, const LONG* rgIndices, const void* pv);
HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut);  // deep; a null psa copies to null
// Direct access to the elements; the array cannot be destroyed until unaccessed.
HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData);
HRESULT SafeArrayUnaccessData(SAFEARRAY* psa);

// ---- Error information (one current object per thread) ----
// The object answers ICreateErrorInfo and IErrorInfo; texts never set read back
// as null strings.
HRESULT CreateErrorInfo(ICreateErrorInfo** pperrinfo);
// AddRefs perrinfo and makes it the thread's current one (null clears it).
HRESULT SetErrorInfo(DWORD dwReserved, IErrorInfo* perrinfo);
// Hands the caller the thread's error information and clears it (S_FALSE when none).
HRESULT GetErrorInfo(DWORD dwReserved, IErrorInfo** pperrinfo);

// ---- Identifiers ----
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; lpsz receives 39 characters with the NUL.
// Returns 39, or 0 when cchMax is too small.
int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax);
// Braces required, hex digits in either case; anything else is CO_E_CLASSSTRING.
HRESULT CLSIDFromString(LPCOLESTR lpsz, CLSID* pclsid);
// Default value of CLSID\{clsid}\ProgID; REGDB_E_CLASSNOTREG when there is none.
HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* lplpszProgID);  // caller frees with CoTaskMemFree
// Default value of <ProgID>\CLSID, after following <ProgID>\CurVer to the
// current version when that names a registered one; CO_E_CLASSSTRING when unknown.
HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, CLSID* lpclsid);
void CoTaskMemFree(void* pv);
void* CoTaskMemAlloc(std::size_t cb);

// ---- Activation ----
// Looks up InprocServer32 of the class in the registry, loads the library
// (once per process) and calls its DllGetClassObject. Failures set the thread's
// error information: REGDB_E_CLASSNOTREG (no server registered),
// CO_E_DLLNOTFOUND (the library does not load), CO_E_ERRORINDLL (no entry point).
HRESULT CoGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);
HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, REFIID riid, void** ppv);

// ---- Registry (HKEY_CLASSES_ROOT only; paths use backslashes) ----
// Every change rewrites the registry file atomically under an exclusive lock.
// Value names: nullptr or "" is the key's default value. Key and value names
// compare without regard to ASCII case. A key path of empty components or with
// control characters is E_INVALIDARG. A registry file that cannot be read or
// is damaged gives REGDB_E_READREGDB (and is never overwritten), a failed write
// REGDB_E_WRITEREGDB; both set the thread's error information naming the file.
// Setting a value creates its key and the key's ancestors.
HRESULT RegSetValue(const char* keyPath, const char* valueName, const char* data);
// On success *data receives a CoTaskMemAlloc'd UTF-8 copy (free with CoTaskMemFree);
// REGDB_E_KEYMISSING when the key or the value does not exist.
HRESULT RegGetValue(const char* keyPath, const char* valueName, char** data);
HRESULT RegCreateKey(const char* keyPath);
HRESULT RegKeyExists(const char* keyPath);   // S_OK or S_FALSE
HRESULT RegDeleteTree(const char* keyPath);  // S_FALSE when there is no such key
// Writes the registry file path in use into buf (NUL-terminated, truncated to
// fit); returns the path's full length.
std::size_t RegFilePath(char* buf, std::size_t size);

}  // extern "C"

// ---- C++ conveniences (not part of the C ABI) ----
// UTF-16 to the narrow code page (UTF-8 here) and back; invalid sequences map to U+FFFD.
std::string Utf16ToNarrow(const OLECHAR* s, std::size_t length);
std::u16string NarrowToUtf16(const std::string& s);
std::string GuidToString(const GUID& g);  // upper-case, with braces
bool GuidFromString(const std::string& text, GUID& out);

}  // namespace kavi

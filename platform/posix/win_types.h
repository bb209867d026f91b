// Windows base types, with the widths they have on Windows.
#pragma once

#include <cstddef>
#include <cstdint>

#define WINAPI
#define STDMETHODCALLTYPE
#define __cdecl
#define __stdcall
#define __thiscall
#define DECLSPEC_NOINLINE

typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int32_t INT;
typedef uint32_t UINT;
typedef int32_t HRESULT;
typedef char CHAR;
typedef char16_t WCHAR;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef const WCHAR* LPCWSTR;
typedef WCHAR* LPWSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* HANDLE;
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef DWORD* LPDWORD;
typedef uintptr_t SIZE_T;
// The address of an export as GetProcAddress answers it; callers cast it to the real type.
typedef intptr_t (*FARPROC)();

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_FAIL ((HRESULT)0x80004005)
#define E_NOINTERFACE ((HRESULT)0x80004002)
#define E_POINTER ((HRESULT)0x80004003)
#define E_INVALIDARG ((HRESULT)0x80070057)
#define E_ACCESSDENIED ((HRESULT)0x80070005)
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

// A Win32 error code as an HRESULT of FACILITY_WIN32, as winerror.h spells it.
inline HRESULT HRESULT_FROM_WIN32(unsigned long code) {
    return static_cast<HRESULT>(code) <= 0
               ? static_cast<HRESULT>(code)
               : static_cast<HRESULT>((code & 0x0000FFFFu) | (7u << 16) | 0x80000000u);
}

#define MAX_PATH 260
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

inline bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i]) return false;
    return true;
}
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }

// A GUID from its registry form, "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", as the SDK's headers and
// documentation print it: the substitute spells identifiers that way, never as the product's
// brace initialisers, so a byte mistyped in one is not copied into the other.
namespace guid_text {
constexpr uint32_t HexDigit(char c) {
    return c >= '0' && c <= '9'   ? uint32_t(c - '0')
           : c >= 'a' && c <= 'f' ? uint32_t(c - 'a' + 10)
           : c >= 'A' && c <= 'F' ? uint32_t(c - 'A' + 10)
                                  : throw "not a hex digit";
}
constexpr uint32_t Hex(const char* text, int from, int digits) {
    uint32_t value = 0;
    for (int i = 0; i < digits; ++i) value = value * 16 + HexDigit(text[from + i]);
    return value;
}
}  // namespace guid_text

template <size_t N>
constexpr GUID GuidFromString(const char (&text)[N]) {
    static_assert(N == 37, "a GUID is written as 36 characters");
    if (text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-') throw "misplaced dash";
    GUID g{guid_text::Hex(text, 0, 8), uint16_t(guid_text::Hex(text, 9, 4)),
           uint16_t(guid_text::Hex(text, 14, 4)), {}};
    const int bytes[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (int i = 0; i < 8; ++i) g.Data4[i] = uint8_t(guid_text::Hex(text, bytes[i], 2));
    return g;
}

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

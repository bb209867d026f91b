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

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

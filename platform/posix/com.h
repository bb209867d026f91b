// COM substitute: reference-counted objects with a process-wide count of live objects.
#pragma once

#include "win_types.h"

#define CLSCTX_INPROC_SERVER 0x1u

#define CO_E_NOTINITIALIZED ((HRESULT)0x800401F0)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110)

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

protected:
    ~IUnknown() = default;
};

extern const IID IID_IUnknown;

HRESULT CoInitialize(LPVOID reserved);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, LPVOID* out);

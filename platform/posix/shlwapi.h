// shlwapi substitute: a read-only memory stream over a copy of some bytes.
#pragma once

#include "com.h"

struct IStream : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) = 0;

protected:
    ~IStream() = default;
};

// A new stream with one reference, or null.
IStream* WINAPI SHCreateMemStream(const BYTE* init, UINT size);

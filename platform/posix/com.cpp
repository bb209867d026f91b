// CoInitialize and CoCreateInstance over the one class this substitute registers: the WIC
// imaging factory.
#include "com.h"

#include "substitute.h"
#include "wic.h"
#include "wic_objects.h"

const IID IID_IUnknown = GuidFromString("00000000-0000-0000-C000-000000000046");

namespace {

// Like COM's apartment, per thread: the first call on a thread initialises it.
thread_local int coInitializeCalls = 0;

}  // namespace

HRESULT CoInitialize(LPVOID) { return coInitializeCalls++ == 0 ? S_OK : S_FALSE; }

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, LPVOID* out) {
    if (out) *out = nullptr;
    // An injected failure stands for a machine without the component.
    if (substitute::ShouldFail(substitute::Call::CoCreateInstance)) return REGDB_E_CLASSNOTREG;
    if (!out) return E_POINTER;
    if (coInitializeCalls == 0) return CO_E_NOTINITIALIZED;
    bool imagingFactory = clsid == CLSID_WICImagingFactory2 || clsid == CLSID_WICImagingFactory;
    if (!imagingFactory || !(context & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
    if (outer) return CLASS_E_NOAGGREGATION;
    return substitute::CreateImagingFactory(iid, out);
}

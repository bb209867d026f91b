#include "imaging_factory.h"

#include "wic_guids.h"

namespace {

// Deliberately a raw pointer: the factory outlives every request and is never released.
IWICImagingFactory* SharedImagingFactory = nullptr;

}  // namespace

IWICImagingFactory* SharedImagingFactoryOrCreate() {
    if (SharedImagingFactory) return SharedImagingFactory;
    CoInitialize(nullptr);
    void* created = nullptr;
    if (FAILED(CoCreateInstance(kClsidWicImagingFactory2, nullptr, CLSCTX_INPROC_SERVER,
                                kIidWicImagingFactory, &created)))
        created = nullptr;
    SharedImagingFactory = static_cast<IWICImagingFactory*>(created);
    return SharedImagingFactory;
}

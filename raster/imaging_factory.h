// The process-wide WIC factory: created by the first decode that needs it, never released.
#pragma once

#include "../platform/platform.h"

// Null until a creation succeeds; a failed creation is retried by the next request.
IWICImagingFactory* SharedImagingFactoryOrCreate();

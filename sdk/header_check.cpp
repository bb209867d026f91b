// ombrix.h is written for other plug-ins' makers apart from the library's own declarations; a
// function type that drifted from an export would pass arguments the library does not take.
#include <type_traits>

#include "image/exports.h"
#include "sdk/ombrix.h"

static_assert(std::is_same<OmbrixLoadPNGToRwTexture, decltype(&LoadPNGToRwTexture)>::value);
static_assert(std::is_same<OmbrixLoadSVGToRwTexture, decltype(&LoadSVGToRwTexture)>::value);
static_assert(std::is_same<OmbrixFindPNGinFolderPath, decltype(&FindPNGinFolderPath)>::value);
static_assert(std::is_same<OmbrixFindSVGinFolderPath, decltype(&FindSVGinFolderPath)>::value);

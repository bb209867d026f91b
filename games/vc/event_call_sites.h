// Vice City: the call instructions the three plug-in events redirect, per release.
#pragma once

#include "../event_call_site.h"

namespace games::vc {

// The game's RenderWare start-up call.
inline constexpr EventCallSite kRwStartupSites[] = {
    {0x4A5B6B, 100, {0, 0, 0}},
    {0x4A5B8B, 110, {0, 0, 0}},
    {0x4A5A3B, 120, {0, 0, 0}},
};
// The game's per-frame call.
inline constexpr EventCallSite kFrameProcessSites[] = {
    {0x4A5DA0, 100, {0, 0, 0}},
    {0x4A5DC0, 110, {0, 0, 0}},
    {0x4A5C70, 120, {0, 0, 0}},
};
// The game's RenderWare shut-down call.
inline constexpr EventCallSite kRwShutdownSites[] = {
    {0x4A5B8E, 100, {0, 0, 0}},
    {0x4A5BAE, 110, {0, 0, 0}},
    {0x4A5A5E, 120, {0, 0, 0}},
};

}  // namespace games::vc

// III: the call instructions the three plug-in events redirect, per release.
#pragma once

#include "../event_call_site.h"

namespace games::iii {

// The game's RenderWare start-up call.
inline constexpr EventCallSite kRwStartupSites[] = {
    {0x48D52F, 100, {0, 0, 0}},
    {0x48D62F, 110, {0, 0, 0}},
    {0x48D5BF, 120, {0, 0, 0}},
};
// The game's per-frame call.
inline constexpr EventCallSite kFrameProcessSites[] = {
    {0x48E49B, 100, {0, 0, 0}},
    {0x48E55B, 110, {0, 0, 0}},
    {0x48E4EB, 120, {0, 0, 0}},
};
// The game's RenderWare shut-down call.
inline constexpr EventCallSite kRwShutdownSites[] = {
    {0x48D540, 100, {0, 0, 0}},
    {0x48D640, 110, {0, 0, 0}},
    {0x48D5D0, 120, {0, 0, 0}},
};

}  // namespace games::iii

// San Andreas: the call instructions the three plug-in events redirect. Releases 1001 and 1002
// share them; the other releases have none, so their events are never installed.
#pragma once

#include "../event_call_site.h"

namespace games::sa {

// The game's RenderWare start-up call.
inline constexpr EventCallSite kRwStartupSites[] = {
    {0x5BF3A1, 1001, {0, 0, 0}},
    {0x5BF3A1, 1002, {0, 0, 0}},
};
// The game's per-frame call.
inline constexpr EventCallSite kFrameProcessSites[] = {
    {0x53E981, 1001, {0, 0, 0}},
    {0x53E981, 1002, {0, 0, 0}},
};
// The game's RenderWare shut-down call.
inline constexpr EventCallSite kRwShutdownSites[] = {
    {0x53D910, 1001, {0, 0, 0}},
    {0x53D910, 1002, {0, 0, 0}},
};

}  // namespace games::sa

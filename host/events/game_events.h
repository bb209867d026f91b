// The three events of the build's game, each bound to the call sites in its games/ table.
#pragma once

#include "../../games/selected_game.h"
#include "../injector/function_hooker.h"
#include "add_handler.h"
#include "arg_pick.h"
#include "base_event.h"
#include "ref_list.h"

namespace plugin {

// An event around a game call without arguments whose handlers take none either.
template <const auto& Sites>
using GameCallEvent = BaseEventI<injector::function_hooker, RefList<Sites>, ArgPick<ArgTypes<>>, void()>;

// After it has returned, RenderWare can create textures.
inline GameCallEvent<selected_game::kRwStartupSites>& RwStartupEvent() {
    static GameCallEvent<selected_game::kRwStartupSites> event;
    return event;
}

// Once per frame.
inline GameCallEvent<selected_game::kFrameProcessSites>& FrameProcessEvent() {
    static GameCallEvent<selected_game::kFrameProcessSites> event;
    return event;
}

// Before it runs, RenderWare can still destroy textures.
inline GameCallEvent<selected_game::kRwShutdownSites>& RwShutdownEvent() {
    static GameCallEvent<selected_game::kRwShutdownSites> event;
    return event;
}

}  // namespace plugin

// Registering a handler on an event. Handlers are never removed.
#pragma once

#include <cstdint>
#include <utility>

namespace plugin {

// Before the game's callee. Nothing changes when the list holds a duplicate: the same non-zero
// id, or with id 0 the same plain function.
template <class Event>
void AddBefore(Event& event, typename Event::handler_type handler, int32_t id = 0) {
    event.Register(event.before, std::move(handler), id);
}

// After the game's callee; the same duplicate rule.
template <class Event>
void AddAfter(Event& event, typename Event::handler_type handler, int32_t id = 0) {
    event.Register(event.after, std::move(handler), id);
}

}  // namespace plugin

// The dispatcher of one call site: what the redirected call instruction calls.
#pragma once

#include <utility>

namespace injector {

// No stack arguments, the result in the return register: a drop-in for the game's callee.
// Each entry, first to last, wraps the callable before it, starting from the game's callee;
// so the entry added last runs first, and each one decides whether and when to run its next.
template <class Manager>
typename Manager::result_type call_hooks() {
    using Hooker = typename Manager::hooker_type;
    Manager& manager = *Manager::Instance();
    typename Hooker::callee_callable next = [&manager] {
        return reinterpret_cast<typename Hooker::func_type>(manager.callee)();
    };
    for (auto& entry : manager.hooks)
        next = [&entry, previous = std::move(next)] { return entry.functor(previous); };
    return next();
}

}  // namespace injector

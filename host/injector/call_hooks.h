// The dispatcher of one call site: what the redirected call instruction calls.
#pragma once

#include <utility>

namespace injector {

// No stack arguments, the result in the return register: a drop-in for the game's callee.
// Each entry, first to last, wraps the callable before it, starting from the game's callee;
// so the entry added last runs first, and each one decides whether and when to run its next.
//
// Each link of the chain holds its own copy of its entry's functor, so an entry added to the
// site (or removed from it) while the chain runs only changes the next call: nothing in the
// chain points into the list of entries, whose storage moves when it grows.
//
// Nothing unwinds out of here into the game's frames. When building or running the chain
// fails (an allocation among the causes), the game's call still happens, exactly once: the
// callee's result when it already ran, else the callee called now.
template <class Manager>
typename Manager::result_type call_hooks() noexcept {
    using Hooker = typename Manager::hooker_type;
    using Result = typename Manager::result_type;
    Manager& manager = *Manager::Instance();
    const auto callee = reinterpret_cast<typename Hooker::func_type>(manager.callee);
    bool called = false;
    Result result{};
    try {
        typename Hooker::callee_callable next = [callee, &called, &result] {
            result = callee();
            called = true;
            return result;
        };
        for (const auto& entry : manager.hooks)
            next = [functor = entry.functor, previous = std::move(next)] {
                return functor(previous);
            };
        return next();
    } catch (...) {
        return called ? result : callee();
    }
}

}  // namespace injector

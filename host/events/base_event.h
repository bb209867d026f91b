// An event of the plug-in layer, raised when the game executes one of its redirected calls:
// the before-handlers, then the game's own callee, then the after-handlers.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "patch_all.h"

namespace plugin {

// Mechanism: the call-site hook (injector::function_hooker); Refs: its plugin::RefList;
// Pick: the plugin::ArgPick for the handlers; Signature: the handlers' signature.
template <template <class, uint32_t, class> class Mechanism, class Refs, class Pick, class Signature>
class BaseEventI;

template <template <class, uint32_t, class> class Mechanism, class Refs, class Pick>
class BaseEventI<Mechanism, Refs, Pick, void()> {
public:
    using handler_type = std::function<void()>;
    using callee_callable = std::function<uint32_t()>;  // runs the game's callee

    struct HandlerEntry {
        handler_type handler;  // what runs; never empty
        int32_t id;            // 0: anonymous
    };

    BaseEventI() = default;
    BaseEventI(const BaseEventI&) = delete;
    BaseEventI& operator=(const BaseEventI&) = delete;

    // Appends to `list` (before or after) unless it holds a duplicate; the first
    // registration of all installs the event's hooks.
    void Register(std::vector<HandlerEntry>& list, handler_type handler, int32_t id) {
        if (!handler) return;
        for (const HandlerEntry& entry : list)
            if (IsDuplicate(entry, handler, id)) return;
        if (!installed) {
            installed = true;
            PatchAll<Mechanism, Refs>([this](callee_callable callee) { return Dispatch(callee); });
        }
        list.push_back(HandlerEntry{std::move(handler), id});
    }

    // The hook functor of every call site of the event: the result of the game's callee
    // goes back to the game unchanged.
    uint32_t Dispatch(const callee_callable& callee) {
        RunAll(before);
        const uint32_t result = callee();
        RunAll(after);
        return result;
    }

    bool installed = false;            // its hooks are in place (or no reference matched)
    std::vector<HandlerEntry> before;  // run ahead of the game's callee, in order
    std::vector<HandlerEntry> after;   // run after it, in order

private:
    // A non-zero id matches the same id; otherwise only the same plain function matches.
    static bool IsDuplicate(const HandlerEntry& entry, const handler_type& handler, int32_t id) {
        if (id != 0) return entry.id == id;
        auto* function = handler.template target<void (*)()>();
        auto* other = entry.handler.template target<void (*)()>();
        return function && other && *function == *other;
    }

    // A handler that fails (an allocation among the causes) is given up: the handlers after it
    // and the game's own call still run, and nothing unwinds into the game.
    static void RunAll(const std::vector<HandlerEntry>& list) noexcept {
        for (size_t i = 0; i < list.size(); ++i) {
            try {
                handler_type copy = list[i].handler;
                Pick::Call(copy);
            } catch (...) {
            }
        }
    }
};

}  // namespace plugin

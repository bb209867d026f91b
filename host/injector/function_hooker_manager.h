// The hooks of one call site: the site's saved call, the game's callee and the hook entries
// that call_hooks chains when the game executes the redirected call. One per site, shared.
#pragma once

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace injector {

// T is scoped_call; Hooker is the site's hook-handle class, which names the functor type.
template <class T, class Hooker>
class function_hooker_manager : public T {
public:
    using hooker_type = Hooker;
    using result_type = typename Hooker::result_type;
    using functor_type = typename Hooker::functor_type;

    struct HookEntry {
        const Hooker* handle;  // the handle that owns the entry
        functor_type functor;  // its hook, given the next callable to run
    };

    // The process-wide reference to the site's manager, created by the first request.
    static const std::shared_ptr<function_hooker_manager>& Instance() {
        static const std::shared_ptr<function_hooker_manager> instance =
            std::make_shared<function_hooker_manager>();
        return instance;
    }

    ~function_hooker_manager() override { hooks.clear(); }

    // Puts the game's call back; the entries go with it.
    void RestoreBytes() override {
        if (!hooked) return;
        hooked = false;
        hooks.clear();
        T::RestoreBytes();
    }

    void AddHook(const Hooker* handle, functor_type functor) {
        hooks.push_back(HookEntry{handle, std::move(functor)});
    }

    // Removes the entry of `handle`, handing its functor to `functor` when asked; false when
    // the handle has no entry.
    bool RemoveHook(const Hooker* handle, functor_type* functor = nullptr) {
        auto entry = std::find_if(hooks.begin(), hooks.end(),
                                  [handle](const HookEntry& e) { return e.handle == handle; });
        if (entry == hooks.end()) return false;
        if (functor) *functor = std::move(entry->functor);
        hooks.erase(entry);
        return true;
    }

    void* callee = nullptr;        // what the site called before it was redirected
    std::vector<HookEntry> hooks;  // in the order they were added
    bool hooked = false;           // the site calls call_hooks now
};

}  // namespace injector

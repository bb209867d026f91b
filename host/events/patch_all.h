// Installing an event's call-site hooks for the running release.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <type_traits>
#include <utility>

#include "../host_version.h"
#include "../injector/scoped_call.h"

namespace plugin {

// The hooked call of every event: no stack arguments, a 32-bit result in the return register.
using HookedCall = uint32_t();
// The hook functor an event gives each of its call sites: it gets the game's callee.
using CallSiteFunctor = std::function<uint32_t(std::function<uint32_t()>)>;

// The hook handles of one call site, kept for the life of the process. At exit the runtime
// destroys them, and the last one of the site puts the game's call back.
template <class Hook>
std::list<Hook>& SiteHandles() {
    static std::list<Hook> handles;
    return handles;
}

template <class Hook>
void PatchReference(int32_t version, const CallSiteFunctor& functor) {
    static_assert(std::is_same_v<typename Hook::functor_type, CallSiteFunctor>);
    if (version != HostVersion()) return;
    Hook hook(functor);
    SiteHandles<Hook>().push_back(hook);  // the copy takes the hook over from `hook`
}

template <template <class, uint32_t, class> class Mechanism, class Refs, size_t... I>
void PatchReferences(const CallSiteFunctor& functor, std::index_sequence<I...>) {
    (PatchReference<Mechanism<injector::scoped_call, Refs::template address<I>, HookedCall>>(
         Refs::Version(I), functor),
     ...);
}

// Hooks every reference of `Refs`, in list order, whose version code is the running one.
template <template <class, uint32_t, class> class Mechanism, class Refs>
void PatchAll(const CallSiteFunctor& functor) {
    PatchReferences<Mechanism, Refs>(functor, std::make_index_sequence<Refs::size>());
}

}  // namespace plugin

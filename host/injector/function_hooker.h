// A hook handle for a call site with the callee's signature spelled out.
#pragma once

#include <cstdint>
#include <utility>

#include "call_hooks.h"
#include "function_hooker_base.h"

namespace injector {

template <class T, uint32_t Address, class Signature>
class function_hooker;

template <class T, uint32_t Address, class Ret>
class function_hooker<T, Address, Ret()> : public function_hooker_base<T, Address, Ret (*)(), Ret> {
    using base = function_hooker_base<T, Address, Ret (*)(), Ret>;

public:
    using typename base::functor_type;

    function_hooker() = default;
    explicit function_hooker(functor_type functor) { function_hooker::InstallHook(std::move(functor)); }
    function_hooker(const function_hooker&) = default;

    void InstallHook(functor_type functor) override {
        this->InstallThrough(std::move(functor),
                             reinterpret_cast<const void*>(&call_hooks<typename base::manager_type>));
    }
};

}  // namespace injector

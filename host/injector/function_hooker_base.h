// A hook handle on the call site at game address `Address`: one entry in the site's manager.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

#include "../host_address.h"
#include "function_hooker_manager.h"
#include "scoped_base.h"

namespace injector {

// T is scoped_call; FuncType is the callee's type, a routine without arguments returning Ret.
template <class T, uint32_t Address, class FuncType, class Ret>
class function_hooker_base : public scoped_base {
public:
    using result_type = Ret;
    using func_type = FuncType;
    using callee_callable = std::function<Ret()>;               // runs the next hook or the callee
    using functor_type = std::function<Ret(callee_callable)>;  // a hook
    using manager_type = function_hooker_manager<T, function_hooker_base>;

    function_hooker_base() : manager(manager_type::Instance()) {}

    // Takes the source's hook over: its entry moves to the end of the site's list under this
    // handle, so destroying the source afterwards changes nothing at the site.
    function_hooker_base(const function_hooker_base& source)
        : scoped_base(), address(source.address), hooked(source.hooked), manager(source.manager) {
        functor_type functor;
        if (manager->RemoveHook(&source, &functor)) manager->AddHook(this, std::move(functor));
    }
    function_hooker_base& operator=(const function_hooker_base&) = delete;

    ~function_hooker_base() override { DropEntry(); }

    void RestoreBytes() override { ReleaseHook(); }

    virtual void InstallHook(functor_type functor) = 0;

    // Removes this handle's entry; the site gets its call back when no entry is left.
    void ReleaseHook() {
        hooked = false;
        DropEntry();
    }

    bool IsHooked() const { return hooked; }

protected:
    // Adds the entry; the first entry of the site redirects its call to `dispatcher`.
    void InstallThrough(functor_type functor, const void* dispatcher) {
        hooked = true;
        manager->AddHook(this, std::move(functor));
        if (!manager->hooked) {
            manager->callee = manager->RedirectCall(HostAddress(address), dispatcher, true);
            manager->hooked = true;
        }
    }

private:
    void DropEntry() {
        if (manager->RemoveHook(this) && manager->hooks.empty()) manager->RestoreBytes();
    }

public:
    uint32_t address = Address;             // game address of the call site
    bool hooked = false;                    // this handle has an entry it did not release
    std::shared_ptr<manager_type> manager;  // the site's manager, shared by its handles
};

}  // namespace injector

// Root of the hooking layer's objects: something that can put game code back.
#pragma once

namespace injector {

class scoped_base {
public:
    virtual ~scoped_base() = default;
    virtual void RestoreBytes() = 0;
};

}  // namespace injector

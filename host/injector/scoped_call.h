// A redirected call instruction: the saved five bytes of the call and the redirection itself.
#pragma once

#include "scoped_basic.h"

namespace injector {

class scoped_call : public scoped_basic<5> {
public:
    // Saves the five bytes at `site` (protected when `protect` is set), then writes
    // E8 rel32 to `destination` there. Answers the callee the site called before.
    void* RedirectCall(void* site, const void* destination, bool protect);
};

}  // namespace injector

// Base of every substitute COM object: the reference count, QueryInterface over the object's
// interfaces, deletion when the last reference goes, and the process-wide live count.
#pragma once

#include <atomic>

#include "com.h"

namespace substitute {

// Kept by substitute.cpp, read through LiveComObjects().
void NoteComObjectCreated();
void NoteComObjectDestroyed();

// `Interface` is the object's most derived interface; every interface it answers to lies on
// that one inheritance chain, so one pointer serves them all.
template <class Interface>
class ComObject : public Interface {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || Implements(iid)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

protected:
    ComObject() { NoteComObjectCreated(); }
    virtual ~ComObject() { NoteComObjectDestroyed(); }

    // True for each interface identity other than IUnknown that the object answers to.
    virtual bool Implements(REFIID iid) const = 0;

private:
    std::atomic<ULONG> references_{1};  // the creator's reference
};

}  // namespace substitute

// SHCreateMemStream: a stream reading from its own copy of the bytes.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "com_object.h"
#include "shlwapi.h"
#include "substitute.h"

namespace substitute {
namespace {

const IID IID_IStream = GuidFromString("0000000C-0000-0000-C000-000000000046");

class MemStream final : public ComObject<IStream> {
public:
    explicit MemStream(std::vector<BYTE> bytes) : bytes_(std::move(bytes)) {}

    // S_FALSE when fewer bytes than asked for remain, as ISequentialStream reports it.
    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) override {
        if (!buffer && size != 0) return E_POINTER;
        const size_t left = bytes_.size() - position_;
        const size_t count = std::min<size_t>(left, size);
        if (count != 0) std::memcpy(buffer, bytes_.data() + position_, count);
        position_ += count;
        if (read) *read = static_cast<ULONG>(count);
        return count == size ? S_OK : S_FALSE;
    }

private:
    bool Implements(REFIID iid) const override { return iid == IID_IStream; }
    std::vector<BYTE> bytes_;
    size_t position_ = 0;
};

}  // namespace
}  // namespace substitute

IStream* WINAPI SHCreateMemStream(const BYTE* init, UINT size) {
    using namespace substitute;
    if (ShouldFail(Call::SHCreateMemStream)) return nullptr;
    try {
        std::vector<BYTE> bytes;
        if (init) bytes.assign(init, init + size);
        return new MemStream(std::move(bytes));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

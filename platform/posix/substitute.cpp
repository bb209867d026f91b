#include "substitute.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <mutex>
#include <string>

#include "com_object.h"

namespace substitute {
namespace {

struct CallState {
    int attempts = 0;         // every attempt since the last reset, failed or not
    int successesLeft = -1;   // successes before the one armed failure; -1: none armed
    bool failAlways = false;  // every attempt fails until the next reset
};

std::mutex callMutex;
std::array<CallState, static_cast<size_t>(Call::Count)> calls;
std::atomic<long> liveComObjects{0};

bool IsCall(Call call) { return static_cast<size_t>(call) < calls.size(); }

constexpr const char* kCallNames[] = {
    "MultiByteToWideChar",
    "GetFileAttributesExA",
    "GetFileAttributesA",
    "CreateDirectoryA",
    "DeleteFileA",
    "CreateFileA",
    "ReadFile",
    "WriteFile",
    "CoCreateInstance",
    "CreateDecoderFromFilename",
    "GetFrame",
    "GetSize",
    "CreateFormatConverter",
    "ConverterInitialize",
    "CreateBitmapFromSource",
    "CreateBitmapScaler",
    "ScalerInitialize",
    "CopyPixels",
    "D3D11CreateDevice",
    "QueryDxgiDevice",
    "D2D1CreateFactory",
    "D2D1CreateDevice",
    "CreateDeviceContext",
    "QueryDeviceContext5",
    "SHCreateMemStream",
    "CreateSvgDocument",
    "FindElementById",
    "CreateTexture2D",
    "QueryDxgiSurface",
    "CreateBitmapFromDxgiSurface",
    "EndDraw",
    "Map",
    "CreateEffect",
    "SetAttributeValue",
    "RemoveAttribute",
    "VirtualProtect",
    "GetModuleHandleA",
    "GetModuleFileNameA",
    "LoadLibraryA",
    "GetProcAddress",
    "GetPrivateProfileIntA",
    "WritePrivateProfileStringA",
    "MessageBoxA",
};
static_assert(std::size(kCallNames) == static_cast<size_t>(Call::Count));

// A test process names calls to fail from its start, before the plug-in code attached in it
// runs (after the stand-in has laid out the game image): SUBSTITUTE_FAIL_ALWAYS holds their
// names, comma separated.
__attribute__((constructor(102))) void FailCallsNamedInTheEnvironment() {
    const char* names = std::getenv("SUBSTITUTE_FAIL_ALWAYS");
    if (!names) return;
    std::string list = names;
    for (size_t at = 0; at <= list.size();) {
        const size_t end = std::min(list.find(',', at), list.size());
        const Call call = CallNamed(list.substr(at, end - at).c_str());
        if (IsCall(call)) calls[static_cast<size_t>(call)].failAlways = true;
        at = end + 1;
    }
}

}  // namespace

Call CallNamed(const char* name) {
    for (size_t i = 0; i < std::size(kCallNames); ++i)
        if (name && std::strcmp(name, kCallNames[i]) == 0) return static_cast<Call>(i);
    return Call::Count;
}

const char* CallName(Call call) { return IsCall(call) ? kCallNames[static_cast<size_t>(call)] : ""; }

void FailCall(Call call, int successesFirst) {
    if (!IsCall(call)) return;
    std::lock_guard<std::mutex> lock(callMutex);
    calls[static_cast<size_t>(call)].successesLeft = successesFirst < 0 ? 0 : successesFirst;
}

void FailCallAlways(Call call) {
    if (!IsCall(call)) return;
    std::lock_guard<std::mutex> lock(callMutex);
    calls[static_cast<size_t>(call)].failAlways = true;
}

int CallCount(Call call) {
    if (!IsCall(call)) return 0;
    std::lock_guard<std::mutex> lock(callMutex);
    return calls[static_cast<size_t>(call)].attempts;
}

void ResetSubstitute() {
    {
        std::lock_guard<std::mutex> lock(callMutex);
        calls.fill(CallState{});
    }
    LimitImageSide(UINT_MAX);
}

bool ShouldFail(Call call) {
    if (!IsCall(call)) return false;
    std::lock_guard<std::mutex> lock(callMutex);
    CallState& state = calls[static_cast<size_t>(call)];
    ++state.attempts;
    if (state.failAlways) return true;
    if (state.successesLeft < 0) return false;
    if (state.successesLeft == 0) {
        state.successesLeft = -1;
        return true;
    }
    --state.successesLeft;
    return false;
}

long LiveComObjects() { return liveComObjects.load(); }

void NoteComObjectCreated() { ++liveComObjects; }
void NoteComObjectDestroyed() { --liveComObjects; }

}  // namespace substitute

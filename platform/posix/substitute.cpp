#include "substitute.h"

#include <array>
#include <atomic>
#include <mutex>

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

}  // namespace

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
    std::lock_guard<std::mutex> lock(callMutex);
    calls.fill(CallState{});
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

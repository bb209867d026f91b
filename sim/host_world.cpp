#include "host_world.h"

#include <iterator>

#include "host_routines.h"

namespace sim {
namespace {

constexpr const char* kRoutineNames[] = {
    "rwRenderStateSet",    "rwTextureDestroy", "spriteDraw",      "spriteConstruct",
    "spriteDestruct",      "playerCharacter",  "playerVehicle",   "pad",
    "padHideQuery",        "padRestoreQuery",  "padRestoreQueryElse", "userTracksAvailable",
    "retuneRadio",         "setRadioVolume",   "currentStation",  "radioActive",
};
static_assert(std::size(kRoutineNames) == static_cast<size_t>(HostRoutine::Count));

std::vector<HostCall>& Log() {
    static auto* log = new std::vector<HostCall>;
    return *log;
}

}  // namespace

const char* HostRoutineName(HostRoutine routine) {
    return kRoutineNames[static_cast<size_t>(routine)];
}

HostWorld& World() {
    static auto* world = new HostWorld;
    return *world;
}

const std::vector<HostCall>& HostCallLog() { return Log(); }

std::vector<HostCall> HostCallsTo(HostRoutine routine) {
    std::vector<HostCall> calls;
    for (const HostCall& call : Log())
        if (call.routine == routine) calls.push_back(call);
    return calls;
}

void ClearHostCallLog() { Log().clear(); }

void RecordHostCall(const HostCall& call) { Log().push_back(call); }

void ResetHostWorld() {
    Log().clear();
    World() = HostWorld();
    ZeroHostVariables();
}

}  // namespace sim

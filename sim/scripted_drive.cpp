#include "scripted_drive.h"

#include "../games/host_cells.h"
#include "event_call_sites.h"
#include "game_code.h"
#include "host_layout.h"
#include "host_routines.h"
#include "rw_engine.h"

namespace sim {
namespace {

constexpr int32_t kWalkingState = 1;  // any state but driving

template <class T>
void Put(const games::HostCell& cell, T value) {
    if (T* at = HostCellPointer<T>(cell)) *at = value;
}

void Tune(const games::HostFields& fields, int32_t station) {
    HostWorld& world = World();
    if (fields.vehicleRadioStation)
        ObjectField<uint8_t>(world.vehicleObject, fields.vehicleRadioStation) =
            static_cast<uint8_t>(station);
    world.currentStation = static_cast<int8_t>(station);
    world.radioActive = 1;
}

void Apply(const DriveEvent& event, const games::HostCells& cells,
           const games::HostFields& fields) {
    HostWorld& world = World();
    switch (event.action) {
        case DriveAction::OnFoot:
            world.character = world.characterObject;
            ObjectField<int32_t>(world.characterObject, fields.characterState) = kWalkingState;
            world.vehicle = nullptr;
            world.radioActive = 0;
            break;
        case DriveAction::GetIn:
            world.character = world.characterObject;
            ObjectField<int32_t>(world.characterObject, fields.characterState) = fields.drivingState;
            world.vehicle = world.vehicleObject;
            if (fields.vehicleRadioType) ObjectField<uint8_t>(world.vehicleObject, fields.vehicleRadioType) = 0;
            if (fields.vehicleClass) ObjectField<int32_t>(world.vehicleObject, fields.vehicleClass) = 0;
            Tune(fields, event.value);
            break;
        case DriveAction::PressRadio: Put<int32_t>(cells.pendingStationSteps, event.value); break;
        case DriveAction::Retune:
            Put<int32_t>(cells.pendingStationSteps, 0);
            Tune(fields, event.value);
            break;
    }
}

DrawnCall Drawn(const HostCall& call) {
    DrawnCall drawn{call.routine, 0, 0, 0, {}, {}};
    if (call.routine == HostRoutine::RwRenderStateSet) {
        drawn.state = call.args[0];
        drawn.value = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(call.value));
    } else {
        drawn.texture = TextureCreationIndex(call.texture);
        drawn.rect = call.rect;
        drawn.colour = call.colour;
    }
    return drawn;
}

}  // namespace

const DriveScript& RadioDriveScript() {
    static const DriveScript script = {350,
                                       {
                                           {0, DriveAction::OnFoot, 0},
                                           {10, DriveAction::GetIn, 2},
                                           {60, DriveAction::PressRadio, 1},
                                           {61, DriveAction::Retune, 3},
                                           {110, DriveAction::PressRadio, 1},
                                           {111, DriveAction::Retune, 4},
                                           {340, DriveAction::OnFoot, 0},
                                       }};
    return script;
}

std::vector<DriveFrame> PlayDrive(const DriveScript& script) {
    const Game game = HostRoutinesGame();
    const games::HostCells* cells = HostCellsOf(game);
    const games::HostFields* fields = HostFieldsOf(game);
    std::vector<DriveFrame> frames;
    if (!cells || !fields) return frames;
    std::vector<uint32_t> frameSites;
    for (uint32_t site : EventCallSitesOf(game, GameEvent::FrameProcess))
        if (EventCallee(site)) frameSites.push_back(site);

    for (uint32_t frame = 0; frame < script.frameCount; ++frame) {
        DriveFrame record;
        record.frame = frame;
        record.clock = kDriveStartClock + frame * kDriveFrameMs;
        record.screenWidth = script.screenWidth;
        record.screenHeight = script.screenHeight;
        Put<uint32_t>(cells->clock, record.clock);
        Put<float>(cells->timeStep, 1.0f);
        Put<int32_t>(cells->screenWidth, record.screenWidth);
        Put<int32_t>(cells->screenHeight, record.screenHeight);
        for (const DriveEvent& event : script.events)
            if (event.frame == frame) Apply(event, *cells, *fields);

        ClearHostCallLog();
        for (uint32_t site : frameSites) RunGameCode(site);
        if (const uint32_t routine = HostCellAddress(cells->replacedRoutine)) RunGameCode(routine);
        record.calls = HostCallLog();
        for (const HostCall& call : record.calls)
            if (call.routine == HostRoutine::SpriteDraw || call.routine == HostRoutine::RwRenderStateSet)
                record.drawn.push_back(Drawn(call));
        frames.push_back(std::move(record));
    }
    return frames;
}

}  // namespace sim

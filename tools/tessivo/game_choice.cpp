#include "game_choice.h"

#include <algorithm>

#include "games/iii/event_call_sites.h"
#include "games/iii/station_icons.h"
#include "games/iii/station_ring.h"
#include "games/iii/version_signatures.h"
#include "games/sa/event_call_sites.h"
#include "games/sa/station_icons.h"
#include "games/sa/station_ring.h"
#include "games/sa/version_signatures.h"
#include "games/vc/event_call_sites.h"
#include "games/vc/station_icons.h"
#include "games/vc/station_ring.h"
#include "games/vc/version_signatures.h"

namespace {

// The III and Vice City codes stand for the releases the versioned addresses are told apart
// by; the San Andreas codes have no names the project can vouch for.
constexpr KnownRelease kNamesOneOneSteam[] = {{100, "1.0"}, {110, "1.1"}, {120, "Steam"}};
constexpr TableView<KnownRelease> kNoNames{kNamesOneOneSteam, 0};

const GameChoice kGames[] = {
    {"iii", "III", "III", "gta3.exe", games::iii::kRingWithUserTracks, games::iii::kRingWithoutUserTracks,
     games::iii::kStationIconTable, games::iii::kVersionSignatures, games::iii::kFrameProcessSites,
     kNamesOneOneSteam},
    {"vc", "VC", "Vice City", "gta-vc.exe", games::vc::kRingWithUserTracks, games::vc::kRingWithoutUserTracks,
     games::vc::kStationIconTable, games::vc::kVersionSignatures, games::vc::kFrameProcessSites,
     kNamesOneOneSteam},
    {"sa", "SA", "San Andreas", "gta_sa.exe", games::sa::kRingWithUserTracks, games::sa::kRingWithoutUserTracks,
     games::sa::kStationIconTable, games::sa::kVersionSignatures, games::sa::kFrameProcessSites, kNoNames},
};

}  // namespace

const GameChoice* FindGame(const std::string& name) {
    for (const GameChoice& game : kGames)
        if (name == game.name) return &game;
    return nullptr;
}

TableView<GameChoice> AllGames() { return kGames; }

bool HasStation(const GameChoice& game, int32_t station) {
    return std::any_of(game.stations.begin(), game.stations.end(),
                       [station](const games::StationRingEntry& e) { return e.stationId == station; });
}

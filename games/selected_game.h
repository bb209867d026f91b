// The game a build is made for, chosen by the build target's compile definition.
// This is the only place the definition is looked at; everything else reads `selected_game::`.
#pragma once

#include "iii/event_call_sites.h"
#include "iii/host_cells.h"
#include "iii/rw_functions.h"
#include "iii/station_icons.h"
#include "iii/station_ring.h"
#include "iii/version_signatures.h"
#include "iii/versioned_addresses.h"
#include "sa/event_call_sites.h"
#include "sa/host_cells.h"
#include "sa/rw_functions.h"
#include "sa/station_icons.h"
#include "sa/station_ring.h"
#include "sa/version_signatures.h"
#include "sa/versioned_addresses.h"
#include "vc/event_call_sites.h"
#include "vc/host_cells.h"
#include "vc/rw_functions.h"
#include "vc/station_icons.h"
#include "vc/station_ring.h"
#include "vc/version_signatures.h"
#include "vc/versioned_addresses.h"

#if defined(GAME_III)
namespace selected_game = games::iii;
#elif defined(GAME_VC)
namespace selected_game = games::vc;
#elif defined(GAME_SA)
namespace selected_game = games::sa;
#else
#error "define one of GAME_III, GAME_VC, GAME_SA for this target"
#endif

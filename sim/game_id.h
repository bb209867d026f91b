// Which game the stand-in lays its image out for.
#pragma once

namespace sim {

enum class Game { None, III, VC, SA };

}  // namespace sim

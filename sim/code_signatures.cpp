#include "code_signatures.h"

#include <cstring>

#include "../games/iii/version_signatures.h"
#include "../games/sa/version_signatures.h"
#include "../games/vc/version_signatures.h"
#include "game_image.h"

namespace sim {
namespace {

template <class Table>
void WriteRows(const Table& table, const int32_t* codes, size_t count) {
    for (size_t i = 0; i < count; ++i)
        for (const games::VersionSignature& row : table)
            if (row.code == codes[i]) std::memcpy(GameBytes(row.probeAddress), &row.expected, 4);
}

}  // namespace

void WriteCodeSignatures(Game game, const int32_t* codes, size_t count) {
    switch (game) {
        case Game::III: WriteRows(games::iii::kVersionSignatures, codes, count); break;
        case Game::VC: WriteRows(games::vc::kVersionSignatures, codes, count); break;
        case Game::SA:
            std::memcpy(GameBytes(0x401000), &kSanAndreasPlainEntry, 4);
            WriteRows(games::sa::kVersionSignatures, codes, count);
            break;
        case Game::None: break;
    }
}

}  // namespace sim

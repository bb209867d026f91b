// The strip's per-frame routine: the game's call of the routine it replaces lands here.
#pragma once

void RadioStripFrame() noexcept;

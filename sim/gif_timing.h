// The timing blocks of an animated GIF, as they stand in the file:
//
//   "GIF89a", screen descriptor (7 bytes), global colour table when its flag says
//   21 FF 0B "NETSCAPE2.0" 03 01 <loops, 2 bytes LE> 00          looping (0 = forever)
//   21 F9 04 <packed> <delay, 2 bytes LE, 1/100 s> <transparent> 00   before each image
//   2C <image descriptor, 9 bytes> [local colour table] <LZW size> <sub-blocks> 00
//   3B
//
// An encoder that cannot take them through its metadata (Wine's writes neither) leaves them
// out; this puts in what is missing, so the animation plays at its pace and loops wherever it
// was written.
#pragma once

#include <cstdint>
#include <vector>

namespace sim {

// Gives image i of `gif` the delay delays[i] (an existing control block keeps its other fields)
// and the file the looping block when it has none. False, `gif` unchanged, when the bytes are
// not a GIF this walker can follow or the image count differs from delays.size().
bool SetGifTiming(std::vector<uint8_t>& gif, const std::vector<uint16_t>& delays, uint16_t loops);

}  // namespace sim

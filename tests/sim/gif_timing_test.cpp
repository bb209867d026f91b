// The timing blocks an encoder left out are put into the GIF, the ones it wrote get the
// delays asked for, and bytes the walker cannot follow are left alone.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "sim/gif_timing.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes joined;
    for (const Bytes& part : parts) joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

// A 1x1 screen with a two-colour global table, and one 1x1 image of LZW data.
const Bytes kHeader87 = {'G', 'I', 'F', '8', '7', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
const Bytes kHeader89 = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
const Bytes kImage = {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0};
const Bytes kTrailer = {0x3B};
const Bytes kLoopForever = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
const Bytes kLoopTwice = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 2, 0, 0};
const Bytes kComment = {0x21, 0xFE, 2, 'h', 'i', 0};

Bytes Control(uint8_t packed, uint16_t delay) {
    return {0x21, 0xF9, 4, packed, static_cast<uint8_t>(delay), static_cast<uint8_t>(delay >> 8), 0, 0};
}

TEST(GifTimingTest, PutsInWhatIsMissingAndSetsTheDelays) {
    struct Case {
        const char* what;
        Bytes gif;
        std::vector<uint16_t> delays;
        Bytes expected;
    };
    const Case cases[] = {
        {"an encoder that wrote no timing (87a becomes 89a)", Join({kHeader87, kImage, kImage, kTrailer}), {4, 8},
         Join({kHeader89, kLoopForever, Control(0, 4), kImage, Control(0, 8), kImage, kTrailer})},
        {"control blocks of its own keep their fields, take the delays",
         Join({kHeader89, Control(0x09, 0), kImage, kComment, Control(0x04, 7), kImage, kTrailer}), {4, 12},
         Join({kHeader89, kLoopForever, Control(0x09, 4), kImage, kComment, Control(0x04, 12), kImage, kTrailer})},
        {"a looping block already there stays the only one", Join({kHeader89, kLoopTwice, kImage, kTrailer}), {6},
         Join({kHeader89, kLoopTwice, Control(0, 6), kImage, kTrailer})},
    };
    for (const Case& c : cases) {
        Bytes gif = c.gif;
        EXPECT_TRUE(sim::SetGifTiming(gif, c.delays, 0)) << c.what;
        EXPECT_EQ(gif, c.expected) << c.what;
    }
}

TEST(GifTimingTest, LeavesBytesItCannotFollowAlone) {
    const Bytes whole = Join({kHeader89, kImage, kTrailer});
    const Bytes refused[] = {
        Bytes(whole.begin(), whole.end() - 1),        // no trailer
        Bytes(whole.begin(), whole.begin() + 25),     // cut inside the image's data
        Bytes(kHeader89.begin(), kHeader89.begin() + 15),  // cut inside the colour table
        Join({{'P', 'N', 'G', 0, 0, 0}, Bytes(13, 0)}),
        Join({kHeader89, {0x99}, kImage, kTrailer}),  // a block that is none of the three
    };
    for (const Bytes& bytes : refused) {
        Bytes gif = bytes;
        EXPECT_FALSE(sim::SetGifTiming(gif, {4}, 0));
        EXPECT_EQ(gif, bytes);
    }
    Bytes gif = whole;
    EXPECT_FALSE(sim::SetGifTiming(gif, {4, 4}, 0)) << "one image, two delays";
    EXPECT_EQ(gif, whole);
}

}  // namespace

#include "icon_strip.h"

#include <cmath>

#include "host_accessors.h"
#include "icon_sprites.h"
#include "radio_strip_settings.h"
#include "scroll_easing.h"

namespace {

constexpr float kCentreAlpha = 192.0f;
constexpr float kReach = 2.5f;             // positions further away are not drawn
constexpr float kCentreOnlyReach = 0.99f;

void* RenderStateValue(uintptr_t value) { return reinterpret_cast<void*>(value); }

// 192 at the centre, Alpha1stNonActive at 1, Alpha2ndNonActive at 2, 0 at 2.5, linear between.
float DistanceAlpha(float d) {
    const float a1 = static_cast<float>(radioStripSettings.Alpha1stNonActive);
    const float a2 = static_cast<float>(radioStripSettings.Alpha2ndNonActive);
    if (d <= 1.0f) return kCentreAlpha - (kCentreAlpha - a1) * d;
    if (d <= 2.0f) return a1 - (a1 - a2) * (d - 1.0f);
    return a2 - (d - 2.0f) * 2.0f * a2;
}

void Draw(int32_t slot, const HostRect& rectangle, uint8_t alpha) {
    HostSpriteDraw(&IconSprites[static_cast<size_t>(slot)], rectangle, HostColour{255, 255, 255, alpha});
}

}  // namespace

uint8_t AlphaByte(float alpha) {
    // Out of int64's reach (or not a number) the byte would be undefined: such alphas are 0.
    if (!(std::fabs(alpha) < 9.0e18f)) return 0;
    return static_cast<uint8_t>(static_cast<uint64_t>(static_cast<int64_t>(alpha)));
}

void DrawIconStrip(const StationRing& ring, float scrollPosition, float fade) {
    const float width = static_cast<float>(HostScreenWidth());
    const float height = static_cast<float>(HostScreenHeight());
    // A gap of 0 or below would divide by zero or turn the strip round: the default's spacing.
    const int32_t gap = radioStripSettings.IconGap > 0 ? radioStripSettings.IconGap : RadioStripSettings{}.IconGap;
    const float y = height / 12.0f;
    const float spacing = height / static_cast<float>(gap) * 0.5f;
    const float centre = width * 0.5f;
    // A screen without an area would turn every rectangle into NaNs: nothing to draw on.
    if (!(width > 0.0f && height > 0.0f)) return;

    RwRenderStateSet(rwRENDERSTATESHADEMODE, RenderStateValue(rwSHADEMODEGOURAUD));
    RwRenderStateSet(rwRENDERSTATETEXTUREFILTER, RenderStateValue(rwFILTERLINEARMIPLINEAR));
    RwRenderStateSet(rwRENDERSTATEVERTEXALPHAENABLE, RenderStateValue(1));

    for (int32_t position = 0; position < ring.ringCount; ++position) {
        const float distance = ShorterWayRound(static_cast<float>(position) - scrollPosition, ring.ringCount);
        const float d = std::fabs(distance);
        if ((radioStripSettings.CenterIconOnly != 0 && d > kCentreOnlyReach) || d > kReach) continue;
        DrawStationIcon(position, distance * spacing + centre, y, DistanceAlpha(d) * fade, distance,
                        ring);
    }
}

void DrawStationIcon(int32_t position, float x, float y, float alpha, float distance,
                     const StationRing& ring) {
    const float width = static_cast<float>(HostScreenWidth());
    const float height = static_cast<float>(HostScreenHeight());
    const float m = static_cast<float>(radioStripSettings.IconSizeMultiplier);
    float w = m / 100.0f * 128.0f * width / 640.0f * 1.3333334f;
    w = w / (width / height);
    const float h = m / 100.0f * 128.0f * height / 448.0f * 0.5f;
    const HostRect rectangle{x - w * 0.5f, y + h, x + w * 0.5f, y - h};

    const games::StationRingEntry& entry = ring.entries[position];
    const uint8_t a = AlphaByte(alpha);
    switch (radioStripSettings.ColorType) {
        case 1: Draw(entry.colourSlot, rectangle, a); break;
        case 3: Draw(entry.greySlot, rectangle, a); break;
        default:
            Draw(entry.greySlot, rectangle, a);
            // The icon crossing the centre turns from grey to colour as it arrives.
            if (std::fabs(distance) < 1.0f)
                Draw(entry.colourSlot, rectangle, AlphaByte((1.0f - std::fabs(distance)) * alpha));
            break;
    }
}

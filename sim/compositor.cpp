#include "compositor.h"

#include <algorithm>
#include <cmath>

#include "texture_sampler.h"

namespace sim {

namespace {

// First pixel whose centre lies at or right of `edge`, clamped to 0..limit.
size_t FirstPixelFrom(double edge, uint32_t limit) {
    return static_cast<size_t>(std::clamp(std::ceil(edge - 0.5), 0.0, static_cast<double>(limit)));
}

uint8_t ToByte(float value) {
    return static_cast<uint8_t>(std::clamp(std::lround(value * 255.0f), 0L, 255L));
}

// Straight-alpha source-over; with an opaque destination: out = src*a + dst*(1-a).
void BlendOver(uint8_t* dst, const float src[3], float srcAlpha) {
    const float dstAlpha = dst[3] / 255.0f;
    const float outAlpha = srcAlpha + dstAlpha * (1 - srcAlpha);
    if (outAlpha <= 0) return;
    for (int c = 0; c < 3; ++c)
        dst[c] = ToByte((src[c] * srcAlpha + dst[c] / 255.0f * dstAlpha * (1 - srcAlpha)) /
                        outAlpha);
    dst[3] = ToByte(outAlpha);
}

}  // namespace

void DrawSprite(Canvas& canvas, const RwTexture* texture, const HostRect& rect,
                const HostColour& colour) {
    const double left = rect.left, right = rect.right, top = rect.top, bottom = rect.bottom;
    if (!std::isfinite(left) || !std::isfinite(right) || !std::isfinite(top) ||
        !std::isfinite(bottom) || !(right > left) || !(bottom > top))
        return;
    if (canvas.bgra.size() != static_cast<size_t>(canvas.width) * canvas.height * 4) return;

    const double quadWidth = right - left, quadHeight = bottom - top;
    const TrilinearSampler sampler(texture, quadWidth, quadHeight);
    const float tint[4] = {colour.blue / 255.0f, colour.green / 255.0f, colour.red / 255.0f,
                           colour.alpha / 255.0f};

    const size_t x0 = FirstPixelFrom(left, canvas.width);
    const size_t x1 = FirstPixelFrom(right, canvas.width);
    const size_t y0 = FirstPixelFrom(top, canvas.height);
    const size_t y1 = FirstPixelFrom(bottom, canvas.height);
    for (size_t y = y0; y < y1; ++y) {
        const double v = (y + 0.5 - top) / quadHeight;
        for (size_t x = x0; x < x1; ++x) {
            const Texel texel = sampler.Sample((x + 0.5 - left) / quadWidth, v);
            const float src[3] = {texel.blue * tint[0], texel.green * tint[1], texel.red * tint[2]};
            BlendOver(&canvas.bgra[(y * canvas.width + x) * 4], src, texel.alpha * tint[3]);
        }
    }
}

Canvas ComposeFrame(const std::vector<HostCall>& calls, Canvas background) {
    // The strip sets vertex alpha on (state 12), gouraud shading (7) and the linear
    // mip-linear filter (9 = 6) before it draws: alpha blending, one colour across the quad
    // and the trilinear sampler are exactly what DrawSprite does, so states are not replayed.
    for (const HostCall& call : calls)
        if (call.routine == HostRoutine::SpriteDraw)
            DrawSprite(background, call.texture, call.rect, call.colour);
    return background;
}

}  // namespace sim

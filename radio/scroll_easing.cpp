#include "scroll_easing.h"

#include <algorithm>
#include <cmath>

float ShorterWayRound(float delta, int32_t ringCount) {
    const float n = static_cast<float>(ringCount);
    const float half = n * 0.5f;
    while (-half > delta) delta += n;
    while (delta > half) delta -= n;
    return delta;
}

float NextScrollPosition(const ScrollStep& step) {
    const float n = static_cast<float>(step.ringCount);
    const float remaining = ShorterWayRound(step.target - step.from, step.ringCount);
    if (!(std::fabs(remaining) > 0.001f)) return step.target;
    const float k = std::min(1.0f, step.speed * step.timeStep);
    float next = k * remaining + step.from;
    // A time step from a broken game could send it anywhere: one step of the ring at most.
    if (!std::isfinite(next)) return step.target;
    next = std::fmod(next, n);
    if (next < 0) next += n;
    if (next >= n) next -= n;
    return next;
}

float NextFade(float fade, uint32_t clock, uint32_t hideAtTime, float timeStep) {
    const float goal = clock > hideAtTime ? 0.0f : 1.0f;
    const float step = timeStep * 0.08f;
    if (goal > fade) {
        fade += step;
        if (fade > goal) fade = goal;
    } else if (fade > goal) {
        fade -= step;
        if (fade < goal) fade = goal;
    }
    return std::isfinite(fade) ? fade : goal;
}

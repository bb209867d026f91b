// The strip's motion: the scroll position eases along the shorter way round the ring, the
// fade rises and falls at a fixed rate per time step.
#pragma once

#include <cstdint>

// `delta` folded into -ringCount / 2 .. ringCount / 2, both ends kept.
float ShorterWayRound(float delta, int32_t ringCount);

struct ScrollStep {
    float from;      // the position shown last frame, or the target when it must jump
    float target;    // the target's ring position
    int32_t ringCount;
    float speed;     // RadioSliderAnimSpeed / 100
    float timeStep;  // HostTimeStep
};

// The next scroll position: a fraction min(1, speed x timeStep) of the remaining way, inside
// 0 .. ringCount; exactly the target once within 0.001 of it. Never leaves the ring, whatever
// the time step.
float NextScrollPosition(const ScrollStep& step);

// The next fade: towards 1 until `clock` passes `hideAtTime`, then towards 0, by 0.08 per
// time step, never past its goal.
float NextFade(float fade, uint32_t clock, uint32_t hideAtTime, float timeStep);

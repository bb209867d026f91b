#include "radio_strip_frame.h"

// The strip draws nothing yet: the game's frame goes on without it.
void RadioStripFrame() {}

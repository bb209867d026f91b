#include "reload_key.h"

#include "key_latch.h"
#include "radio_strip_settings.h"
#include "settings_file.h"

void PollReloadKey() {
    RefreshKeyLatch();
    const int32_t key = radioStripSettings.ReloadKey;
    if (key >= 1 && KeyJustPressed(static_cast<uint32_t>(key))) ReadSettings();
}

// One reference to a gdk-pixbuf image, dropped when the holder goes.
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

namespace sim {

struct PixbufRef {
    GdkPixbuf* pixbuf;
    PixbufRef(const PixbufRef&) = delete;
    PixbufRef& operator=(const PixbufRef&) = delete;
    ~PixbufRef() {
        if (pixbuf) g_object_unref(pixbuf);
    }
};

}  // namespace sim

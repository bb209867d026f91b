// The plug-in's error message box.
#pragma once

// Formats the message into a 1024-byte buffer and shows it with the caption "plugin-sdk" and
// the error icon, owned by the active window. Returns once the box is closed.
void ShowErrorBox(const char* format, ...) __attribute__((format(printf, 1, 2)));

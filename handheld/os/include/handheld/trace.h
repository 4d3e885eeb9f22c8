// Trace channels, off by default: ORVANE_TRACE=all or a comma-separated list of channel names
// (for example "ir,files,registry") prints the platform's calls to standard error. The first tool when a
// user reports "the button sends nothing".
#pragma once

#include <cstdio>

namespace handheld {

bool TraceEnabled(const char* channel);

// printf-style; the line gets the channel as its prefix and a newline.
void TraceLine(const char* channel, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace handheld

#define HH_TRACE(channel, ...)                                                              \
    do {                                                                                    \
        if (::handheld::TraceEnabled(channel)) ::handheld::TraceLine(channel, __VA_ARGS__); \
    } while (0)

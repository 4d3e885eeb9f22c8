// A remote to learn from on the desktop: a file of signals, one JSON object a line in the shape
// {"carrier_hz":38000,"durations_us":[9000,-4500,...],"repeat":2}, pointed at the handheld's receiver. Each
// learn plays the next signal of the file while the driver samples; with none left, the learn times out as
// on the handheld.
#pragma once

#include <cstddef>
#include <string>

class QWidget;

namespace handheld {

// Replaces the signals with those of the host file; false with a reason (the line that is not a signal)
// and the signals left as they were.
bool PointRemote(const std::string& hostPath, std::string* error);
// Plays the next signal (it starts 1 ms later, once the learn listens), or leaves the receiver dark.
void PlayNextRemoteSignal();
std::size_t RemoteSignalsLeft();

// The frame's command "Point a remote..." (Ctrl+L): a file dialog on the host, then PointRemote.
void AddPointRemoteCommand(QWidget* frame);

}  // namespace handheld

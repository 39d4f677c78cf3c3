#pragma once

namespace audio {

// Tells the controlling thread that a channel has played its last sample: the
// track ended, or the output went on to the channel queued behind it. The
// output callback raises it; the controlling thread watches Fd() with its own
// event loop and clears it before looking at the channels. Raising never
// blocks and never allocates: one write to a non-blocking event counter, so
// several ends before a Clear wake the watcher once.
class EndSignal {
public:
    EndSignal();
    ~EndSignal();
    EndSignal(const EndSignal&) = delete;
    EndSignal& operator=(const EndSignal&) = delete;

    // Readable while raised; -1 when the system gave no counter (nothing is told then).
    int Fd() const { return fd_; }
    // Output callback.
    void Raise();
    // Controlling thread: takes back every raise so far.
    void Clear();

private:
    int fd_ = -1;
};

}  // namespace audio

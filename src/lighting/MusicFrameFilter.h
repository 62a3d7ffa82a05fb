// Which music frames go to the keyboard: a lit frame that differs from the last one sent, and
// the first dark frame after a lit one (so the keys do not stay on the last sound). Dark frames
// after that, and repeats of the frame last sent, are not sent again.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

class MusicFrameFilter {
public:
    // `colors`: the frame's key colours in a fixed order; `lit` as MapMusicFrame says. True when
    // the frame is to be sent (it then counts as sent).
    bool ShouldSend(std::span<const uint32_t> colors, bool lit);
    // Forgets what was sent (a keyboard connected anew holds none of it).
    void Reset();

private:
    std::vector<uint32_t> lastSent_;
    bool lastSentLit_ = false;
};

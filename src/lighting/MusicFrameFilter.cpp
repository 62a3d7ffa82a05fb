#include "lighting/MusicFrameFilter.h"

#include <algorithm>

bool MusicFrameFilter::ShouldSend(std::span<const uint32_t> colors, bool lit)
{
    const bool same = lastSent_.size() == colors.size() &&
                      std::equal(colors.begin(), colors.end(), lastSent_.begin());
    const bool send = lit ? !(same && lastSentLit_) : lastSentLit_;
    if (send) {
        lastSent_.assign(colors.begin(), colors.end());
        lastSentLit_ = lit;
    }
    return send;
}

void MusicFrameFilter::Reset()
{
    lastSent_.clear();
    lastSentLit_ = false;
}

// A small GIF89a writer for animated pictures: one global palette of up to 256 colours shared
// by all frames, LZW-compressed frames, per-frame delays and the NETSCAPE2.0 loop extension.
// Frames are written opaque: their alpha is dropped.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

namespace skin {

struct GifFrame {
    QImage image;
    int delayCs = 10;  // hundredths of a second
};

// The whole file; empty when there are no frames, a frame is null or the frames differ in
// size. `loops` 0 repeats for ever.
QByteArray EncodeGif(const std::vector<GifFrame>& frames, int loops = 0);
bool WriteGif(const QString& file, const std::vector<GifFrame>& frames, int loops = 0);

}  // namespace skin

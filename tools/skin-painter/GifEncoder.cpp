#include "skin-painter/GifEncoder.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace skin {

namespace {

constexpr int kMaxCodes = 4096;

class ByteWriter {
public:
    explicit ByteWriter(QByteArray& out) : out_(out) {}
    void Byte(int value) { out_.append(static_cast<char>(value & 0xFF)); }
    void Word(int value)
    {
        Byte(value);
        Byte(value >> 8);
    }
    void Text(const char* text) { out_.append(text); }

private:
    QByteArray& out_;
};

// Packs variable-width codes least significant bit first and cuts the result into the
// sub-blocks of at most 255 bytes that GIF image data is made of.
class CodePacker {
public:
    void Put(int code, int width)
    {
        bits_ |= static_cast<uint32_t>(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            bytes_.append(static_cast<char>(bits_ & 0xFF));
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    void WriteBlocks(ByteWriter& out)
    {
        if (count_ > 0) bytes_.append(static_cast<char>(bits_ & 0xFF));
        bits_ = 0;
        count_ = 0;
        for (qsizetype at = 0; at < bytes_.size(); at += 255) {
            const qsizetype length = std::min<qsizetype>(255, bytes_.size() - at);
            out.Byte(static_cast<int>(length));
            for (qsizetype i = 0; i < length; ++i) out.Byte(bytes_[at + i]);
        }
        out.Byte(0);
    }

private:
    QByteArray bytes_;
    uint32_t bits_ = 0;
    int count_ = 0;
};

// Writes the LZW stream of `indices` (each below 1 << minCodeSize).
void WriteLzw(ByteWriter& out, const std::vector<uint8_t>& indices, int minCodeSize)
{
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    std::unordered_map<uint32_t, int> table;
    int next = end + 1;
    int width = minCodeSize + 1;
    CodePacker packer;
    packer.Put(clear, width);
    int prefix = -1;
    for (const uint8_t index : indices) {
        if (prefix < 0) {
            prefix = index;
            continue;
        }
        const uint32_t key = (static_cast<uint32_t>(prefix) << 8) | index;
        const auto found = table.find(key);
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        packer.Put(prefix, width);
        table.emplace(key, next++);
        if (next > (1 << width) && width < 12) ++width;
        if (next >= kMaxCodes) {
            // The table is full: start again with a fresh one.
            packer.Put(clear, width);
            table.clear();
            next = end + 1;
            width = minCodeSize + 1;
        }
        prefix = index;
    }
    if (prefix >= 0) packer.Put(prefix, width);
    packer.Put(end, width);
    out.Byte(minCodeSize);
    packer.WriteBlocks(out);
}

QRgb Opaque(QRgb color) { return color | 0xFF000000u; }

int Distance(QRgb a, QRgb b)
{
    const int r = qRed(a) - qRed(b), g = qGreen(a) - qGreen(b), bl = qBlue(a) - qBlue(b);
    return r * r * 3 + g * g * 4 + bl * bl * 2;
}

struct ColourCount {
    QRgb color;
    int64_t count;
};

int Channel(QRgb color, int channel)
{
    return channel == 0 ? qRed(color) : channel == 1 ? qGreen(color) : qBlue(color);
}

// A box of colours for median cut: a range of the colour list.
struct ColourBox {
    size_t begin, end;
    int channel = 0;  // the channel of widest spread
    int spread = 0;
};

ColourBox Measure(const std::vector<ColourCount>& colours, size_t begin, size_t end)
{
    ColourBox box{begin, end};
    for (int channel = 0; channel < 3; ++channel) {
        int low = 255, high = 0;
        for (size_t i = begin; i < end; ++i) {
            low = std::min(low, Channel(colours[i].color, channel));
            high = std::max(high, Channel(colours[i].color, channel));
        }
        if (high - low > box.spread) {
            box.spread = high - low;
            box.channel = channel;
        }
    }
    return box;
}

// The palette: every colour when there are at most 256 of them, otherwise 256 colours by
// median cut (the widest box is split at its pixel median until there are 256 boxes).
std::vector<QRgb> BuildPalette(const std::vector<QImage>& images)
{
    std::unordered_map<QRgb, int64_t> counts;
    for (const QImage& image : images)
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) ++counts[Opaque(row[x])];
        }
    std::vector<ColourCount> colours;
    for (const auto& [color, count] : counts) colours.push_back({color, count});
    std::sort(colours.begin(), colours.end(),
              [](const ColourCount& a, const ColourCount& b) { return a.color < b.color; });
    std::vector<QRgb> palette;
    if (colours.size() <= 256) {
        for (const ColourCount& c : colours) palette.push_back(c.color);
        return palette;
    }
    std::vector<ColourBox> boxes = {Measure(colours, 0, colours.size())};
    while (boxes.size() < 256) {
        auto widest =
            std::max_element(boxes.begin(), boxes.end(),
                             [](const auto& a, const auto& b) { return a.spread < b.spread; });
        if (widest->spread == 0) break;
        const ColourBox box = *widest;
        const auto first = colours.begin() + static_cast<std::ptrdiff_t>(box.begin);
        const auto last = colours.begin() + static_cast<std::ptrdiff_t>(box.end);
        std::sort(first, last, [&](const ColourCount& a, const ColourCount& b) {
            return Channel(a.color, box.channel) < Channel(b.color, box.channel);
        });
        int64_t total = 0;
        for (auto it = first; it != last; ++it) total += it->count;
        size_t cut = box.begin + 1;
        for (int64_t seen = colours[box.begin].count; cut < box.end - 1 && seen * 2 < total; ++cut)
            seen += colours[cut].count;
        *widest = Measure(colours, box.begin, cut);
        boxes.push_back(Measure(colours, cut, box.end));
    }
    for (const ColourBox& box : boxes) {
        int64_t r = 0, g = 0, b = 0, n = 0;
        for (size_t i = box.begin; i < box.end; ++i) {
            r += qRed(colours[i].color) * colours[i].count;
            g += qGreen(colours[i].color) * colours[i].count;
            b += qBlue(colours[i].color) * colours[i].count;
            n += colours[i].count;
        }
        palette.push_back(
            qRgb(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)));
    }
    return palette;
}

class PaletteIndex {
public:
    explicit PaletteIndex(const std::vector<QRgb>& palette) : palette_(palette) {}
    uint8_t Of(QRgb color)
    {
        color = Opaque(color);
        const auto known = cache_.find(color);
        if (known != cache_.end()) return known->second;
        size_t best = 0;
        int bestDistance = Distance(color, palette_[0]);
        for (size_t i = 1; i < palette_.size() && bestDistance > 0; ++i) {
            const int d = Distance(color, palette_[i]);
            if (d < bestDistance) {
                best = i;
                bestDistance = d;
            }
        }
        const auto index = static_cast<uint8_t>(best);
        cache_.emplace(color, index);
        return index;
    }

private:
    const std::vector<QRgb>& palette_;
    std::unordered_map<QRgb, uint8_t> cache_;
};

}  // namespace

QByteArray EncodeGif(const std::vector<GifFrame>& frames, int loops)
{
    if (frames.empty() || frames.front().image.isNull()) return {};
    const QSize size = frames.front().image.size();
    if (size.width() > 0xFFFF || size.height() > 0xFFFF) return {};
    std::vector<QImage> images;
    for (const GifFrame& frame : frames) {
        if (frame.image.isNull() || frame.image.size() != size) return {};
        images.push_back(frame.image.convertToFormat(QImage::Format_ARGB32));
    }
    std::vector<QRgb> palette = BuildPalette(images);
    int bits = 1;
    while ((1 << bits) < static_cast<int>(palette.size())) ++bits;
    palette.resize(size_t{1} << bits, qRgb(0, 0, 0));
    PaletteIndex index(palette);

    QByteArray data;
    ByteWriter out(data);
    out.Text("GIF89a");
    out.Word(size.width());
    out.Word(size.height());
    out.Byte(0x80 | ((bits - 1) << 4) | (bits - 1));  // global table, its size
    out.Byte(0);                                      // background colour index
    out.Byte(0);                                      // no aspect ratio
    for (const QRgb color : palette) {
        out.Byte(qRed(color));
        out.Byte(qGreen(color));
        out.Byte(qBlue(color));
    }
    out.Byte(0x21);
    out.Byte(0xFF);
    out.Byte(11);
    out.Text("NETSCAPE2.0");
    out.Byte(3);
    out.Byte(1);
    out.Word(std::clamp(loops, 0, 0xFFFF));
    out.Byte(0);

    const int minCodeSize = std::max(2, bits);
    for (size_t f = 0; f < frames.size(); ++f) {
        out.Byte(0x21);
        out.Byte(0xF9);
        out.Byte(4);
        out.Byte(1 << 2);  // disposal: leave the frame in place
        out.Word(std::clamp(frames[f].delayCs, 0, 0xFFFF));
        out.Byte(0);
        out.Byte(0);
        out.Byte(0x2C);
        out.Word(0);
        out.Word(0);
        out.Word(size.width());
        out.Word(size.height());
        out.Byte(0);  // no local table, not interlaced
        std::vector<uint8_t> indices;
        indices.reserve(static_cast<size_t>(size.width()) * size.height());
        const QImage& image = images[f];
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) indices.push_back(index.Of(row[x]));
        }
        WriteLzw(out, indices, minCodeSize);
    }
    out.Byte(0x3B);
    return data;
}

bool WriteGif(const QString& file, const std::vector<GifFrame>& frames, int loops)
{
    const QByteArray data = EncodeGif(frames, loops);
    if (data.isEmpty()) return false;
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) return false;
    if (out.write(data) != data.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

}  // namespace skin

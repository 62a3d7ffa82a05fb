// Keyboard drawings (whole boards of several sizes), the plates behind the key views, the
// overlays the key views lay over each key and the parts of the switch travel picker.
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <vector>

#include "skin-painter/Glyphs.h"
#include "skin-painter/PaintKit.h"
#include "skin-painter/SkinCatalog.h"

namespace skin {

namespace {

// One key (or, with `gap`, empty room) in key units; tall keys reach into the rows below.
struct Key {
    double width;
    double height = 1;
    bool gap = false;
};
struct KeyRow {
    double top;
    std::vector<Key> keys;
};
using Board = std::vector<KeyRow>;

Key G(double width) { return {width, 1, true}; }

std::vector<Key> Ones(int count) { return std::vector<Key>(count, Key{1}); }

std::vector<Key> Join(std::initializer_list<std::vector<Key>> parts)
{
    std::vector<Key> keys;
    for (const auto& part : parts) keys.insert(keys.end(), part.begin(), part.end());
    return keys;
}

// The main block's rows below the function row, shared by every board.
std::vector<Key> Main(int row)
{
    switch (row) {
        case 1:
            return Join({Ones(13), {{2}}});
        case 2:
            return Join({{{1.5}}, Ones(12), {{1.5}}});
        case 3:
            return Join({{{1.75}}, Ones(11), {{2.25}}});
        default:
            return Join({{{2.25}}, Ones(10)});
    }
}

// 84 keys: function row, five rows and a column of navigation keys.
Board Compact84()
{
    return {{0, Ones(16)},
            {1.25, Join({Main(1), Ones(1)})},
            {2.25, Join({Main(2), Ones(1)})},
            {3.25, Join({Main(3), Ones(1)})},
            {4.25, Join({Main(4), {{1.75}}, Ones(2)})},
            {5.25, Join({{{1.25}, {1.25}, {1.25}, {6.25}}, Ones(6)})}};
}

// 68 keys: no function row.
Board Compact68()
{
    return {{0, Join({Main(1), Ones(1)})},
            {1, Join({Main(2), Ones(1)})},
            {2, Join({Main(3), Ones(1)})},
            {3, Join({Main(4), {{1.75}}, Ones(2)})},
            {4, Join({{{1.25}, {1.25}, {1.25}, {6.25}}, Ones(6)})}};
}

// 87 keys, with `numpad` 104.
Board Tenkeyless(bool numpad)
{
    const std::vector<Key> none;
    auto pad = [&](std::vector<Key> keys) { return numpad ? Join({{G(0.25)}, keys}) : none; };
    return {
        {0,
         Join(
             {Ones(1), {G(1)}, Ones(4), {G(0.5)}, Ones(4), {G(0.5)}, Ones(4), {G(0.25)}, Ones(3)})},
        {1.25, Join({Main(1), {G(0.25)}, Ones(3), pad(Ones(4))})},
        {2.25, Join({Main(2), {G(0.25)}, Ones(3), pad(Join({Ones(3), {{1, 2}}}))})},
        {3.25, Join({Main(3), {G(3.25)}, pad(Ones(3))})},
        {4.25, Join({Main(4), {{2.75}, G(1.25)}, Ones(1), {G(1)}, pad(Join({Ones(3), {{1, 2}}}))})},
        {5.25, Join({{{1.25}, {1.25}, {1.25}, {6.25}, {1.25}, {1.25}, {1.25}, {1.25}, G(0.25)},
                     Ones(3),
                     pad({{2}, {1}})})}};
}

struct Extent {
    double width = 0, height = 0;
};

Extent Measure(const Board& board)
{
    Extent e;
    for (const KeyRow& row : board) {
        double x = 0;
        for (const Key& key : row.keys) {
            x += key.width;
            e.height = std::max(e.height, row.top + key.height);
        }
        e.width = std::max(e.width, x);
    }
    return e;
}

// The board centred in `area`: a light case with a soft shadow and white key caps.
void DrawBoard(QPainter& p, const QRectF& area, const Board& board)
{
    const Extent e = Measure(board);
    const double margin = 0.5;
    const double unit = std::min(area.width() / (e.width + 2 * margin),
                                 area.height() / (e.height + 2 * margin + 0.15));
    const QRectF frame(area.center().x() - (e.width / 2 + margin) * unit,
                       area.center().y() - (e.height / 2 + margin) * unit,
                       (e.width + 2 * margin) * unit, (e.height + 2 * margin) * unit);
    DrawSoftShadow(p, frame, unit * 0.5, std::max(2, static_cast<int>(unit * 0.2)));
    FillRounded(p, frame, unit * 0.45,
                VerticalGradient(frame, QColor(0xF0, 0xF0, 0xF0), QColor(0xE0, 0xE0, 0xE0)),
                QPen(QColor(0xCC, 0xCC, 0xCC), 1));
    const QPointF origin = frame.topLeft() + QPointF(margin * unit, margin * unit);
    const qreal inset = std::max(1.0, unit * 0.05);
    for (const KeyRow& row : board) {
        double x = 0;
        for (const Key& key : row.keys) {
            if (!key.gap) {
                const QRectF cap(origin.x() + x * unit + inset, origin.y() + row.top * unit + inset,
                                 key.width * unit - 2 * inset, key.height * unit - 2 * inset);
                FillRounded(p, cap, unit * 0.12, QColor(0xC8, 0xC8, 0xC8));
                const QRectF top =
                    cap.adjusted(unit * 0.06, unit * 0.04, -unit * 0.06, -unit * 0.12);
                FillRounded(p, top, unit * 0.1,
                            VerticalGradient(top, tone::kWhite, QColor(0xF3, 0xF3, 0xF3)));
            }
            x += key.width;
        }
    }
}

QImage BoardPicture(QSize size, const Board& board, qreal opacity = 1)
{
    return Paint(size, [&](QPainter& p, const QRectF& box) {
        p.setOpacity(opacity);
        DrawBoard(p, box.adjusted(4, 4, -4, -4), board);
    });
}

// The plate behind a key view: the keys themselves are drawn by the view.
QImage Plate(QSize size)
{
    return Paint(size, [](QPainter& p, const QRectF& box) {
        // The keys hang from near the picture's top; its lower part, where the pages put
        // their own controls, stays clear.
        const QRectF plate = box.adjusted(4, 2, -4, -40);
        DrawSoftShadow(p, plate, 16, 4);
        FillRounded(p, plate, 16,
                    VerticalGradient(plate, QColor(0xFA, 0xFA, 0xFA), QColor(0xEC, 0xEC, 0xEC)),
                    QPen(tone::kLine, 1));
    });
}

// A board with a round status badge at its lower right.
QImage StatusPicture(QSize size, const Board& board, const QColor& badge, Glyph glyph,
                     qreal boardOpacity)
{
    QImage image = BoardPicture(QSize(size.width(), size.height() - 10), board, boardOpacity);
    QImage out = NewCanvas(size);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawImage(0, 0, image);
    const qreal r = size.height() * 0.16;
    const QPointF centre(size.width() * 0.82, size.height() - r - 2);
    FillRounded(p, QRectF(centre.x() - r - 3, centre.y() - r - 3, 2 * r + 6, 2 * r + 6), r + 3,
                tone::kWhite);
    FillRounded(p, QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), r, badge);
    DrawGlyph(p, QRectF(centre.x() - r * 0.6, centre.y() - r * 0.6, r * 1.2, r * 1.2), glyph,
              tone::kWhite, 2.8);
    return out;
}

// What a key view lays over a key: `border` and `borderWidth` mark the look; `dot` (when
// valid) puts a small mark in the upper right corner.
QImage KeyOverlay(const QColor& border, qreal borderWidth, const QColor& dot = QColor())
{
    return Paint({62, 52}, [&](QPainter& p, const QRectF& box) {
        const QRectF cap = box.adjusted(2, 2, -2, -2);
        QLinearGradient shine(cap.topLeft(), cap.bottomLeft());
        shine.setColorAt(0, QColor(255, 255, 255, 60));
        shine.setColorAt(0.5, QColor(255, 255, 255, 0));
        FillRounded(p, cap, 5, shine);
        if (borderWidth > 0) FillRounded(p, cap, 5, Qt::NoBrush, QPen(border, borderWidth));
        if (dot.isValid()) FillRounded(p, QRectF(cap.right() - 11, cap.top() + 4, 7, 7), 3.5, dot);
    });
}

}  // namespace

void AddKeyboardPictures(SkinCatalog& c)
{
    const QSize macro(1170, 360);
    AddStill(c, "keyboard/keyboardctrl_bg.png", [=] { return BoardPicture(macro, Compact84()); });
    AddStill(c, "keyboard/macro_68.png", [=] { return BoardPicture(macro, Compact68()); });
    AddStill(c, "keyboard/macro_lw9.png", [=] { return BoardPicture(macro, Tenkeyless(true)); });
    AddStill(c, "keyboard/macro_lw8.png", [=] { return BoardPicture(macro, Tenkeyless(false)); });
    AddStill(c, "keyboard/kb68.png", [] { return BoardPicture({400, 140}, Compact68()); });
    AddStill(c, "keyboard/keyboardctrl_bg1.png", [] { return Plate({1070, 350}); });
    AddStill(c, "keyboard/keyboardctrl_bg2.png", [] { return Plate({1080, 400}); });
    AddStill(c, "keyboard/home_keyboard_disconnected.png", [] {
        return StatusPicture({520, 200}, Compact84(), tone::kMid, Glyph::kCross, 0.55);
    });
    AddStill(c, "keyboard/home_keyboard_connected.png", [] {
        return StatusPicture({520, 200}, Compact84(), tone::kAccent, Glyph::kCheck, 1);
    });
    AddStill(c, "img_no_connect.png", [] {
        return StatusPicture({278, 158}, Compact68(), tone::kMid, Glyph::kCross, 0.55);
    });
    AddStill(c, "img_no_connect1.png", [] {
        return StatusPicture({278, 158}, Compact68(), tone::kBlue, Glyph::kMore, 0.8);
    });
    AddStill(c, "img_no_connect2.png", [] {
        return StatusPicture({278, 158}, Compact68(), tone::kAccent, Glyph::kCheck, 1);
    });
    AddStill(c, "img_key_normal.png", [] { return KeyOverlay(QColor(255, 255, 255, 50), 1); });
    AddStill(c, "img_key_hover.png", [] { return KeyOverlay(QColor(255, 255, 255, 190), 1.5); });
    AddStill(c, "icon/img_key3.png", [] { return KeyOverlay(tone::kAccent, 2.5, tone::kAccent); });
    AddStill(c, "img_key_dks.png", [] { return KeyOverlay(QColor(), 0, tone::kWarm); });

    // The travel picker: a track, its filled part and the handle that rides on it.
    auto track = [](const QColor& fill) {
        return Paint({60, 200}, [&](QPainter& p, const QRectF& box) {
            const QRectF bar(box.center().x() - 9, 4, 18, box.height() - 8);
            FillRounded(p, bar, 9, fill);
        });
    };
    AddStill(c, "icon/key_switch_bkg.png", [=] {
        QImage image = track(tone::kLine);
        QPainter p(&image);
        for (int i = 1; i < 10; ++i) p.fillRect(QRectF(6, 4 + i * 19.2, 8, 1), tone::kMid);
        return image;
    });
    AddStill(c, "icon/key_switch_fore.png", [=] { return track(tone::kAccent); });
    AddStill(c, "icon/key_switch_thumb.png", [] {
        return Paint({40, 16}, [](QPainter& p, const QRectF& box) {
            const QRectF handle = box.adjusted(1.5, 1.5, -1.5, -1.5);
            FillRounded(p, handle.translated(0, 0.8), 6, QColor(0, 0, 0, 45));
            FillRounded(p, handle, 6, tone::kWhite, QPen(tone::kAccent, 2));
        });
    });
}

}  // namespace skin

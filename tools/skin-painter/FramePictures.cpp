// The window frame's buttons, the dialog backgrounds, the logos and the tray icon.
#include <QPainter>

#include "skin-painter/Emblem.h"
#include "skin-painter/Glyphs.h"
#include "skin-painter/PaintKit.h"
#include "skin-painter/SkinCatalog.h"

namespace skin {

namespace {

// The control lays the dark hover and press colour under hover and pressed frames, so those
// draw the symbol white.
QImage WindowButton(Glyph glyph)
{
    return StateStrip({32, 30}, 4, [glyph](QPainter& p, const QRectF& box, int state) {
        const QColor ink = state == kDisabled                       ? tone::kDisabled
                           : (state == kHover || state == kPressed) ? tone::kWhite
                                                                    : tone::kText;
        const QRectF square(box.center().x() - 8, box.center().y() - 8, 16, 16);
        DrawGlyph(p, square, glyph, ink, 2.2);
    });
}

// A rounded panel for the layered popups.
QImage Panel(QSize size, const QColor& top, const QColor& bottom, const QColor& border,
             qreal radius)
{
    return Paint(size, [&](QPainter& p, const QRectF& box) {
        FillRounded(p, box.adjusted(0.5, 0.5, -0.5, -0.5), radius,
                    VerticalGradient(box, top, bottom), QPen(border, 1));
    });
}

}  // namespace

void AddFramePictures(SkinCatalog& c)
{
    AddStill(c, "btn_close.png", [] { return WindowButton(Glyph::kClose); });
    AddStill(c, "btn_max.png", [] { return WindowButton(Glyph::kMaximise); });
    AddStill(c, "btn_min.png", [] { return WindowButton(Glyph::kMinimise); });
    AddStill(c, "bk_prompt.png", [] {
        // Message boxes write white texts: a dark panel with a line under the caption.
        QImage image =
            Panel({500, 266}, QColor(0x3C, 0x3C, 0x3C), tone::kDark, QColor(0x55, 0x55, 0x55), 12);
        QPainter p(&image);
        p.fillRect(QRectF(20, 48, 460, 1), QColor(0x55, 0x55, 0x55));
        return image;
    });
    AddStill(c, "loading.png", [] {
        return Panel({102, 102}, tone::kDark, tone::kDark, QColor(0x4A, 0x4A, 0x4A), 10);
    });
    AddStill(c, "img_upgrade_bkg.png", [] {
        return Panel({391, 71}, tone::kWhite, tone::kPanel, tone::kBorder, 8);
    });
    AddStill(c, "logo/left_logo.png", [] {
        return Paint({40, 40}, [](QPainter& p, const QRectF& box) { DrawEmblem(p, box); });
    });
    AddStill(c, "logo/title_logo.png", [] {
        return Paint({160, 36}, [](QPainter& p, const QRectF& box) {
            DrawWordmark(p, box.adjusted(2, 4, -2, -4), Qt::AlignLeft);
        });
    });
    AddStill(c, "logo/about_logo.png", [] {
        return Paint({240, 120}, [](QPainter& p, const QRectF& box) {
            DrawEmblem(p, QRectF(box.center().x() - 32, 6, 64, 64));
            DrawWordmark(p, QRectF(10, 76, box.width() - 20, 38), Qt::AlignHCenter);
        });
    });
    AddStill(c, "Fenquill.ico", [] {
        return Paint({64, 64}, [](QPainter& p, const QRectF& box) { DrawEmblem(p, box); });
    });
    // The program's icon in the sizes desktops ask for: the window's icon and the installed
    // application icon.
    for (const int size : kAppIconSizes) {
        AddStill(c, QStringLiteral("appicon/tolvenic_%1.png").arg(size), [size] {
            return Paint({size, size}, [](QPainter& p, const QRectF& box) { DrawEmblem(p, box); });
        });
    }
}

}  // namespace skin

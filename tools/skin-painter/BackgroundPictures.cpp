// Window and panel backgrounds, the travel gauge's panel and the colour wheel.
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "skin-painter/PaintKit.h"
#include "skin-painter/SkinCatalog.h"

namespace skin {

namespace {

constexpr int kWindowWidth = 1600;
constexpr int kWindowHeight = 970;
constexpr int kTitleBand = 48;  // the title band, window buttons and setting fields
constexpr int kPageTop = 120;   // where the page containers start
constexpr int kSidebar = 253;   // the pages' left column

// The frame every window picture shares: a light body, a white title band and a border.
void DrawWindowFrame(QPainter& p, const QRectF& box)
{
    p.fillRect(box, VerticalGradient(box, tone::kPanel, QColor(0xF1, 0xF1, 0xF1)));
    const QRectF band(0, 0, box.width(), kTitleBand);
    p.fillRect(band, VerticalGradient(band, tone::kWhite, QColor(0xFB, 0xFB, 0xFB)));
    p.fillRect(QRectF(0, kTitleBand - 1, box.width(), 1), tone::kLine);
    p.save();
    p.setPen(QPen(QColor(0xD9, 0xD9, 0xD9), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
    p.restore();
}

QImage MainBackground()
{
    return Paint({kWindowWidth, kWindowHeight}, [](QPainter& p, const QRectF& box) {
        DrawWindowFrame(p, box);
        // The left column of the pages and the card that holds the page itself.
        const QRectF column(1, kPageTop, kSidebar - 1, box.height() - kPageTop - 1);
        p.fillRect(column, tone::kWhite);
        p.fillRect(QRectF(kSidebar, kPageTop, 1, column.height()), tone::kLine);
        const QRectF card(kSidebar + 12, kPageTop + 8, box.width() - kSidebar - 24,
                          box.height() - kPageTop - 20);
        DrawSoftShadow(p, card, 12, 4);
        FillRounded(p, card, 12, VerticalGradient(card, tone::kWhite, QColor(0xFC, 0xFC, 0xFC)),
                    QPen(tone::kLine, 1));
    });
}

QImage HomeBackground()
{
    return Paint({kWindowWidth, kWindowHeight}, [](QPainter& p, const QRectF& box) {
        DrawWindowFrame(p, box);
        const QPointF centre(box.width() / 2, (box.height() + kTitleBand) / 2);
        QRadialGradient glow(centre, box.width() * 0.45);
        glow.setColorAt(0, tone::kWhite);
        glow.setColorAt(1, Faded(tone::kWhite, 0));
        p.fillRect(QRectF(1, kTitleBand, box.width() - 2, box.height() - kTitleBand - 1), glow);
        p.setBrush(Qt::NoBrush);
        for (int i = 1; i <= 4; ++i) {
            p.setPen(QPen(Faded(tone::kWarm, 0.10 - i * 0.018), 1.2));
            p.drawEllipse(centre, 180.0 * i, 180.0 * i * 0.62);
        }
    });
}

// A page's left column panel.
QImage SidePanel()
{
    return Paint({250, 830}, [](QPainter& p, const QRectF& box) {
        FillRounded(p, box.adjusted(0.5, 0.5, -0.5, -0.5), 10,
                    VerticalGradient(box, tone::kWhite, tone::kPanel), QPen(tone::kLine, 1));
    });
}

// The travel gauge: room for the switch animation at the left, a scale at the right.
QImage KeystrokePanel()
{
    return Paint({450, 260}, [](QPainter& p, const QRectF& box) {
        const QRectF panel = box.adjusted(0.5, 0.5, -0.5, -0.5);
        FillRounded(p, panel, 10, tone::kWhite, QPen(tone::kLine, 1));
        const qreal top = 30, bottom = 230, left = 200, right = 430;
        for (int i = 0; i <= 8; ++i) {
            const qreal y = top + (bottom - top) * i / 8;
            p.fillRect(QRectF(left, y, right - left, 1), i % 4 == 0 ? tone::kBorder : tone::kLine);
        }
        p.fillRect(QRectF(left, top, 2, bottom - top), tone::kBorder);
    });
}

// The colour wheel: hue around the centre, saturation growing outwards, white at the centre,
// transparent outside the circle; pixels pick the colour they show.
QImage ColourWheel()
{
    QImage image = NewCanvas({160, 160});
    const double c = 80, radius = 78;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const double dx = (x + 0.5 - c) / radius, dy = (y + 0.5 - c) / radius;
            const double r = std::hypot(dx, dy);
            if (r > 1.0 + 1.0 / radius) continue;
            double hue = std::atan2(-dy, dx) * 180.0 / std::numbers::pi;
            if (hue < 0) hue += 360.0;
            QColor color = QColor::fromHsvF(static_cast<float>(std::fmod(hue, 360.0) / 360.0),
                                            static_cast<float>(std::min(1.0, r)), 1.0f);
            // Antialiased rim.
            const double edge = std::clamp((1.0 + 1.0 / radius - r) * radius, 0.0, 1.0);
            color.setAlphaF(static_cast<float>(edge));
            image.setPixelColor(x, y, color);
        }
    return image;
}

}  // namespace

void AddBackgroundPictures(SkinCatalog& c)
{
    AddStill(c, "main_bkg.png", MainBackground);
    AddStill(c, "home_bkg.png", HomeBackground);
    for (const char* path :
         {"icon/cofing_bg_key.png", "icon/light_bg_key.png", "icon/macro_bg_key.png"})
        AddStill(c, path, SidePanel);
    AddStill(c, "img_perf_keystroke_bkg.png", KeystrokePanel);
    AddStill(c, "img_palette.png", ColourWheel);
}

}  // namespace skin

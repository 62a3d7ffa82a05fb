// The animated pictures: the wait spinner and the switch travelling down and up.
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "skin-painter/PaintKit.h"
#include "skin-painter/SkinCatalog.h"

namespace skin {

namespace {

constexpr int kSpinnerFrames = 12;
constexpr int kTravelSteps = 10;  // frames from the top to the bottom of the travel

// Twelve dots round the centre; the lead dot is white and the trail fades into the ground.
std::vector<GifFrame> Spinner()
{
    std::vector<GifFrame> frames;
    for (int f = 0; f < kSpinnerFrames; ++f) {
        QImage image = Paint({100, 100}, [f](QPainter& p, const QRectF& box) {
            p.fillRect(box, tone::kDark);
            for (int i = 0; i < kSpinnerFrames; ++i) {
                const int age = (f - i + kSpinnerFrames) % kSpinnerFrames;
                const qreal angle =
                    2 * std::numbers::pi * i / kSpinnerFrames - std::numbers::pi / 2;
                const QPointF at(50 + 28 * std::cos(angle), 50 + 28 * std::sin(angle));
                const qreal radius = 5.2 - age * 0.22;
                const QColor color = Mix(tone::kWhite, tone::kDark, age / (kSpinnerFrames + 2.0));
                FillRounded(p, QRectF(at.x() - radius, at.y() - radius, 2 * radius, 2 * radius),
                            radius, color);
            }
        });
        frames.push_back({image, 8});
    }
    return frames;
}

// A magnetic switch seen from the side with its stem pressed `depth` pixels down.
QImage SwitchAt(qreal depth)
{
    return Paint({160, 200}, [depth](QPainter& p, const QRectF& box) {
        p.fillRect(box, tone::kWhite);
        const qreal cx = box.center().x();
        // Base with the sensor under the stem.
        const QRectF base(cx - 55, 128, 110, 46);
        FillRounded(p, base, 6,
                    VerticalGradient(base, QColor(0x7A, 0x7A, 0x7A), QColor(0x5A, 0x5A, 0x5A)));
        FillRounded(p, QRectF(cx - 6, 160, 12, 8), 2, tone::kAccent);
        // Stem with its magnet, sliding in the housing.
        const QRectF stem(cx - 10, 58 + depth, 20, 60);
        FillRounded(p, stem, 3,
                    VerticalGradient(stem, tone::kWarm.lighter(112), tone::kWarm.darker(110)));
        FillRounded(p, QRectF(cx - 7, stem.bottom() - 12, 14, 10), 2, tone::kHeader);
        // Upper housing, translucent so the stem shows through.
        const QRectF housing(cx - 48, 104, 96, 28);
        FillRounded(p, housing, 5, Faded(QColor(0xD6, 0xD6, 0xD6), 0.85),
                    QPen(QColor(0xB8, 0xB8, 0xB8), 1));
        // Key cap.
        QPainterPath cap;
        const qreal top = 22 + depth;
        cap.moveTo(cx - 44, top);
        cap.lineTo(cx + 44, top);
        cap.lineTo(cx + 58, top + 38);
        cap.lineTo(cx - 58, top + 38);
        cap.closeSubpath();
        p.save();
        p.setPen(QPen(tone::kBorder, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(VerticalGradient(QRectF(0, top, 1, 38), tone::kWhite, QColor(0xE8, 0xE8, 0xE8)));
        p.drawPath(cap);
        p.restore();
        // Travel marker at the side.
        p.fillRect(QRectF(box.right() - 12, 30, 3, 40), tone::kLine);
        p.fillRect(QRectF(box.right() - 12, 30, 3, depth), tone::kAccent);
    });
}

std::vector<GifFrame> SwitchTravel()
{
    constexpr qreal kTravel = 40;
    std::vector<GifFrame> frames;
    auto eased = [](qreal t) { return (1 - std::cos(t * std::numbers::pi)) / 2; };
    for (int i = 0; i <= kTravelSteps; ++i)
        frames.push_back({SwitchAt(kTravel * eased(static_cast<qreal>(i) / kTravelSteps)), 4});
    for (int i = kTravelSteps - 1; i > 0; --i)
        frames.push_back({SwitchAt(kTravel * eased(static_cast<qreal>(i) / kTravelSteps)), 4});
    // Rest a moment at the top and at the bottom.
    frames.front().delayCs = 40;
    frames[kTravelSteps].delayCs = 25;
    return frames;
}

}  // namespace

void AddAnimatedPictures(SkinCatalog& c)
{
    AddAnimation(c, "loading.gif", Spinner);
    AddAnimation(c, "switchtype1.gif", SwitchTravel);
}

}  // namespace skin

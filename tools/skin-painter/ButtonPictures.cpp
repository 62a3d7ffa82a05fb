// Button faces, combobox fields, switches, check marks and slider thumbs. Strips of 4 frames
// hold normal, hover, pressed and disabled; strips of 8 add the same four looks checked.
#include <QPainter>
#include <QPainterPath>
#include <tuple>

#include "skin-painter/Glyphs.h"
#include "skin-painter/PaintKit.h"
#include "skin-painter/SkinCatalog.h"

namespace skin {

namespace {

// A light face with a thin border; the accent marks hover and press. Texts drawn over it
// should be dark.
void LightFace(QPainter& p, const QRectF& box, int state, const QColor& accent, qreal radius)
{
    const QRectF face = box.adjusted(0.5, 0.5, -0.5, -0.5);
    switch (state) {
        case kHover:
            FillRounded(p, face, radius,
                        VerticalGradient(face, tone::kWhite, Mix(tone::kWhite, accent, 0.06)),
                        QPen(accent, 1));
            break;
        case kPressed:
            FillRounded(p, face, radius, Mix(tone::kWhite, accent, 0.14), QPen(accent, 1));
            break;
        case kDisabled:
            FillRounded(p, face, radius, QColor(0xF2, 0xF2, 0xF2),
                        QPen(QColor(0xE2, 0xE2, 0xE2), 1));
            break;
        default:
            FillRounded(p, face, radius,
                        VerticalGradient(face, tone::kWhite, QColor(0xF4, 0xF4, 0xF4)),
                        QPen(tone::kBorder, 1));
    }
}

// A coloured face for white texts.
void SolidFace(QPainter& p, const QRectF& box, int state, const QColor& base, qreal radius)
{
    QColor fill = base;
    if (state == kHover) fill = base.lighter(112);
    if (state == kPressed) fill = base.darker(115);
    if (state == kDisabled) fill = tone::kDisabled;
    FillRounded(p, box, radius, VerticalGradient(box, fill.lighter(106), fill.darker(104)));
}

void Chevron(QPainter& p, const QPointF& centre, qreal size, const QColor& color)
{
    p.save();
    p.setPen(QPen(color, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({centre + QPointF(-size, -size / 2), centre + QPointF(0, size / 2),
                              centre + QPointF(size, -size / 2)}));
    p.restore();
}

QColor StateInk(int state)
{
    return state == kDisabled ? tone::kDisabled : state == kNormal ? tone::kSecondary : tone::kText;
}

QImage ComboField(QSize frame, int states)
{
    return StateStrip(frame, states, [](QPainter& p, const QRectF& box, int state) {
        LightFace(p, box, state, tone::kAccent, 4);
        Chevron(p, QPointF(box.right() - box.height() / 2 - 2, box.center().y()), 4,
                StateInk(state));
    });
}

// The title-bar setting fields: a soft filled pill, no border; the combo box stretches it over
// its field, the arrow at the right end.
QImage DeviceField(QSize size)
{
    return Paint(size, [](QPainter& p, const QRectF& box) {
        const QRectF field = box.adjusted(0.5, 0.5, -0.5, -0.5);
        FillRounded(p, field, field.height() / 2, QColor(0xF0, 0xF0, 0xF0), QPen(tone::kLine, 1));
        Chevron(p, QPointF(field.right() - 11, field.center().y()), 3.5, tone::kSecondary);
    });
}

QImage Switch(bool on)
{
    return StateStrip({70, 30}, 4, [on](QPainter& p, const QRectF& box, int state) {
        const QRectF track(box.center().x() - 24, box.center().y() - 12, 48, 24);
        QColor fill = on ? tone::kAccent : QColor(0xCF, 0xCF, 0xCF);
        if (state == kHover) fill = fill.lighter(108);
        if (state == kPressed) fill = fill.darker(110);
        if (state == kDisabled) fill = on ? Mix(tone::kAccent, tone::kWhite, 0.55) : tone::kLine;
        FillRounded(p, track, 12, fill);
        const qreal knobX = on ? track.right() - 12 : track.left() + 12;
        const QRectF knob(knobX - 9.5, track.center().y() - 9.5, 19, 19);
        FillRounded(p, knob.translated(0, 0.8), 9.5, QColor(0, 0, 0, 40));
        FillRounded(p, knob, 9.5, state == kDisabled ? QColor(0xFA, 0xFA, 0xFA) : tone::kWhite);
    });
}

// 8 frames: unchecked normal, hover, pressed, disabled, then the same checked.
QImage CheckMark(bool round)
{
    return StateStrip({20, 20}, 8, [round](QPainter& p, const QRectF& box, int frame) {
        const int state = frame % 4;
        const bool checked = frame >= 4;
        const QRectF mark = box.adjusted(2, 2, -2, -2);
        const qreal radius = round ? mark.width() / 2 : 3.5;
        if (!checked) {
            const QColor border = state == kDisabled ? QColor(0xE0, 0xE0, 0xE0)
                                  : state == kNormal ? tone::kDisabled
                                                     : tone::kAccent;
            const QColor fill = state == kPressed    ? Mix(tone::kWhite, tone::kAccent, 0.15)
                                : state == kDisabled ? QColor(0xF2, 0xF2, 0xF2)
                                                     : tone::kWhite;
            FillRounded(p, mark, radius, fill, QPen(border, 1.3));
            return;
        }
        QColor fill = state == kDisabled ? tone::kDisabled : tone::kAccent;
        if (state == kHover) fill = fill.lighter(110);
        if (state == kPressed) fill = fill.darker(112);
        if (round) {
            FillRounded(p, mark, radius, tone::kWhite, QPen(fill, 1.6));
            FillRounded(p, mark.adjusted(4, 4, -4, -4), (mark.width() - 8) / 2, fill);
        } else {
            FillRounded(p, mark, radius, fill);
            p.save();
            p.setPen(QPen(tone::kWhite, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(
                QPolygonF({mark.topLeft() + QPointF(3.5, 8.5), mark.topLeft() + QPointF(6.5, 11.5),
                           mark.topLeft() + QPointF(12.5, 4.5)}));
            p.restore();
        }
    });
}

// A lighting-direction choice: a line symbol, on an accent tile once chosen.
QImage DirectionChoice(Glyph glyph)
{
    return StateStrip({20, 20}, 8, [glyph](QPainter& p, const QRectF& box, int frame) {
        const int state = frame % 4;
        const QRectF tile = box.adjusted(0.5, 0.5, -0.5, -0.5);
        if (frame >= 4) {
            QColor fill = state == kDisabled ? tone::kDisabled : tone::kAccent;
            if (state == kHover) fill = fill.lighter(110);
            if (state == kPressed) fill = fill.darker(112);
            FillRounded(p, tile, 4, fill);
            DrawGlyph(p, tile.adjusted(2, 2, -2, -2), glyph, tone::kWhite, 2.2);
            return;
        }
        // An unchosen direction has its box too, outlined, so a pair reads as two choices.
        const QColor fill = state == kPressed ? QColor(0xE4, 0xE4, 0xE4)
                            : state == kHover ? tone::kLine
                                              : tone::kWhite;
        FillRounded(p, tile, 4, fill, QPen(tone::kBorder, 1));
        DrawGlyph(p, tile.adjusted(2, 2, -2, -2), glyph, StateInk(state), 2.2);
    });
}

QImage Thumb(const QColor& ring)
{
    return Paint({18, 18}, [&](QPainter& p, const QRectF& box) {
        const QRectF knob = box.adjusted(1.5, 1.5, -1.5, -1.5);
        FillRounded(p, knob.translated(0, 0.8), knob.width() / 2, QColor(0, 0, 0, 45));
        FillRounded(p, knob, knob.width() / 2, tone::kWhite, QPen(ring, 2));
        FillRounded(p, knob.adjusted(4.5, 4.5, -4.5, -4.5), (knob.width() - 9) / 2, ring);
    });
}

}  // namespace

void AddButtonPictures(SkinCatalog& c)
{
    AddStill(c, "button.png", [] {
        return Paint({100, 36}, [](QPainter& p, const QRectF& box) {
            SolidFace(p, box, kNormal, tone::kAccent, 6);
        });
    });
    AddStill(c, "img_button.png", [] {
        return StateStrip({130, 30}, 4, [](QPainter& p, const QRectF& box, int state) {
            SolidFace(p, box, state, tone::kHeader, 5);
        });
    });
    AddStill(c, "btn_apply.png", [] {
        return StateStrip({100, 30}, 4, [](QPainter& p, const QRectF& box, int state) {
            LightFace(p, box, state, tone::kAccent, 5);
        });
    });
    // The tool buttons' icons: the buttons draw their own face with the icon beside the title.
    const std::tuple<const char*, Glyph, QColor> tools[] = {
        {"icon_btn_resetkey.png", Glyph::kReset, tone::kBlue},
        {"icon_btn_reset.png", Glyph::kReset, tone::kAccent},
        {"icon_btn_import.png", Glyph::kImport, tone::kAccent},
        {"icon_btn_export.png", Glyph::kExport, tone::kAccent},
    };
    for (const auto& [name, glyph, color] : tools)
        AddStill(c, name, [glyph, color] { return GlyphImage({20, 20}, glyph, color, 2); });
    AddStill(c, "btn_macro_insert.png", [] {
        return GlyphImage({20, 20}, Glyph::kPlus, tone::kAccent, 2);
    });
    AddStill(c, "macro_btn_start_rec.png", [] {
        return GlyphImage({20, 20}, Glyph::kRecord, tone::kRed, 2);
    });
    AddStill(c, "macro_btn_stop_rec.png", [] {
        return GlyphImage({20, 20}, Glyph::kStopSquare, tone::kRed, 2);
    });
    // The hold time's reset button: four looks (normal, hover, pressed, disabled) of the glyph,
    // one in each quarter of the strip.
    AddStill(c, "img_btn_reset.png", [] {
        return Paint({82, 20}, [](QPainter& p, const QRectF& box) {
            const qreal frame = box.width() / 4;
            for (int state = 0; state < 4; ++state) {
                const QRectF square(state * frame + (frame - 14) / 2, 3, 14, 14);
                DrawGlyph(p, square, Glyph::kReset, StateInk(state));
            }
        });
    });
    AddStill(c, "img_combobox.png", [] { return ComboField({220, 30}, 4); });
    AddStill(c, "combobox_device_dropdown2.png", [] { return DeviceField({100, 28}); });
    AddStill(c, "img_switch_on.png", [] { return Switch(true); });
    AddStill(c, "img_switch_off.png", [] { return Switch(false); });
    AddStill(c, "btn_radiobox.png", [] { return CheckMark(true); });
    AddStill(c, "btn_checkbox.png", [] { return CheckMark(false); });
    const std::pair<const char*, Glyph> directions[] = {
        {"img_direction_right.png", Glyph::kArrowRight},
        {"img_direction_left.png", Glyph::kArrowLeft},
        {"img_direction_top.png", Glyph::kArrowUp},
        {"img_direction_bottom.png", Glyph::kArrowDown},
        {"within.png", Glyph::kInward},
        {"outside.png", Glyph::kOutward},
        {"clockwise.png", Glyph::kClockwise},
        {"anticlockwise.png", Glyph::kAnticlockwise},
    };
    for (const auto& [name, glyph] : directions)
        AddStill(c, name, [glyph] { return DirectionChoice(glyph); });
    AddStill(c, "slider.png", [] { return Thumb(QColor(0x72, 0x72, 0x72)); });
    AddStill(c, "lift_slider.png", [] { return Thumb(tone::kBlue); });
    // The palette tabs' card, stretched over the whole strip or column: the tab control marks
    // the current tab itself, so the card carries no mark of its own.
    AddStill(c, "img_keytypetab_bg1.png", [] {
        return Paint({96, 31}, [](QPainter& p, const QRectF& box) {
            const QRectF tab = box.adjusted(2, 2, -2, -3);
            DrawSoftShadow(p, tab, 6, 2);
            FillRounded(p, tab, 6, tone::kWhite, QPen(tone::kLine, 1));
        });
    });
}

}  // namespace skin

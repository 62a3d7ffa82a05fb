// Line icons: the frame's links and upgrade buttons, the page tabs, the list tools, the colour
// channels and the media row of the key tester.
#include <QFont>
#include <QPainter>

#include "skin-painter/Glyphs.h"
#include "skin-painter/PaintKit.h"
#include "skin-painter/SkinCatalog.h"

namespace skin {

namespace {

struct IconEntry {
    const char* path;
    int side;
    Glyph glyph;
    QColor color;
};

// A small tool button picture: a light tile with the glyph.
QImage ToolTile(int side, Glyph glyph)
{
    return Paint({side, side}, [glyph](QPainter& p, const QRectF& box) {
        FillRounded(p, box.adjusted(0.5, 0.5, -0.5, -0.5), 6,
                    VerticalGradient(box, tone::kWhite, QColor(0xF4, 0xF4, 0xF4)),
                    QPen(tone::kBorder, 1));
        DrawGlyph(p, box.adjusted(7, 7, -7, -7), glyph, tone::kText, 2);
    });
}

QImage ChannelDot(const QColor& color)
{
    return Paint({20, 20}, [&](QPainter& p, const QRectF& box) {
        FillRounded(p, box.adjusted(3, 3, -3, -3), 7, color,
                    QPen(Faded(color.darker(120), 0.6), 1));
    });
}

// The badge that marks a function layer.
QImage FnBadge()
{
    return Paint({24, 20}, [](QPainter& p, const QRectF& box) {
        FillRounded(p, box.adjusted(1, 2, -1, -2), 4, tone::kHeader);
        QFont font;
        font.setPixelSize(11);
        font.setBold(true);
        p.setFont(font);
        p.setPen(tone::kWhite);
        p.drawText(box, Qt::AlignCenter, "Fn");
    });
}

}  // namespace

void AddIconPictures(SkinCatalog& c)
{
    const IconEntry icons[] = {
        {"icon/btn_website.png", 24, Glyph::kGlobe, tone::kSecondary},
        {"icon/btn_userdoc.png", 24, Glyph::kDocument, tone::kSecondary},
        {"icon/btn_bbs.png", 24, Glyph::kChat, tone::kSecondary},
        {"icon/btn_softwareupgrade.png", 24, Glyph::kDownload, tone::kSecondary},
        {"icon/btn_firmwareupgrade.png", 24, Glyph::kChip, tone::kSecondary},
        {"icon/icon_warn.png", 20, Glyph::kWarning, tone::kOrange},
        {"icon/tab_customkey.png", 28, Glyph::kKeycap, tone::kText},
        {"icon/tab_perf.png", 28, Glyph::kGauge, tone::kText},
        {"icon/tab_advkey.png", 28, Glyph::kLayers, tone::kText},
        {"icon/tab_macro.png", 28, Glyph::kMacro, tone::kText},
        {"icon/tab_light.png", 28, Glyph::kBulb, tone::kText},
        {"icon/tab_config.png", 28, Glyph::kGear, tone::kText},
        {"icon/icon_exportallprofile.png", 20, Glyph::kExport, tone::kText},
        {"icon/icon_importallprofile.png", 20, Glyph::kImport, tone::kText},
        {"icon/icon_copydebuginfo.png", 20, Glyph::kCopy, tone::kText},
        {"icon/key_edit_del.png", 16, Glyph::kTrash, tone::kSecondary},
        {"icon/icon_web_backward.png", 32, Glyph::kBack, tone::kText},
        {"icon/icon_web_foreward.png", 32, Glyph::kForward, tone::kText},
        {"icon/icon_web_refresh.png", 32, Glyph::kRefresh, tone::kText},
        {"icon/icon_web_stop.png", 32, Glyph::kCross, tone::kText},
        {"icon/icon_web_search.png", 32, Glyph::kSearch, tone::kText},
        {"icon/icon_favorites.png", 32, Glyph::kStar, tone::kText},
        {"icon/icon_home.png", 32, Glyph::kHome, tone::kText},
        {"icon/icon_pc.png", 32, Glyph::kMonitor, tone::kText},
        {"icon/icon_email.png", 32, Glyph::kMail, tone::kText},
        {"icon/icon_cal.png", 32, Glyph::kCalculator, tone::kText},
        {"icon/icon_multimedia.png", 32, Glyph::kMusic, tone::kText},
        {"icon/icon_playpause.png", 32, Glyph::kPlayPause, tone::kText},
        {"icon/icon_stop.png", 32, Glyph::kStopSquare, tone::kText},
        {"icon/icon_pre.png", 32, Glyph::kPrevious, tone::kText},
        {"icon/icon_next.png", 32, Glyph::kNext, tone::kText},
        {"icon/icon_vol_mute.png", 32, Glyph::kMute, tone::kText},
        {"icon/icon_vol_down.png", 32, Glyph::kVolumeDown, tone::kText},
        {"icon/icon_vol_up.png", 32, Glyph::kVolumeUp, tone::kText},
        {"info.png", 24, Glyph::kInfo, tone::kSecondary},
        {"icon_btn_moreprofile.png", 24, Glyph::kMore, tone::kSecondary},
        {"icon_btn_defaultprofile.png", 23, Glyph::kPreset, tone::kAccent},
    };
    for (const IconEntry& icon : icons) {
        AddStill(c, icon.path, [icon] {
            // Small pictures keep a pixel of air around the symbol.
            return GlyphImage({icon.side, icon.side}, icon.glyph, icon.color, icon.side / 12.0);
        });
    }
    const std::pair<const char*, Glyph> tools[] = {
        {"icon_macro_import.png", Glyph::kImport}, {"icon_macro_export.png", Glyph::kExport},
        {"btn_record_up.png", Glyph::kArrowUp},    {"btn_record_down.png", Glyph::kArrowDown},
        {"btn_record_del.png", Glyph::kTrash},     {"btn_record_clear.png", Glyph::kClearList},
    };
    for (const auto& [path, glyph] : tools)
        AddStill(c, path, [glyph] { return ToolTile(30, glyph); });
    AddStill(c, "icon_color_r.png", [] { return ChannelDot(QColor(0xE2, 0x4C, 0x4C)); });
    AddStill(c, "icon_color_g.png", [] { return ChannelDot(tone::kAccent); });
    AddStill(c, "icon_color_b.png", [] { return ChannelDot(tone::kBlue); });
    AddStill(c, "fn_identification.png", FnBadge);
}

}  // namespace skin

// The painted skin holds every picture the program's windows name, each with the size of the
// control that shows it (times the number of state frames of its strip).
#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QMovie>
#include <QSet>
#include <QTemporaryDir>
#include <memory>

#include "skin-painter/SkinCatalog.h"
#include "skin-painter/SkinWriter.h"

namespace skin {
namespace {

struct Expected {
    const char* path;
    int width;
    int height;
    int frames = 1;  // animation frames
};

// Pictures laid out as strips of state frames, and their frame counts.
const std::pair<const char*, int> kStrips[] = {
    {"btn_close.png", 4},
    {"btn_max.png", 4},
    {"btn_min.png", 4},
    {"img_combobox.png", 4},
    {"btn_apply.png", 4},
    {"img_switch_on.png", 4},
    {"img_switch_off.png", 4},
    {"img_button.png", 4},
    {"btn_radiobox.png", 8},
    {"btn_checkbox.png", 8},
    {"img_direction_right.png", 8},
    {"img_direction_left.png", 8},
    {"img_direction_top.png", 8},
    {"img_direction_bottom.png", 8},
    {"within.png", 8},
    {"outside.png", 8},
    {"clockwise.png", 8},
    {"anticlockwise.png", 8},
};

// Strips: 4 states (normal, hover, pressed, disabled) or 8 (the same, then checked).
const Expected kPictures[] = {
    {"main_bkg.png", 1600, 970},
    {"home_bkg.png", 1600, 970},
    {"bk_prompt.png", 500, 266},
    {"button.png", 100, 36},
    {"loading.png", 102, 102},
    {"loading.gif", 100, 100, 12},
    {"switchtype1.gif", 160, 200, 20},
    {"Fenquill.ico", 64, 64},
    {"btn_close.png", 4 * 32, 30},
    {"btn_max.png", 4 * 32, 30},
    {"btn_min.png", 4 * 32, 30},
    {"combobox_device_dropdown2.png", 100, 28},
    {"btn_radiobox.png", 8 * 20, 20},
    {"btn_checkbox.png", 8 * 20, 20},
    {"info.png", 24, 24},
    {"img_no_connect.png", 278, 158},
    {"img_no_connect1.png", 278, 158},
    {"img_no_connect2.png", 278, 158},
    {"img_combobox.png", 4 * 220, 30},
    {"btn_apply.png", 4 * 100, 30},
    {"img_switch_on.png", 4 * 70, 30},
    {"img_switch_off.png", 4 * 70, 30},
    {"icon_btn_moreprofile.png", 24, 24},
    {"icon_btn_reset.png", 20, 20},
    {"icon_btn_resetkey.png", 20, 20},
    {"icon_btn_import.png", 20, 20},
    {"icon_btn_export.png", 20, 20},
    {"img_key_dks.png", 62, 52},
    {"fn_identification.png", 24, 20},
    {"img_keytypetab_bg1.png", 96, 31},
    {"img_perf_keystroke_bkg.png", 450, 260},
    {"btn_macro_insert.png", 20, 20},
    {"slider.png", 18, 18},
    {"lift_slider.png", 18, 18},
    {"img_btn_reset.png", 82, 20},
    {"img_key_normal.png", 62, 52},
    {"img_key_hover.png", 62, 52},
    {"icon_btn_defaultprofile.png", 23, 23},
    {"img_palette.png", 160, 160},
    {"icon_color_r.png", 20, 20},
    {"icon_color_g.png", 20, 20},
    {"icon_color_b.png", 20, 20},
    {"img_direction_right.png", 8 * 20, 20},
    {"img_direction_left.png", 8 * 20, 20},
    {"img_direction_top.png", 8 * 20, 20},
    {"img_direction_bottom.png", 8 * 20, 20},
    {"within.png", 8 * 20, 20},
    {"outside.png", 8 * 20, 20},
    {"clockwise.png", 8 * 20, 20},
    {"anticlockwise.png", 8 * 20, 20},
    {"icon_macro_import.png", 30, 30},
    {"icon_macro_export.png", 30, 30},
    {"macro_btn_start_rec.png", 20, 20},
    {"macro_btn_stop_rec.png", 20, 20},
    {"btn_record_up.png", 30, 30},
    {"btn_record_down.png", 30, 30},
    {"btn_record_del.png", 30, 30},
    {"btn_record_clear.png", 30, 30},
    {"img_button.png", 4 * 130, 30},
    {"img_upgrade_bkg.png", 391, 71},
    {"icon/btn_website.png", 24, 24},
    {"icon/btn_userdoc.png", 24, 24},
    {"icon/btn_bbs.png", 24, 24},
    {"icon/btn_softwareupgrade.png", 24, 24},
    {"icon/btn_firmwareupgrade.png", 24, 24},
    {"icon/icon_warn.png", 20, 20},
    {"icon/tab_customkey.png", 28, 28},
    {"icon/tab_perf.png", 28, 28},
    {"icon/tab_advkey.png", 28, 28},
    {"icon/tab_macro.png", 28, 28},
    {"icon/tab_light.png", 28, 28},
    {"icon/tab_config.png", 28, 28},
    {"icon/cofing_bg_key.png", 250, 830},
    {"icon/icon_exportallprofile.png", 20, 20},
    {"icon/icon_importallprofile.png", 20, 20},
    {"icon/icon_copydebuginfo.png", 20, 20},
    {"icon/key_edit_del.png", 16, 16},
    {"icon/key_switch_thumb.png", 40, 16},
    {"icon/key_switch_fore.png", 60, 200},
    {"icon/key_switch_bkg.png", 60, 200},
    {"icon/light_bg_key.png", 250, 830},
    {"icon/img_key3.png", 62, 52},
    {"icon/macro_bg_key.png", 250, 830},
    {"icon/icon_web_backward.png", 32, 32},
    {"icon/icon_web_foreward.png", 32, 32},
    {"icon/icon_web_refresh.png", 32, 32},
    {"icon/icon_web_stop.png", 32, 32},
    {"icon/icon_web_search.png", 32, 32},
    {"icon/icon_favorites.png", 32, 32},
    {"icon/icon_home.png", 32, 32},
    {"icon/icon_pc.png", 32, 32},
    {"icon/icon_email.png", 32, 32},
    {"icon/icon_cal.png", 32, 32},
    {"icon/icon_multimedia.png", 32, 32},
    {"icon/icon_playpause.png", 32, 32},
    {"icon/icon_stop.png", 32, 32},
    {"icon/icon_pre.png", 32, 32},
    {"icon/icon_next.png", 32, 32},
    {"icon/icon_vol_mute.png", 32, 32},
    {"icon/icon_vol_down.png", 32, 32},
    {"icon/icon_vol_up.png", 32, 32},
    {"keyboard/home_keyboard_disconnected.png", 520, 200},
    {"keyboard/home_keyboard_connected.png", 520, 200},
    {"keyboard/keyboardctrl_bg.png", 1170, 360},
    {"keyboard/keyboardctrl_bg1.png", 1070, 350},
    {"keyboard/keyboardctrl_bg2.png", 1080, 400},
    {"keyboard/macro_68.png", 1170, 360},
    {"keyboard/macro_lw9.png", 1170, 360},
    {"keyboard/macro_lw8.png", 1170, 360},
    {"keyboard/kb68.png", 400, 140},
    {"logo/left_logo.png", 40, 40},
    {"logo/title_logo.png", 160, 36},
    {"logo/about_logo.png", 240, 120},
    {"appicon/tolvenic_16.png", 16, 16},
    {"appicon/tolvenic_24.png", 24, 24},
    {"appicon/tolvenic_32.png", 32, 32},
    {"appicon/tolvenic_48.png", 48, 48},
    {"appicon/tolvenic_64.png", 64, 64},
    {"appicon/tolvenic_128.png", 128, 128},
    {"appicon/tolvenic_256.png", 256, 256},
};

// A picture that draws something: not every pixel alike.
bool HasContent(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb first = argb.pixel(0, 0);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (argb.pixel(x, y) != first) return true;
    return false;
}

class SkinPictures : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        result_ = WriteSkin(BuildSkinCatalog(), folder_->path());
    }
    static void TearDownTestSuite() { folder_.reset(); }
    static QString File(const char* path) { return folder_->filePath(path); }

    static std::unique_ptr<QTemporaryDir> folder_;
    static SkinWriteResult result_;
};

std::unique_ptr<QTemporaryDir> SkinPictures::folder_;
SkinWriteResult SkinPictures::result_;

TEST_F(SkinPictures, EveryPictureIsWrittenWithItsSize)
{
    EXPECT_TRUE(result_.failed.isEmpty()) << result_.failed.join(", ").toStdString();
    for (const Expected& expected : kPictures) {
        SCOPED_TRACE(expected.path);
        QImageReader reader(File(expected.path));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(image.size(), QSize(expected.width, expected.height));
        EXPECT_TRUE(HasContent(image));
    }
}

TEST_F(SkinPictures, TheCatalogueHoldsExactlyTheNamedPictures)
{
    QSet<QString> named;
    for (const Expected& expected : kPictures) named.insert(expected.path);
    QSet<QString> painted;
    for (const SkinPicture& picture : BuildSkinCatalog()) {
        EXPECT_FALSE(painted.contains(picture.path)) << "twice: " << picture.path.toStdString();
        painted.insert(picture.path);
    }
    EXPECT_EQ(painted, named);
    EXPECT_EQ(result_.written, static_cast<int>(std::size(kPictures)));
}

TEST_F(SkinPictures, AnimationsPlayTheirFramesInALoop)
{
    for (const Expected& expected : kPictures) {
        if (expected.frames == 1) continue;
        SCOPED_TRACE(expected.path);
        QMovie movie(File(expected.path));
        ASSERT_TRUE(movie.isValid());
        EXPECT_EQ(movie.frameCount(), expected.frames);
        QImageReader reader(File(expected.path));
        EXPECT_EQ(reader.loopCount(), -1);
        int frames = 0;
        for (QImage frame; reader.read(&frame); ++frames)
            EXPECT_EQ(frame.size(), QSize(expected.width, expected.height)) << frames;
        EXPECT_EQ(frames, expected.frames);
    }
}

// Hover and disabled looks differ from the normal one, and checked ones from unchecked ones.
TEST_F(SkinPictures, StripFramesShowTheirStates)
{
    for (const auto& [path, states] : kStrips) {
        SCOPED_TRACE(path);
        const QImage strip(File(path));
        ASSERT_FALSE(strip.isNull());
        ASSERT_EQ(strip.width() % states, 0);
        const int w = strip.width() / states;
        auto frame = [&](int i) { return strip.copy(i * w, 0, w, strip.height()); };
        EXPECT_NE(frame(0), frame(1)) << "hover";
        EXPECT_NE(frame(0), frame(3)) << "disabled";
        if (states == 8) {
            EXPECT_NE(frame(0), frame(4)) << "checked";
            EXPECT_NE(frame(4), frame(7)) << "checked and disabled";
        }
    }
}

TEST_F(SkinPictures, TheTrayIconIsAnIconFile)
{
    QImageReader reader(File("Fenquill.ico"));
    EXPECT_EQ(reader.format(), "ico");
    const QImage icon = reader.read();
    ASSERT_FALSE(icon.isNull());
    // Round badge: clear corners, solid middle.
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(32, 32)), 255);
}

TEST_F(SkinPictures, AWriteIntoAnUnusableFolderReportsEveryPicture)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const SkinCatalog catalog = BuildSkinCatalog();
    const SkinWriteResult result = WriteSkin(catalog, dir.filePath("file/skin"));
    EXPECT_EQ(result.written, 0);
    EXPECT_EQ(result.failed.size(), static_cast<qsizetype>(catalog.size()));
}

}  // namespace
}  // namespace skin

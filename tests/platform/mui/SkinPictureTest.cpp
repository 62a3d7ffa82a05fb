// Pictures under the skin root: name resolution, state strips, and missing files.
#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <cstdlib>

#include "ControlHarness.h"
#include "IndexedPictures.h"
#include "platform/mui/MImageButton.h"
#include "platform/mui/MPicture.h"
#include "platform/mui/Manager.h"
#include "platform/mui/SkinImages.h"

namespace {

const QColor kFrames[4] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};

class SkinPictureTest : public muitest::ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        root = QString::fromLocal8Bit(std::getenv("HOME")) + "/skin";
        QDir().mkpath(root + "/icon");
        QImage strip(40, 10, QImage::Format_ARGB32);
        QPainter painter(&strip);
        for (int i = 0; i < 4; ++i) painter.fillRect(i * 10, 0, 10, 10, kFrames[i]);
        painter.end();
        ASSERT_TRUE(strip.save(root + "/icon/btn_close.png"));
        MUI::Manager::SetSkinRoot(root.toStdWString() + L"/");
    }
    void TearDown() override
    {
        ControlTest::TearDown();
        MUI::Manager::SetSkinRoot(L"");
        QDir(root).removeRecursively();
    }
    static QColor Centre(QWidget* widget)
    {
        const QImage shot = widget->grab().toImage();
        return shot.pixelColor(shot.width() / 2, shot.height() / 2);
    }
    QString root;
};

TEST_F(SkinPictureTest, NamesResolveUnderTheRootWithSeparatorsNormalised)
{
    const std::wstring base = root.toStdWString();
    struct Case {
        const wchar_t* name;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"main_bkg.png", base + L"/main_bkg.png"},
        {L"icon\\btn_website.png", base + L"/icon/btn_website.png"},
        {L"logo//left_logo.png", base + L"/logo/left_logo.png"},
        {L"icon\\\\key_edit_del.png", base + L"/icon/key_edit_del.png"},
        {L"", L""},
    };
    for (const Case& c : cases) EXPECT_EQ(MUI::Manager::ResolveSkinPath(c.name), c.expected);
}

TEST_F(SkinPictureTest, ButtonsDrawTheFrameOfTheirState)
{
    auto* button = Make<MUI::MImageButton>(L"MImageButton", 35, RECT{0, 0, 32, 30});
    button->SetImage(L"icon\\btn_close.png", 4);
    muitest::Pump();
    EXPECT_EQ(Centre(button->Widget()), kFrames[0]);
    button->SetEnabled(false);
    muitest::Pump();
    EXPECT_EQ(Centre(button->Widget()), kFrames[3]);
}

TEST_F(SkinPictureTest, MissingPicturesDrawNothingAndKeepTheirPlace)
{
    auto* picture = Make<MUI::MPicture>(L"MPicture", 65, RECT{10, 10, 288, 168});
    picture->SetImage(L"img_no_connect.png");
    auto* present = Make<MUI::MPicture>(L"MPicture", 66, RECT{0, 0, 10, 10});
    present->SetImage(L"icon/btn_close.png", 4);
    dialog.LoadBKImage(L"missing_bkg.png");
    dialog.SetBackColor(0xFFFFFF, 0xFFFFFF);
    muitest::Pump();
    EXPECT_EQ(picture->GetImageWidth(), 0);
    EXPECT_EQ(present->GetImageWidth(), 10);
    EXPECT_EQ(present->GetImageHeight(), 10);
    EXPECT_EQ(picture->Widget()->geometry(), QRect(10, 10, 278, 158));
    // The window's own background shows through where the picture would be.
    const QImage window = dialog.GetWidget()->grab().toImage();
    EXPECT_EQ(window.pixelColor(149, 89), QColor(Qt::white));
    EXPECT_FALSE(dialog.GetWidget()->grab().isNull());
}

// Palette PNGs load indexed; the window's background, a picture and a button's state frame,
// each stretched and away from the window's corner, look as the same pictures in 32 bits do,
// on screen (through the window's backing store) and grabbed.
TEST_F(SkinPictureTest, PalettePicturesDrawAsTheir32BitTwins)
{
    const QImage background = muitest::IndexedPicture({300, 200}, 90);
    const QImage picture = muitest::IndexedPicture({120, 80}, 200);
    const QImage strip = muitest::IndexedPicture({4 * 30, 28}, 60);
    auto* shown = Make<MUI::MPicture>(L"MPicture", 67, RECT{380, 300, 590, 450});
    shown->SetImage(L"img_test_picture.png");
    auto* button = Make<MUI::MImageButton>(L"MImageButton", 68, RECT{600, 480, 660, 530});
    button->SetImage(L"icon\\btn_test.png", 4);
    dialog.GetWidget()->show();
    const auto shots = [&](QImage::Format format) {
        for (const auto& [image, name] :
             {std::pair{background, "/bkg_test.png"}, std::pair{picture, "/img_test_picture.png"},
              std::pair{strip, "/icon/btn_test.png"}}) {
            EXPECT_TRUE(image.convertToFormat(format).save(root + name));
        }
        MUI::ClearSkinImageCache();
        EXPECT_EQ(MUI::LoadSkinImage(L"bkg_test.png").format(), format);
        dialog.LoadBKImage(L"bkg_test.png");
        dialog.GetWidget()->update();
        muitest::Pump();
        QWidget* window = dialog.GetWidget();
        return std::pair{window->screen()->grabWindow(window->winId()).toImage(),
                         window->grab().toImage()};
    };
    const auto indexed = shots(QImage::Format_Indexed8);
    const auto full = shots(QImage::Format_ARGB32);
    EXPECT_EQ(indexed.first.size(), QSize(800, 600));
    EXPECT_LE(muitest::LargestDifference(indexed.first, full.first), 1);
    EXPECT_LE(muitest::LargestDifference(indexed.second, full.second), 1);
}

}  // namespace

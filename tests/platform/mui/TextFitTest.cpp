// The look of texts: the faces the pages name map to the installed design family, the fit check
// measures what the controls really draw, and the drawing helpers that keep texts readable.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include "platform/mui/ControlHarness.h"
#include "platform/mui/FontFamilies.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MButton.h"
#include "platform/mui/Painting.h"
#include "platform/mui/TextFit.h"

namespace {

using muitest::ControlTest;

TEST(FontFamiliesTest, NamedFacesMapToTheInstalledDesignFamily)
{
    MUI::EnsureApplication();
    const struct {
        const wchar_t* face;
        int style;
        QFont::Weight weight;
    } cases[] = {
        {L"SourceHanSansCN-Regular", MUI::kFontRegular, QFont::Normal},
        {L"SourceHanSansCN-Bold", MUI::kFontRegular, QFont::Bold},
        {L"PingFang Medium_0", MUI::kFontRegular, QFont::Medium},
        {L"AlibabaPuHuiTi-Medium", MUI::kFontBold, QFont::Bold},
        {L"", MUI::kFontRegular, QFont::Normal},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromWCharArray(c.face).toStdString());
        const QFont font = MUI::MakeFont(MUI::FontSpec{c.face, 20, c.style});
        EXPECT_EQ(font.families().value(0), QString(MUI::kDesignFamily));
        EXPECT_EQ(font.weight(), c.weight);
        EXPECT_EQ(font.pixelSize(), 20);
        // The family is installed: the font is not a fallback.
        EXPECT_EQ(QFontInfo(font).family(), QString(MUI::kDesignFamily));
    }
    // A face of no known design keeps its name first and falls back to the design family.
    const QStringList other = MUI::FamiliesForFace(L"Some Face");
    EXPECT_EQ(other.value(0), QString("Some Face"));
    EXPECT_EQ(other.value(1), QString(MUI::kDesignFamily));
}

TEST(TextFitsTest, MeasuresOneLineAndWrappedTexts)
{
    MUI::EnsureApplication();
    const MUI::FontSpec font{L"", 20, MUI::kFontRegular};
    const struct {
        const wchar_t* text;
        QRect box;
        bool multiLine;
        bool fits;
    } cases[] = {
        {L"Settings", QRect(0, 0, 130, 25), false, true},
        {L"Settings", QRect(0, 0, 60, 25), false, false},       // too narrow
        {L"设置", QRect(0, 0, 60, 20), false, true},            // the em square fits its size
        {L"Settings", QRect(0, 0, 130, 12), false, false},      // too low
        {L"Web Favorites", QRect(0, 0, 90, 60), true, true},    // wraps between the words
        {L"Web Favorites", QRect(0, 0, 90, 25), true, false},   // two lines do not fit
        {L"Recalibration", QRect(0, 0, 60, 200), true, false},  // one word wider than the box
        {L"", QRect(0, 0, 1, 1), false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromWCharArray(c.text).toStdString());
        EXPECT_EQ(MUI::TextFits(MUI::DrawnText{c.text, font, c.box, c.multiLine}), c.fits);
    }
    // A caption that must fit takes a smaller size, down to the floor.
    EXPECT_LT(
        MUI::FitFont(L"Calculator", MUI::FontSpec{L"", 12, 0}, QRect(0, 0, 51, 51), true, 9).size,
        12);
    EXPECT_EQ(MUI::FitFont(L"Vol+", MUI::FontSpec{L"", 12, 0}, QRect(0, 0, 51, 51), true, 9).size,
              12);
}

TEST(ReadableInkTest, KeepsContrastOnLightAndDarkFaces)
{
    EXPECT_EQ(MUI::ReadableInk(0xFFFFFFFF, QColor(0xF6, 0xF6, 0xF6)), 0xFF3E3E3Eu);
    EXPECT_EQ(MUI::ReadableInk(0xFF21A939, QColor(0xFF, 0xFF, 0xFF)), 0xFF21A939u);
    EXPECT_EQ(MUI::ReadableInk(0xFF3E3E3E, QColor(0x21, 0x21, 0x21)), 0xFFFFFFFFu);
}

class ControlLookTest : public ControlTest {};

TEST_F(ControlLookTest, ButtonDrawsItsTitleBesideItsIconInAReadableInk)
{
    auto* button = Make<MUI::MButton>(L"MButton", 91, RECT{0, 0, 65, 23});
    button->SetTitle(L"Export");
    // No skin here: without a picture the button draws its light face and dark title.
    std::vector<MUI::DrawnText> texts = MUI::RecordDrawnTexts(*button);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(MUI::TextFits(texts[0]));
    QImage canvas(65, 23, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    button->PaintInto(painter);
    painter.end();
    // The face is light and opaque in the middle of the button.
    EXPECT_GT(qGray(canvas.pixel(2, 11)), 200);
    EXPECT_EQ(qAlpha(canvas.pixel(2, 11)), 255);
}

TEST_F(ControlLookTest, KeyViewDrawsEveryKeyAsACapAndSaysWhyItHasNoKeys)
{
    auto* view = Make<MUI::KeyboardCtrl>(L"KeyboardCtrl", 82, RECT{0, 0, 200, 100});
    view->SetKeyboardColor(0x232323);
    view->SetKeyboardSize(200, 60);
    view->AddKeyItem(L"A", L"", 4, 10, 10, 60, 50, L"", 0x232323);
    // On an FN layer a key may have nothing assigned: it shows no caption but is still drawn.
    view->SetKeyItemInfo(4, L"", 3, L"");
    QImage canvas(200, 100, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    view->PaintInto(painter);
    painter.end();
    const QColor board = canvas.pixelColor(100, 55);
    const QColor cap = canvas.pixelColor(35, 25);
    EXPECT_EQ(board, QColor(0x23, 0x23, 0x23));
    EXPECT_GT(cap.lightness(), board.lightness() + 20);
    EXPECT_TRUE(MUI::RecordDrawnTexts(*view).empty());

    // Without keys the title is the view's notice, on one line in the middle.
    view->ClearKeyItems();
    view->SetRect(RECT{0, 0, 500, 100});
    view->SetTitle(L"The keyboard layout could not be loaded: x.xml");
    const std::vector<MUI::DrawnText> texts = MUI::RecordDrawnTexts(*view);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, L"The keyboard layout could not be loaded: x.xml");
    EXPECT_FALSE(texts[0].multiLine);
    EXPECT_TRUE(MUI::TextFits(texts[0]));
}

}  // namespace

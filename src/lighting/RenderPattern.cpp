#include "lighting/RenderPattern.h"

#include <array>

#include "lighting/HsvToRgb.h"
#include "lighting/PatternFill.h"

namespace {

constexpr uint32_t kBlack = MakeColor(0, 0, 0);
constexpr uint32_t kWhite = MakeColor(255, 255, 255);
constexpr uint32_t kRed = MakeColor(255, 0, 0);
constexpr uint32_t kOrange = MakeColor(255, 64, 0);
constexpr uint32_t kYellow = MakeColor(255, 255, 0);
constexpr uint32_t kGreen = MakeColor(0, 255, 0);
constexpr uint32_t kBlue = MakeColor(0, 0, 255);
constexpr uint32_t kCyan = MakeColor(0, 255, 255);
constexpr uint32_t kMagenta = MakeColor(255, 0, 255);
constexpr uint32_t kViolet = MakeColor(64, 0, 255);

constexpr std::array<uint32_t, 3> kGreenYellowRed{kGreen, kYellow, kRed};
constexpr std::array<uint32_t, 6> kRedToMagenta{kRed, kYellow, kGreen, kCyan, kBlue, kMagenta};
constexpr std::array<uint32_t, 6> kMagentaToRed{kMagenta, kBlue, kCyan, kGreen, kYellow, kRed};
constexpr std::array<uint32_t, 3> kGreenWhiteRed{kGreen, kWhite, kRed};
constexpr std::array<uint32_t, 3> kBlueCyanWhite{kBlue, kCyan, kWhite};
constexpr std::array<uint32_t, 3> kRedWhiteBlue{kRed, kWhite, kBlue};

// The solid colours by pattern code (6..13).
constexpr std::array<uint32_t, 8> kSolids{kWhite, kRed,  kOrange, kYellow,
                                          kGreen, kBlue, kCyan,   kViolet};

}  // namespace

void RenderPattern(int code, int brightness, float hue, SpectrumImage& image)
{
    switch (code) {
        case 0:
            image.pixels.fill(kBlack);
            break;
        case 1:
            FillGradient(image, kGreenYellowRed, brightness);
            break;
        case 2:
            FillGradient(image, kRedToMagenta, brightness);
            break;
        case 3:
            FillGradient(image, kMagentaToRed, brightness);
            break;
        case 4:
            FillHueAngle(image, 32, hue, brightness);
            break;
        case 5:
            image.pixels.fill(HsvToRgb(static_cast<int>(hue), 255, BrightnessLevel(brightness)));
            break;
        case 6:
        case 7:
        case 8:
        case 9:
        case 10:
        case 11:
        case 12:
        case 13:
            FillSolid(image, kSolids[code - 6], brightness);
            break;
        case 14:
            FillGradient(image, kGreenWhiteRed, brightness);
            break;
        case 15:
            FillGradient(image, kBlueCyanWhite, brightness);
            break;
        case 16:
            FillGradient(image, kRedWhiteBlue, brightness);
            break;
        case 17:
            FillSineRainbow(image, hue, brightness);
            break;
        case 18:
            FillHueColumns(image, hue, brightness);
            break;
        case 19:
            FillHueAngle(image, 64, hue, brightness);
            break;
        case 20:
            FillSineColour(image, hue, brightness);
            break;
        default:
            break;
    }
}

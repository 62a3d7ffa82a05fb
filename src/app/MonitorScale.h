// Display scale and the DPI-awareness decision made at start-up.
#pragma once

// The scale of the screen at point (1, 1) as Windows reports it from the effective DPI:
// 100 with no screen (or no GUI application yet).
int GetMonitorScale();

// Effective horizontal DPI to scale: 120 -> 125; 144, 168 and 192 -> the DPI itself; anything
// else (96 or less included) -> 100.
int ScaleFromEffectiveDpi(int dpi);

// The start-up rule: DPI-aware when the screen is below 1920 x 1080 in both directions, or is
// exactly 1920 x 1080 at a scale above 125.
bool IsDpiAwareScreen(int width, int height, int scale);

// Qt scales every window for its screen itself, so declaring DPI awareness has nothing to do.
void SetProcessDpiAware();

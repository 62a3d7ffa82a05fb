// The main window's design size in window coordinates: every page is laid out for it.
#pragma once

constexpr int kMainWindowWidth = 1600;
constexpr int kMainWindowHeight = 970;

// Where the splash stands: its picture's top 500 x 376 pixels, centred on the screen.
#pragma once

struct SplashPlacement {
    int x, y, width, height;
};

inline constexpr int kSplashWidth = 500;
inline constexpr int kSplashHeight = 376;

inline SplashPlacement PlaceSplash(int screenWidth, int screenHeight) {
    return {(screenWidth - kSplashWidth) / 2, (screenHeight - kSplashHeight) / 2, kSplashWidth,
            kSplashHeight};
}

#include "viewer/view_geometry.h"

#include <algorithm>
#include <cstdint>

ViewRect ShownRect(ViewMode mode, int clientWidth, int clientHeight, int frameWidth,
                   int frameHeight, int scrollX, int scrollY) {
    if (frameWidth <= 0 || frameHeight <= 0 || clientWidth <= 0 || clientHeight <= 0) {
        return {};
    }
    if (mode == ViewMode::actualSize) {
        ViewRect shown{0, 0, frameWidth, frameHeight};
        shown.x = frameWidth < clientWidth ? (clientWidth - frameWidth) / 2
                                           : -ClampScroll(scrollX, frameWidth, clientWidth);
        shown.y = frameHeight < clientHeight ? (clientHeight - frameHeight) / 2
                                             : -ClampScroll(scrollY, frameHeight, clientHeight);
        return shown;
    }
    // Compare clientWidth/frameWidth with clientHeight/frameHeight without rounding.
    const std::int64_t byWidth = std::int64_t{clientWidth} * frameHeight;
    const std::int64_t byHeight = std::int64_t{clientHeight} * frameWidth;
    ViewRect shown;
    if (byWidth <= byHeight) {
        shown.width = clientWidth;
        shown.height = static_cast<int>(byWidth / frameWidth);
    } else {
        shown.height = clientHeight;
        shown.width = static_cast<int>(byHeight / frameHeight);
    }
    shown.width = std::max(shown.width, 1);
    shown.height = std::max(shown.height, 1);
    shown.x = (clientWidth - shown.width) / 2;
    shown.y = (clientHeight - shown.height) / 2;
    return shown;
}

int ClampScroll(int position, int frame, int page) {
    return std::clamp(position, 0, std::max(frame - page, 0));
}

ViewPoint ClientToFrame(const ViewRect& shown, int frameWidth, int frameHeight, int x, int y) {
    if (frameWidth <= 0 || frameHeight <= 0 || shown.width <= 0 || shown.height <= 0) {
        return {};
    }
    const std::int64_t fx = (std::int64_t{x} - shown.x) * frameWidth / shown.width;
    const std::int64_t fy = (std::int64_t{y} - shown.y) * frameHeight / shown.height;
    return {static_cast<int>(std::clamp<std::int64_t>(fx, 0, frameWidth - 1)),
            static_cast<int>(std::clamp<std::int64_t>(fy, 0, frameHeight - 1))};
}

ViewRect FrameToClient(const ViewRect& shown, int frameWidth, int frameHeight,
                       const ViewRect& frameRect) {
    if (frameWidth <= 0 || frameHeight <= 0) {
        return {};
    }
    auto scaleDown = [](std::int64_t v, std::int64_t to, std::int64_t from) {
        return v * to / from;
    };
    auto scaleUp = [](std::int64_t v, std::int64_t to, std::int64_t from) {
        return (v * to + from - 1) / from;
    };
    const std::int64_t left = scaleDown(frameRect.x, shown.width, frameWidth);
    const std::int64_t top = scaleDown(frameRect.y, shown.height, frameHeight);
    const std::int64_t right =
        scaleUp(std::int64_t{frameRect.x} + frameRect.width, shown.width, frameWidth);
    const std::int64_t bottom =
        scaleUp(std::int64_t{frameRect.y} + frameRect.height, shown.height, frameHeight);
    // One pixel more on each side: the halftone stretch blends neighbouring pixels.
    return {static_cast<int>(shown.x + left - 1), static_cast<int>(shown.y + top - 1),
            static_cast<int>(right - left + 2), static_cast<int>(bottom - top + 2)};
}

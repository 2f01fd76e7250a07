// Where the remote screen goes in the window, and where a point of the window is on the remote
// screen: scaled to fit with its aspect kept (centred, bars around it), or 1:1 (centred when it
// is smaller than the window, else scrolled).
#pragma once

struct ViewRect {
    int x = 0, y = 0, width = 0, height = 0;
};

struct ViewPoint {
    int x = 0, y = 0;
};

enum class ViewMode { fit, actualSize };

// The rectangle of the client area that shows the frame. scrollX/scrollY: the 1:1 view's
// scroll position (ignored when fitting); see ClampScroll.
ViewRect ShownRect(ViewMode mode, int clientWidth, int clientHeight, int frameWidth,
                   int frameHeight, int scrollX, int scrollY);

// A scroll position kept between 0 and frame - page (0 when the page holds the whole frame).
int ClampScroll(int position, int frame, int page);

// The frame pixel under a client point, clamped into the frame (a pointer outside the picture
// points at its nearest edge). frame sizes of 0 give (0, 0).
ViewPoint ClientToFrame(const ViewRect& shown, int frameWidth, int frameHeight, int x, int y);

// The client rectangle covering a frame rectangle (rounded outwards), for repainting it.
ViewRect FrameToClient(const ViewRect& shown, int frameWidth, int frameHeight,
                       const ViewRect& frameRect);

// The annotation board's pen: a stroke begins at a left press, every move while the button
// is down adds a segment from where the stroke last ended, and the left release ends it.
// The board keeps no record of its strokes; it only draws each segment once.
#pragma once

#include <optional>

struct BoardPoint {
    int x = 0;
    int y = 0;
    bool operator==(const BoardPoint&) const = default;
};

struct BoardSegment {
    BoardPoint from;
    BoardPoint to;
    bool operator==(const BoardSegment&) const = default;
};

class BoardStroke {
public:
    void Press(BoardPoint point) {
        penUp_ = false;
        last_ = point;
    }

    // The segment to draw, or nothing while the pen is up.
    std::optional<BoardSegment> Move(BoardPoint point) {
        if (penUp_) {
            return std::nullopt;
        }
        BoardSegment segment{last_, point};
        last_ = point;
        return segment;
    }

    // True when a stroke ended here (the board then lets go of the mouse).
    bool Release() {
        if (penUp_) {
            return false;
        }
        penUp_ = true;
        return true;
    }

    bool PenUp() const { return penUp_; }
    BoardPoint Last() const { return last_; }

private:
    bool penUp_ = true;
    BoardPoint last_{};
};

// The pen colour the colour dialog's choice gives: red in the low byte.
constexpr unsigned PenColourFrom(unsigned char red, unsigned char green, unsigned char blue) {
    return static_cast<unsigned>(red) | static_cast<unsigned>(green) << 8 |
           static_cast<unsigned>(blue) << 16;
}

#include "console/board_stroke.h"

#include <gtest/gtest.h>

#include <variant>
#include <vector>

namespace {

struct Press {
    BoardPoint at;
};
struct Move {
    BoardPoint to;
};
struct Release {};
using Event = std::variant<Press, Move, Release>;

// Feeds events to a stroke and collects the segments it draws.
std::vector<BoardSegment> Draw(const std::vector<Event>& events) {
    BoardStroke stroke;
    std::vector<BoardSegment> drawn;
    for (const Event& event : events) {
        if (auto* press = std::get_if<Press>(&event)) {
            stroke.Press(press->at);
        } else if (auto* move = std::get_if<Move>(&event)) {
            if (auto segment = stroke.Move(move->to)) {
                drawn.push_back(*segment);
            }
        } else {
            stroke.Release();
        }
    }
    return drawn;
}

TEST(BoardStroke, EachMoveWhileDownDrawsFromWhereTheStrokeLastEnded) {
    EXPECT_EQ(Draw({Press{{10, 10}}, Move{{20, 10}}, Move{{20, 30}}, Release{}}),
              (std::vector<BoardSegment>{{{10, 10}, {20, 10}}, {{20, 10}, {20, 30}}}));
}

TEST(BoardStroke, MovesWithThePenUpDrawNothingAndTheNextStrokeStartsAtItsPress) {
    EXPECT_EQ(Draw({Move{{5, 5}}, Press{{10, 10}}, Move{{20, 20}}, Release{}, Move{{30, 30}},
                    Press{{100, 100}}, Move{{110, 100}}}),
              (std::vector<BoardSegment>{{{10, 10}, {20, 20}}, {{100, 100}, {110, 100}}}));
}

TEST(BoardStroke, APressWithoutMoveDrawsNothing) {
    EXPECT_TRUE(Draw({Press{{1, 1}}, Release{}}).empty());
}

TEST(BoardStroke, AReleaseEndsAStrokeOnlyOnce) {
    BoardStroke stroke;
    EXPECT_FALSE(stroke.Release()) << "a release with the pen up does nothing";
    stroke.Press({3, 4});
    EXPECT_TRUE(stroke.Release());
    EXPECT_FALSE(stroke.Release());
    EXPECT_TRUE(stroke.PenUp());
}

TEST(BoardStroke, ASecondPressRestartsTheStrokeWithoutARelease) {
    // A double click on the board is two presses: the stroke restarts at the second.
    EXPECT_EQ(Draw({Press{{1, 1}}, Press{{50, 50}}, Move{{60, 50}}}),
              (std::vector<BoardSegment>{{{50, 50}, {60, 50}}}));
}

TEST(BoardStroke, PenColourPutsRedInTheLowByte) {
    EXPECT_EQ(PenColourFrom(0, 0, 255), 0x00FF0000u);
    EXPECT_EQ(PenColourFrom(0x12, 0x34, 0x56), 0x00563412u);
    EXPECT_EQ(PenColourFrom(255, 255, 255), 0x00FFFFFFu);
}

} // namespace

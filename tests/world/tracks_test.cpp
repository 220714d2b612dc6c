// Tests of the snow tracks: where they are laid, how the ring turns, and their colours over their life.
#include <gtest/gtest.h>

#include "render/mapview.h"
#include "render/media.h"
#include "support/test_env.h"
#include "world/tracks.h"

namespace {

void emptyRings() {
    for (int owner = 0; owner < kTrackOwners; owner++) {
        gNextTrackIndex[owner] = gOldestTrackIndex[owner] = 0;
    }
}

const Track& newest(int owner) {
    return gTrack[owner][(gNextTrackIndex[owner] + kTrackRing - 1) % kTrackRing];
}

// Lays a track going right and returns 0 when it went to the first side (24 pixels below), 1 otherwise.
int sideOfNextTrack(int owner) {
    addTrack(owner, 100, 200, 1, 0, 0);
    EXPECT_TRUE(newest(owner).y == 224 || newest(owner).y == 230);
    return newest(owner).y == 224 ? 0 : 1;
}

TEST(Tracks, AlternateSidesOfTheLineOfTravelAtTheFeet) {
    emptyRings();
    // The side carries over from earlier tracks of the run, so learn it first.
    const int side = sideOfNextTrack(0);
    addTrack(0, 100, 200, 1, 0, 0);
    EXPECT_EQ(newest(0).x, 100);
    EXPECT_EQ(newest(0).y, side == 0 ? 230 : 224);
    addTrack(0, 100, 200, -1, -1, 1);          // up-left, on the first side again
    EXPECT_EQ(newest(0).x, side == 0 ? 97 : 103);
    EXPECT_EQ(newest(0).y, side == 0 ? 230 : 224);
    EXPECT_EQ(newest(0).isBlood, 1);
    EXPECT_EQ(newest(0).age, 0);
    addTrack(0, 100, 200, -1, -1, 0);
    EXPECT_EQ(newest(0).x, side == 0 ? 103 : 97);
    EXPECT_EQ(newest(0).y, side == 0 ? 224 : 230);
    addTrack(0, 100, 200, 0, 1, 0);            // downwards: 3 pixels right or left of the centre
    EXPECT_EQ(newest(0).x, side == 0 ? 103 : 97);
    EXPECT_EQ(newest(0).y, 227);
    addTrack(0, 100, 200, 0, 0, 0);            // standing: straight below the centre
    EXPECT_EQ(newest(0).x, 100);
    EXPECT_EQ(newest(0).y, 227);
    EXPECT_EQ(gNextTrackIndex[0], 6);

    // The hunter's ring keeps its own side: laying deer tracks does not move it.
    const int hunterSide = sideOfNextTrack(1);
    addTrack(0, 0, 0, 1, 0, 0);
    EXPECT_EQ(sideOfNextTrack(1), 1 - hunterSide);
    EXPECT_EQ(gNextTrackIndex[1], 2);
}

TEST(Tracks, NextIndexWrapsFromTheLastSlot) {
    emptyRings();
    gNextTrackIndex[0] = gOldestTrackIndex[0] = 1023;
    addTrack(0, 5, 6, 0, 0, 0);
    EXPECT_EQ(gNextTrackIndex[0], 0);
    EXPECT_EQ(gTrack[0][1023].x, 5);
    EXPECT_EQ(gOldestTrackIndex[0], 1023);
}

TEST(Tracks, FullRingDropsItsOldestTrackInsteadOfReadingEmpty) {
    emptyRings();
    for (int i = 0; i < kTrackRing; i++) {
        addTrack(0, i, 0, 0, 0, 0);
    }
    EXPECT_EQ(gNextTrackIndex[0], 0);
    EXPECT_EQ(gOldestTrackIndex[0], 1);  // 1023 live tracks, the first one dropped
    EXPECT_EQ(gTrack[0][gOldestTrackIndex[0]].x, 1);
}

class TrackDrawing : public testing::Test {
protected:
    void SetUp() override {
        startHeadlessSDL();
        emptyRings();
        gScreenX = 40;
        gScreenY = 30;
    }
    // Clears the screen to blue, draws the ring and returns the colour at screen point (x, y).
    SDL_Color drawAndRead(int owner, int x, int y) {
        SDL_SetRenderDrawColor(gRenderer, 0, 0, 255, 255);
        SDL_RenderClear(gRenderer);
        renderTrack(owner);
        return readPixel(x, y);
    }
};

void expectColour(SDL_Color colour, int red, int green, int blue, const char* what) {
    EXPECT_EQ(colour.r, red) << what;
    EXPECT_EQ(colour.g, green) << what;
    EXPECT_EQ(colour.b, blue) << what;
}

TEST_F(TrackDrawing, EmptyRingDrawsNothingAndChangesNothing) {
    gNextTrackIndex[1] = gOldestTrackIndex[1] = 17;
    expectColour(drawAndRead(1, 100, 100), 0, 0, 255, "empty ring");
    EXPECT_EQ(gNextTrackIndex[1], 17);
    EXPECT_EQ(gOldestTrackIndex[1], 17);
}

TEST_F(TrackDrawing, TracksFadeFromBlackOrRedToWhiteAndVanishAfterTheirLastFrame) {
    addTrack(0, 140, 173, 0, 0, 1);   // dot at map (140, 200), screen (100, 170)
    addTrack(1, 240, 173, 0, 0, 0);   // dot at map (240, 200), screen (200, 170)
    for (int frame = 0; frame < kTrackLifetime; frame++) {
        if (frame == 0 || frame == 400 || frame == 1022) {
            const char* what = frame == 0 ? "new" : frame == 400 ? "age 400" : "last frame";
            const int shade = frame / 4;
            SDL_SetRenderDrawColor(gRenderer, 0, 0, 255, 255);
            SDL_RenderClear(gRenderer);
            renderTrack(0);
            renderTrack(1);
            for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
                expectColour(readPixel(100 + dx, 170 + dy), 255, shade, shade, what);
                expectColour(readPixel(200 + dx, 170 + dy), shade, shade, shade, what);
            }
            expectColour(readPixel(102, 170), 0, 0, 255, "beside the dot");
            expectColour(readPixel(100, 172), 0, 0, 255, "below the dot");
        } else {
            renderTrack(0);
            renderTrack(1);
        }
    }
    EXPECT_EQ(gOldestTrackIndex[0], gNextTrackIndex[0]);
    EXPECT_EQ(gOldestTrackIndex[1], gNextTrackIndex[1]);
    expectColour(drawAndRead(0, 100, 170), 0, 0, 255, "gone");
}

} // namespace

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

const Track& newest(int owner) { return gTrack[owner][(gNextTrackIndex[owner] + kTrackRing - 1) % kTrackRing]; }

// Lays a track going right and returns 0 when it went to the first side (24 pixels below), 1 otherwise.
int sideOfNextTrack(int owner) {
    addTrack(owner, 100, 200, 1, 0, 0);
    EXPECT_TRUE(newest(owner).y == 224 || newest(owner).y == 230);
    return newest(owner).y == 224 ? 0 : 1;
}

TEST(Tracks, AlternateSidesOfTheLineOfTravelAtTheFeet) {
    emptyRings();
    const int side = sideOfNextTrack(0); // the side carries over from earlier tracks of the run
    // Each row is laid on the side after the one before; x and y for each side the run began on.
    const struct {
        int dx, dy, blood, x[2], y[2];
    } rows[] = {
        {1, 0, 0, {100, 100}, {230, 224}}, {-1, -1, 1, {97, 103}, {230, 224}}, {-1, -1, 0, {103, 97}, {224, 230}},
        {0, 1, 0, {103, 97}, {227, 227}},  // downwards: 3 pixels right or left of the centre
        {0, 0, 0, {100, 100}, {227, 227}}, // standing: straight below the centre
    };
    for (const auto& row : rows) {
        addTrack(0, 100, 200, row.dx, row.dy, row.blood);
        EXPECT_EQ(newest(0).x, row.x[side]) << "direction " << row.dx << "," << row.dy;
        EXPECT_EQ(newest(0).y, row.y[side]) << "direction " << row.dx << "," << row.dy;
        EXPECT_EQ(newest(0).isBlood * 10 + newest(0).age, row.blood * 10);
    }
    EXPECT_EQ(gNextTrackIndex[0], 6);
    // The hunter's ring keeps its own side: laying deer tracks does not move it.
    const int hunterSide = sideOfNextTrack(1);
    addTrack(0, 0, 0, 1, 0, 0);
    EXPECT_EQ(sideOfNextTrack(1), 1 - hunterSide);
    EXPECT_EQ(gNextTrackIndex[1], 2);
}

TEST(Tracks, FullRingWrapsAndDropsItsOldestTrackInsteadOfReadingEmpty) {
    emptyRings();
    for (int i = 0; i < kTrackRing; i++) {
        addTrack(0, i, 0, 0, 0, 0);
    }
    EXPECT_EQ(gTrack[0][kTrackRing - 1].x, kTrackRing - 1);
    EXPECT_EQ(gNextTrackIndex[0], 0);
    EXPECT_EQ(gOldestTrackIndex[0], 1); // 1023 live tracks, the first one dropped
    EXPECT_EQ(gTrack[0][gOldestTrackIndex[0]].x, 1);
}

void expectColour(SDL_Color colour, int red, int green, int blue, const std::string& what) {
    EXPECT_EQ(colour.r * 1000000 + colour.g * 1000 + colour.b, red * 1000000 + green * 1000 + blue) << what;
}

TEST(TrackDrawing, TracksFadeFromBlackOrRedToWhiteAndVanishAfterTheirLastFrame) {
    startHeadlessSDL();
    emptyRings();
    gScreenX = 40;
    gScreenY = 30;
    addTrack(0, 140, 173, 0, 0, 1); // dot at map (140, 200), screen (100, 170)
    addTrack(1, 240, 173, 0, 0, 0); // dot at map (240, 200), screen (200, 170)
    for (int frame = 0; frame <= kTrackLifetime; frame++) {
        SDL_SetRenderDrawColor(gRenderer, 0, 0, 255, 255);
        SDL_RenderClear(gRenderer);
        renderTrack(0);
        renderTrack(1);
        if (frame != 0 && frame != 400 && frame != kTrackLifetime - 1 && frame != kTrackLifetime) {
            continue;
        }
        const std::string what = "frame " + std::to_string(frame);
        if (frame == kTrackLifetime) { // both gone, and drawing the empty rings changes nothing
            EXPECT_EQ(gOldestTrackIndex[0] * 10 + gOldestTrackIndex[1], gNextTrackIndex[0] * 10 + gNextTrackIndex[1]);
            EXPECT_EQ(gNextTrackIndex[0] * 10 + gNextTrackIndex[1], 11);
            expectColour(readPixel(100, 170), 0, 0, 255, what);
            expectColour(readPixel(200, 170), 0, 0, 255, what);
            continue;
        }
        const int shade = frame / 4;
        for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
            expectColour(readPixel(100 + dx, 170 + dy), 255, shade, shade, what + " blood");
            expectColour(readPixel(200 + dx, 170 + dy), shade, shade, shade, what);
        }
        expectColour(readPixel(102, 170), 0, 0, 255, what + " beside the dot");
        expectColour(readPixel(100, 172), 0, 0, 255, what + " below the dot");
    }
}

} // namespace

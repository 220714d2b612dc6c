// Tests of the snow tracks: where they are laid, how the ring turns, and their colours over their life.
#include <gtest/gtest.h>

#include "render/mapview.h"
#include "render/media.h"
#include "support/test_env.h"
#include "world/tracks.h"

namespace {

void emptyRings() { gNextTrackIndex[0] = gOldestTrackIndex[0] = gNextTrackIndex[1] = gOldestTrackIndex[1] = 0; }

const Track& newest(int owner) { return gTrack[owner][(gNextTrackIndex[owner] + kTrackRing - 1) % kTrackRing]; }

// Lays a track going right and returns 0 when it went to the first side (24 pixels below), 1 otherwise.
int sideOfNextTrack(int owner) {
    addTrack(owner, 100, 200, 1, 0, 0);
    return newest(owner).y == 230;
}

// Tracks alternate sides of the line of travel at the feet, each ring on its own; a full ring drops
// its oldest track instead of wrapping onto itself and reading as empty.
TEST(Tracks, AlternateSidesAtTheFeetAndAFullRingDropsItsOldest) {
    emptyRings();
    const int side = sideOfNextTrack(0); // the side carries over from earlier tracks of the run
    // {dx, dy, blood, x and y for each side the run began on}: each row on the side after the one before.
    // clang-format off
    const int rows[][7] = {{1, 0, 0, 100, 100, 230, 224}, {-1, -1, 1, 97, 103, 230, 224}, {-1, -1, 0, 103, 97, 224, 230},
                           {0, 1, 0, 103, 97, 227, 227},   // downwards: 3 pixels right or left of the centre
                           {0, 0, 0, 100, 100, 227, 227}}; // standing: straight below the centre
    // clang-format on
    for (const auto& row : rows) {
        addTrack(0, 100, 200, row[0], row[1], row[2]);
        const Track& track = newest(0);
        EXPECT_EQ(track.x * 1000 + track.y, row[3 + side] * 1000 + row[5 + side]) << row[0] << "," << row[1];
        EXPECT_EQ(track.isBlood * 10 + track.age, row[2] * 10) << row[0] << "," << row[1];
    }
    const int hunterSide = sideOfNextTrack(1);
    addTrack(0, 0, 0, 1, 0, 0);
    EXPECT_EQ(sideOfNextTrack(1), 1 - hunterSide); // laying deer tracks does not move the hunter's side
    EXPECT_EQ(gNextTrackIndex[0] * 10 + gNextTrackIndex[1], 72);

    emptyRings();
    for (int i = 0; i < kTrackRing; i++) {
        addTrack(0, i, 0, 0, 0, 0);
    }
    EXPECT_EQ(gNextTrackIndex[0] * 10 + gOldestTrackIndex[0], 1); // 1023 live tracks, the first one dropped
    EXPECT_EQ(gTrack[0][kTrackRing - 1].x * 10 + gTrack[0][gOldestTrackIndex[0]].x, (kTrackRing - 1) * 10 + 1);
}

TEST(TrackDrawing, TracksFadeFromBlackOrRedToWhiteAndVanishAfterTheirLastFrame) {
    startHeadlessSDL();
    emptyRings();
    gScreenX = 40, gScreenY = 30;
    addTrack(0, 140, 173, 0, 0, 1); // dot at map (140, 200), screen (100, 170)
    addTrack(1, 240, 173, 0, 0, 0); // dot at map (240, 200), screen (200, 170)
    const auto expectColour = [](int x, int y, int red, int green, int blue, const std::string& what) {
        const SDL_Color colour = readPixel(x, y);
        EXPECT_EQ(colour.r * 1000000 + colour.g * 1000 + colour.b, red * 1000000 + green * 1000 + blue) << what;
    };
    for (int frame = 0; frame <= kTrackLifetime; frame++) {
        SDL_SetRenderDrawColor(gRenderer, 0, 0, 255, 255);
        SDL_RenderClear(gRenderer);
        renderTrack(0);
        renderTrack(1);
        const std::string what = "frame " + std::to_string(frame);
        if (frame == kTrackLifetime) { // both gone, and drawing the empty rings changes nothing
            EXPECT_EQ(gOldestTrackIndex[0] * 1000 + gOldestTrackIndex[1] * 100 + gNextTrackIndex[0] * 10 +
                          gNextTrackIndex[1],
                      1111);
            expectColour(100, 170, 0, 0, 255, what);
            expectColour(200, 170, 0, 0, 255, what);
        } else if (frame == 0 || frame == 400 || frame == kTrackLifetime - 1) {
            for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
                expectColour(100 + dx, 170 + dy, 255, frame / 4, frame / 4, what + " blood");
                expectColour(200 + dx, 170 + dy, frame / 4, frame / 4, frame / 4, what);
            }
            expectColour(102, 170, 0, 0, 255, what + " beside the dot");
            expectColour(100, 172, 0, 0, 255, what + " below the dot");
        }
    }
}

} // namespace

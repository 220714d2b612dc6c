// Tracks in the snow: laying, drawing and ageing the two rings.
#include "world/tracks.h"

#include "render/mapview.h"
#include "render/media.h"

Track gTrack[kTrackOwners][kTrackRing];
int gNextTrackIndex[kTrackOwners];
int gOldestTrackIndex[kTrackOwners];

constexpr int kFeetBelowCentre = 27; // tracks lie at the walker's feet, pixels below his centre
constexpr int kFootSideOffset = 3;   // pixels either side of the line of travel
constexpr int kShadeDivisor = 4;     // ages 0..1022 give shades 0..255
constexpr int kTrackDotSize = 2;     // a track is a 2 x 2 dot

// Which side of the line of travel the next track of each ring goes to; never reset by a game.
static int Step[kTrackOwners];

static bool isRing(int owner) {
    return owner >= 0 && owner < kTrackOwners && gNextTrackIndex[owner] >= 0 && gNextTrackIndex[owner] < kTrackRing &&
           gOldestTrackIndex[owner] >= 0 && gOldestTrackIndex[owner] < kTrackRing;
}

static int nextSlot(int slot) { return slot + 1 < kTrackRing ? slot + 1 : 0; }

void addTrack(int owner, int x, int y, int directionX, int directionY, int isBlood) {
    if (!isRing(owner)) {
        return;
    }
    Track& track = gTrack[owner][gNextTrackIndex[owner]];
    if (Step[owner]) {
        track.x = x - kFootSideOffset * directionY;
        track.y = y + kFeetBelowCentre + kFootSideOffset * directionX;
        Step[owner] = 0;
    } else {
        track.x = x + kFootSideOffset * directionY;
        track.y = y + kFeetBelowCentre - kFootSideOffset * directionX;
        Step[owner] = 1;
    }
    track.age = 0;
    track.isBlood = isBlood;
    gNextTrackIndex[owner] = nextSlot(gNextTrackIndex[owner]);
    // A full ring drops its oldest track rather than wrapping onto itself and reading as empty.
    if (gNextTrackIndex[owner] == gOldestTrackIndex[owner]) {
        gOldestTrackIndex[owner] = nextSlot(gOldestTrackIndex[owner]);
    }
}

void renderTrack(int owner) {
    // The dot being drawn; its contents mean nothing between calls.
    static SDL_Rect TrackRect;
    if (!isRing(owner)) {
        return;
    }
    for (int slot = gOldestTrackIndex[owner]; slot != gNextTrackIndex[owner]; slot = nextSlot(slot)) {
        Track& track = gTrack[owner][slot];
        if (gRenderer != nullptr) {
            const Uint8 shade = Uint8(track.age / kShadeDivisor);
            if (track.isBlood) {
                SDL_SetRenderDrawColor(gRenderer, 255, shade, shade, 255);
            } else {
                SDL_SetRenderDrawColor(gRenderer, shade, shade, shade, 255);
            }
            TrackRect = SDL_Rect{track.x - gScreenX, track.y - gScreenY, kTrackDotSize, kTrackDotSize};
            SDL_RenderDrawRect(gRenderer, &TrackRect);
        }
        track.age++;
        if (track.age >= kTrackLifetime) {
            gOldestTrackIndex[owner] = nextSlot(gOldestTrackIndex[owner]);
        }
    }
}

int findTrackSides() {
    int sides = 0;
    for (int owner = 0; owner < kTrackOwners; owner++) {
        sides |= (Step[owner] != 0 ? 1 : 0) << owner;
    }
    return sides;
}

void setTrackSides(int sides) {
    for (int owner = 0; owner < kTrackOwners; owner++) {
        Step[owner] = (sides >> owner) & 1;
    }
}

// Tracks in the snow: two rings of footprints that fade from black (or red) to white.
#pragma once

struct Track {
    int x;       // map pixel x of the dot's top-left corner
    int y;       // map pixel y of the dot's top-left corner
    int age;     // frames the track has been drawn, 0 when laid, at most 1022 while it lives
    int isBlood; // nonzero: drawn in red shades
};

constexpr int kTrackOwners = 2;      // ring 0 the deer's, ring 1 the hunter's
constexpr int kTrackRing = 1024;     // records per ring
constexpr int kTrackLifetime = 1023; // a track is drawn this many times, then dropped

extern Track gTrack[kTrackOwners][kTrackRing];
extern int gNextTrackIndex[kTrackOwners];   // slot that the next track takes
extern int gOldestTrackIndex[kTrackOwners]; // slot of the oldest live track

// Lays one track for owner at the feet of a walker centred on (x, y) map pixels, stepping in
// direction (directionX, directionY), alternating sides of the line of travel.
void addTrack(int owner, int x, int y, int directionX, int directionY, int isBlood);

// Draws every live track of the ring through the camera and ages it by one frame. Without a
// renderer (headless play) the tracks age all the same.
void renderTrack(int owner);

// The sides of the line of travel that the next track of each ring goes to, as bits (bit 0 the
// deer's ring, bit 1 the hunter's: 1 the second side). They carry over from game to game, so a
// replay holds them with the game's start.
int findTrackSides();

// Sets the sides of the next tracks from bits as findTrackSides gives them.
void setTrackSides(int sides);

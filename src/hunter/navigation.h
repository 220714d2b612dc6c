// The hunter's placement, his hunting spots, the tracks he follows and his walk along the path.
#pragma once

#include <cstdint>

#include "world/map.h"

constexpr int kHunterWalkSpeed = 35; // tenths per frame
constexpr int kHunterRunSpeed = 50;
constexpr int kNoDestinationAge = 1024; // older than any live track

extern int gHunterX; // hunter centre, tenths of a map pixel; negative: no hunter
extern int gHunterY;
extern int gHuntingSpotToVisit[kMaxHuntingSpots]; // shuffled visit order of the spot indices
extern int gIndexOfHuntingSpotToVisit;            // next position to hand out; negative: shuffle again
extern int gAgeOfHunterDestination;               // age in frames of the information behind his destination

// Puts a new hunter on the centre of the hunting spot farthest from the deer and marks the visit
// list for a new shuffle. Returns the spot's index, or -1 (no hunter placed) on a map without spots.
int spawnHunter();

// Returns the next spot index of the shuffled visit order, shuffling when it is used up;
// -1 on a map without spots.
int getNextHuntingSpot();

// Seeds the generator the shuffle draws from. Each game seeds it once, so that a game follows
// from its seed whatever else draws random numbers in the process.
void seedHuntingSpotShuffle(uint32_t seed);

// Sends the hunter to the newest visible deer track no older than gAgeOfHunterDestination whose
// cell does not block movement. Returns 1 when it set a new destination, 0 when it left the path alone.
int computeHunterPathToMostRecentDeerTrack();

// One step along the direction field (35 tenths, 50 when run is nonzero). Returns the direction
// code of the step (2 right, 3 up, 4 left, 5 down) or 0 when the hunter did not move.
int moveHunter(int run);

// Forgets any step in progress, the direction field and the destination's age: a new game starts fresh.
void resetHunterNavigation();

// The player program's mind: what it has seen and remembers, and what it decides each frame. It
// sees only the screen (a BotView a frame) and answers with the eight actions.
#pragma once

#include <cstdint>

#include "bot/botmap.h"
#include "bot/botsteer.h"
#include "bot/botview.h"

constexpr int kBotMinReactionFrames = 10; // 250 ms: no player reacts faster
constexpr int kBotViewRing = 32;          // the views and actions kept, more than any reaction time

// How a player plays: what it knows at the start and how it goes about the hunt.
struct BotProfile {
    int knowsMap;               // knows where the grass and the bushes are from the start
    int reactionFrames;         // from seeing to acting, at least kBotMinReactionFrames
    int smellBeforeTuftPercent; // the chance that it smells before eating a tuft, the hunter about
    int smellEveryFrames;       // it also smells when it has not for this long, the hunter about
    int knowsCover;             // knows that a bush hides it: runs for one rather than the open
    int waitsInCover;           // waits in a bush until the hunter has gone, rather than running on
    int avoidsHunter;           // goes for the tufts away from where it last knew the hunter to be
    int fleeFrames;             // after seeing the hunter, it runs and stays away this long
};

// A player new to the map: explores it, reacts in 400 ms, smells now and then, runs out of the
// hunter's sight when it sees or smells him near, and comes back after a while.
constexpr BotProfile kBotProfileNew{.knowsMap = 0,
                                    .reactionFrames = 16,
                                    .smellBeforeTuftPercent = 35,
                                    .smellEveryFrames = 1600,
                                    .knowsCover = 0,
                                    .waitsInCover = 0,
                                    .avoidsHunter = 0,
                                    .fleeFrames = 320};
// A player who knows the map: goes tuft by tuft, the ones away from the hunter first, smells before
// every tuft and all the while in cover, runs for a bush and waits there when the hunter is near,
// and eats when it is safe.
constexpr BotProfile kBotProfilePractised{.knowsMap = 1,
                                          .reactionFrames = 10,
                                          .smellBeforeTuftPercent = 100,
                                          .smellEveryFrames = 400,
                                          .knowsCover = 1,
                                          .waitsInCover = 1,
                                          .avoidsHunter = 1,
                                          .fleeFrames = 160};

// What the player is about.
constexpr int kBotModeGraze = 0;   // walking to the next tuft it knows of
constexpr int kBotModeExplore = 1; // walking towards what it has not seen yet
constexpr int kBotModeSmell = 2;   // standing, smelling, until it has read the indicator
constexpr int kBotModeEat = 3;     // standing over a tuft, eating until it is gone
constexpr int kBotModeHide = 4;    // walking to a bush and waiting in it until it is safe
constexpr int kBotModeFlee = 5;    // running away from where it saw the hunter

// Everything the player program knows and intends. About 650 kB: keep it static.
struct BotMind {
    BotProfile profile;
    uint32_t random;               // its own choices draw from this, seeded from the game's seed
    int frame;                     // views taken so far: the frame being decided
    BotView views[kBotViewRing];   // the latest views, by frame
    uint8_t actions[kBotViewRing]; // the actions of the latest frames
    BotMap map;                    // the cells it has seen or knew
    BotWay way;                    // the ways from the deer's cell
    int wayChanges;                // map.changes when they were found
    BotDeer deer;                  // where it believes the deer is now, and its reserve
    int warned;                    // the hunter's warning has been on screen
    int hunterAbout;               // the warning went: the hunter is on the map
    int hunterFrame;               // the frame it last saw or smelled the hunter near; -1: never
    int hunterX, hunterY;          // where, map pixels (smelled: as the arrow tells)
    int smellFrame;                // the frame of the last indicator it read; -1: none
    int smellResult;               // kBotSmellSafe or kBotSmellDanger
    int woundFrame;                // the frame it saw itself wounded; -1: not
    int mode;                      // kBotModeGraze and on
    int modeFrame;                 // the frame the mode began
    int targetRow, targetColumn;   // the cell the mode is heading for; -1: none
};

// A new game: nothing seen, nothing known but, for a profile that knows the map, the map itself
// (cells[row * 256 + column] in view bits, rows x columns cells; null when it knows nothing).
void startBotMind(BotMind* mind, const BotProfile* profile, uint32_t seed, const uint8_t* cells, int rows, int columns);

// Takes this frame's view and returns this frame's actions (kBotUp and on). The decision rests
// on the view of reactionFrames frames ago and on the actions since, never on a newer view.
uint8_t decideBotActions(BotMind* mind, const BotView* view);

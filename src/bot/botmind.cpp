// The player program's mind: what it remembers of the frames it saw, and each frame's decision.
#include "bot/botmind.h"

#include <cstdlib>

constexpr int kStandTolerance = 100;      // tenths from a cell's middle where it stands to eat or hide
constexpr int kNearGuessPixels = 600;     // where it guesses a hunter that the arrow's first row shows
constexpr int kFarGuessPixels = 1500;     // and the second row
constexpr int kSprintAfterSight = 80;     // frames after seeing the hunter that it still sprints
constexpr int kSafeAfterFrames = 240;     // frames without the hunter near before it leaves cover
constexpr int kFleeCells = 10;            // how far it looks for a place to run to
constexpr int kFleeRetarget = 40;         // frames between choices of where to run to
constexpr int kFreshSmellFrames = 120;    // a smell this recent needs no other before a tuft
constexpr int kSmellShowsAfter = 48;      // frames of smelling before the indicator shows
constexpr int kSmellGiveUp = 48 + 40;     // frames of smelling without reading a result
constexpr int kEatGiveUp = 28 + 165 + 80; // frames of eating before it decides the tuft is not under its head
constexpr int kWalkGiveUp = 40;           // frames per cell of the way before it gives a target up
constexpr int kPercent = 100;
constexpr int kChoiceSlack = 3;           // cells farther than the nearest that a choice of place may lie
constexpr int kHunterMemoryFrames = 1200; // how long it goes by where it last knew the hunter to be
constexpr int kSafeCells = 16;            // a tuft nearer than this to where the hunter was is one to keep from
constexpr int kSightDropPixels = 12;      // the hunter's sight line ends this far below the deer's centre
constexpr int kHunterReachCells = 2;      // a bush this near the hunter is no place to hide
constexpr int kAvoidCells = 30;           // the cells of walking it would rather take than be seen
constexpr int kCoverBonusCells = 3;       // a bush to run to is worth this many cells of walking

// ---- Small helpers -----------------------------------------------------------------------------

static uint32_t drawRandom(BotMind* mind) {
    // xorshift32: the player's own choices, a sequence of its own that the game's seed starts
    uint32_t x = mind->random;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    mind->random = x;
    return x;
}

static bool drawChance(BotMind* mind, int percent) { return int(drawRandom(mind) % kPercent) < percent; }

static int findDeerRow(const BotMind* mind) { return findBotDeerRow(&mind->deer); }

static int findDeerColumn(const BotMind* mind) { return findBotDeerColumn(&mind->deer); }

static int cellDistance(int row, int column, int otherRow, int otherColumn) {
    return abs(row - otherRow) + abs(column - otherColumn);
}

static bool isCellGrass(const BotMind* mind, int row, int column) {
    return (readBotCell(&mind->map, row, column) & kBotCellGrass) != 0;
}

static bool isCellCover(const BotMind* mind, int row, int column) {
    const uint8_t cell = readBotCell(&mind->map, row, column);
    return (cell & kBotCellHidesSight) != 0 && (cell & kBotCellBlocks) == 0;
}

// The deer is hidden when the point its sight line starts from (12 pixels below its centre)
// lies in a bush.
static bool isDeerInCover(const BotMind* mind) {
    return isCellCover(mind, (mind->deer.y + kSightDropPixels * kBotPixelTenths) / kBotCellTenths,
                       mind->deer.x / kBotCellTenths);
}

static void beginMode(BotMind* mind, int mode, int row, int column) {
    mind->mode = mode;
    mind->modeFrame = mind->frame;
    mind->targetRow = row;
    mind->targetColumn = column;
}

static bool isHunterSeenLately(const BotMind* mind, int frames) {
    return mind->hunterFrame >= 0 && mind->frame - mind->hunterFrame < frames;
}

// ---- Seeing --------------------------------------------------------------------------------------

// The hunter's place as the arrow tells it: its direction, and a guess at the distance its row gives.
static void guessHunterPlace(BotMind* mind, const BotView* seen) {
    const int distance = seen->arrowFar != 0 ? kFarGuessPixels : kNearGuessPixels;
    const int half = distance / 2;
    // By direction, from kBotArrowRight counter-clockwise; screen y grows downwards.
    const int dx[kBotArrowDirections] = {distance, half, 0, -half, -distance, -half, 0, half};
    const int dy[kBotArrowDirections] = {0, -half, -distance, -half, 0, half, distance, half};
    const int direction = seen->arrowDirection & (kBotArrowDirections - 1);
    mind->hunterX = seen->deerX + dx[direction];
    mind->hunterY = seen->deerY + dy[direction];
}

// Takes in the view of frame seenFrame: the cells, the hunter, the indicator, a wound.
static void takeInView(BotMind* mind, const BotView* seen, int seenFrame) {
    rememberBotView(&mind->map, seen);
    if (seen->hunterWarning != 0) {
        mind->warned = 1;
    } else if (mind->warned != 0) {
        mind->hunterAbout = 1;
    }
    if (seen->smell != kBotSmellNone) {
        mind->smellFrame = seenFrame;
        mind->smellResult = seen->smell;
        if (seen->smell == kBotSmellDanger && seen->arrowFar == 0) {
            mind->hunterFrame = seenFrame;
            guessHunterPlace(mind, seen);
        }
    }
    if (seen->hunterSeen != 0) {
        mind->hunterFrame = seenFrame;
        mind->hunterX = seen->hunterX;
        mind->hunterY = seen->hunterY;
    }
    if (seen->wounded != 0 && mind->woundFrame < 0) {
        mind->woundFrame = seenFrame;
    }
    mind->deer.wounded = seen->wounded;
}

// Where the deer is now: where the view showed it, moved on by the actions taken since.
static void followDeer(BotMind* mind, const BotView* seen, int seenFrame) {
    const int halfPixel = kBotPixelTenths / 2;
    mind->deer.x = seen->deerX * kBotPixelTenths + halfPixel;
    mind->deer.y = seen->deerY * kBotPixelTenths + halfPixel;
    for (int frame = seenFrame; frame < mind->frame - 1; frame++) {
        moveBotDeer(&mind->map, &mind->deer, mind->actions[frame % kBotViewRing]);
    }
}

// ---- Walking -------------------------------------------------------------------------------------

constexpr int kWalking = 0;
constexpr int kArrived = 1;
constexpr int kNoWay = 2;

// Finds the ways from the deer's cell again when it changed cell or learnt something new of the map.
static void refreshWays(BotMind* mind) {
    const int row = findDeerRow(mind);
    const int column = findDeerColumn(mind);
    if (mind->wayChanges != mind->map.changes || mind->way.fromRow != row || mind->way.fromColumn != column) {
        findBotWays(&mind->map, row, column, &mind->way);
        mind->wayChanges = mind->map.changes;
    }
}

// The keys that take the deer on towards the middle of (row, column): *keys, with kWalking,
// kArrived (standing there; no keys) or kNoWay.
static int walkTowards(BotMind* mind, int row, int column, uint8_t* keys) {
    refreshWays(mind);
    *keys = 0;
    if (findDeerRow(mind) == row && findDeerColumn(mind) == column) {
        *keys = steerBotDeer(&mind->deer, row, column, kStandTolerance / 2);
        return isBotDeerAt(&mind->deer, row, column, kStandTolerance) ? kArrived : kWalking;
    }
    int nextRow = 0;
    int nextColumn = 0;
    if (findFirstBotStep(&mind->way, row, column, &nextRow, &nextColumn) == 0) {
        return kNoWay;
    }
    *keys = steerBotDeer(&mind->deer, nextRow, nextColumn, kBotSprintCost * 3);
    return kWalking;
}

static int findWayDistance(const BotMind* mind, int row, int column) {
    if (row < 0 || row >= kBotGridSide || column < 0 || column >= kBotGridSide) {
        return kBotNoWay;
    }
    return mind->way.distance[row * kBotGridSide + column];
}

// ---- Choosing where to go ----------------------------------------------------------------------

static bool isTuft(const BotMind* mind, int cell) { return (mind->map.cells[cell] & kBotCellGrass) != 0; }

// A cell beside one it has not seen.
static bool isBesideUnseen(const BotMind* mind, int cell) {
    const int row = cell / kBotGridSide;
    const int column = cell % kBotGridSide;
    const int steps[4][2] = {{0, 1}, {-1, 0}, {0, -1}, {1, 0}};
    for (const auto& step : steps) {
        if ((readBotCell(&mind->map, row + step[0], column + step[1]) & kBotCellKnown) == 0) {
            return true;
        }
    }
    return false;
}

constexpr int kChoiceTuft = 0;   // a tuft of grass
constexpr int kChoiceUnseen = 1; // a cell beside one it has not seen

static bool isChoice(const BotMind* mind, int kind, int cell) {
    return kind == kChoiceTuft ? isTuft(mind, cell) : isBesideUnseen(mind, cell);
}

// Picks one of the reached cells of a kind (kChoiceTuft, kChoiceUnseen), at random among those
// at most kChoiceSlack cells farther than the nearest. Returns 0 when there is none.
// Gives the row and column of a chosen cell (an index into the grid). Returns 0 when none was
// chosen (-1), else 1.
static int placeChosenCell(int cell, int* row, int* column) {
    if (cell < 0) {
        return 0;
    }
    *row = cell / kBotGridSide;
    *column = cell % kBotGridSide;
    return 1;
}

static int chooseNearCell(BotMind* mind, int kind, int* row, int* column) {
    refreshWays(mind);
    int first = -1;
    int count = 0;
    for (int i = 0; i < mind->way.reachedCount; i++) {
        const int cell = mind->way.reached[i];
        if (first >= 0 && mind->way.distance[cell] > mind->way.distance[first] + kChoiceSlack) {
            break;
        }
        if (isChoice(mind, kind, cell)) {
            first = first < 0 ? cell : first;
            count++;
        }
    }
    if (count == 0) {
        return 0;
    }
    int pick = int(drawRandom(mind) % uint32_t(count));
    for (int i = 0; i < mind->way.reachedCount; i++) {
        const int cell = mind->way.reached[i];
        if (isChoice(mind, kind, cell) && pick-- == 0) {
            *row = cell / kBotGridSide;
            *column = cell % kBotGridSide;
            break;
        }
    }
    return 1;
}

// The point the hunter's sight line ends at when the deer's feet stand in the middle of a cell:
// 12 pixels below its centre.
static int findSightX(int column) { return column * kBotCellPixels + kBotCellPixels / 2; }

static int findSightY(int row) { return row * kBotCellPixels + kBotCellPixels / 4 + kSightDropPixels; }

// A bush to hide in: near to walk to, not towards the hunter, and not where he stands; with
// avoidHere, not the cell the deer stands in. Returns 0 when it knows none it can reach.
static int chooseCover(BotMind* mind, bool avoidHere, int* row, int* column) {
    refreshWays(mind);
    const int hunterRow = mind->hunterY / kBotCellPixels;
    const int hunterColumn = mind->hunterX / kBotCellPixels;
    const int deerFromHunter = cellDistance(findDeerRow(mind), findDeerColumn(mind), hunterRow, hunterColumn);
    int best = -1;
    int bestScore = 0;
    for (int i = 0; i < mind->way.reachedCount; i++) {
        const int cell = mind->way.reached[i];
        const int r = cell / kBotGridSide;
        const int c = cell % kBotGridSide;
        if (!isCellCover(mind, r, c) || (avoidHere && mind->way.distance[cell] == 0)) {
            continue;
        }
        // Each cell nearer the hunter than the deer is now counts as two more to walk; beside him, many.
        const int fromHunter = cellDistance(r, c, hunterRow, hunterColumn);
        const int towards = deerFromHunter - fromHunter;
        int score = mind->way.distance[cell] + (towards > 0 ? 2 * towards : 0);
        score += fromHunter <= kHunterReachCells ? kAvoidCells : 0;
        if (best < 0 || score < bestScore) {
            best = cell;
            bestScore = score;
        }
    }
    return placeChosenCell(best, row, column);
}

// A place to run to from the hunter: out of his sight, far from him, not far to walk. Returns 0
// when there is none.
static int chooseRefuge(BotMind* mind, bool avoidHere, int* row, int* column) {
    refreshWays(mind);
    const int hunterRow = mind->hunterY / kBotCellPixels;
    const int hunterColumn = mind->hunterX / kBotCellPixels;
    int best = -1;
    int bestScore = 0;
    for (int i = 0; i < mind->way.reachedCount; i++) {
        const int cell = mind->way.reached[i];
        if (mind->way.distance[cell] > kFleeCells) {
            break;
        }
        if (avoidHere && mind->way.distance[cell] == 0) {
            continue;
        }
        const int r = cell / kBotGridSide;
        const int c = cell % kBotGridSide;
        const bool seen = isBotSightClear(&mind->map, findSightX(c), findSightY(r), mind->hunterX, mind->hunterY);
        const int cover = mind->profile.knowsCover != 0 && isCellCover(mind, r, c) ? kCoverBonusCells : 0;
        const int score =
            mind->way.distance[cell] - cellDistance(r, c, hunterRow, hunterColumn) + (seen ? kAvoidCells : 0) - cover;
        if (best < 0 || score < bestScore) {
            best = cell;
            bestScore = score;
        }
    }
    return placeChosenCell(best, row, column);
}

// ---- The modes -----------------------------------------------------------------------------------

// Runs for cover or away, as the player knows to.
static void takeFlight(BotMind* mind, bool leaveHere) {
    int row = 0;
    int column = 0;
    if (mind->profile.waitsInCover != 0 && chooseCover(mind, leaveHere, &row, &column) != 0) {
        beginMode(mind, kBotModeHide, row, column);
    } else if (chooseRefuge(mind, leaveHere, &row, &column) != 0) {
        beginMode(mind, kBotModeFlee, row, column);
    } else {
        beginMode(mind, kBotModeFlee, findDeerRow(mind), findDeerColumn(mind));
    }
}

static void beginGrazing(BotMind* mind) { beginMode(mind, kBotModeGraze, -1, -1); }

static bool wantsToSmell(BotMind* mind) {
    if (mind->hunterAbout == 0) {
        return false;
    }
    const bool fresh = mind->smellFrame >= 0 && mind->frame - mind->smellFrame < kFreshSmellFrames;
    return !fresh && drawChance(mind, mind->profile.smellBeforeTuftPercent);
}

static bool isSmellDue(const BotMind* mind) {
    if (mind->hunterAbout == 0) {
        return false;
    }
    const int last = mind->smellFrame >= 0 ? mind->smellFrame : 0;
    return mind->frame - last >= mind->profile.smellEveryFrames;
}

// The tuft to eat next for a player who keeps away from the hunter: near to walk to, far from
// where it last knew him to be. Returns 0 when there is none it can reach.
static int chooseTuftAwayFromHunter(BotMind* mind, int* row, int* column) {
    refreshWays(mind);
    const int hunterRow = mind->hunterY / kBotCellPixels;
    const int hunterColumn = mind->hunterX / kBotCellPixels;
    const bool known = isHunterSeenLately(mind, kHunterMemoryFrames);
    int best = -1;
    int bestScore = 0;
    for (int i = 0; i < mind->way.reachedCount; i++) {
        const int cell = mind->way.reached[i];
        if (!isTuft(mind, cell)) {
            continue;
        }
        const int fromHunter = cellDistance(cell / kBotGridSide, cell % kBotGridSide, hunterRow, hunterColumn);
        const int score = mind->way.distance[cell] + (known && fromHunter < kSafeCells ? kAvoidCells - fromHunter : 0);
        if (best < 0 || score < bestScore) {
            best = cell;
            bestScore = score;
        }
    }
    return placeChosenCell(best, row, column);
}

static int chooseTuft(BotMind* mind, int* row, int* column) {
    if (mind->profile.avoidsHunter != 0) {
        return chooseTuftAwayFromHunter(mind, row, column);
    }
    return chooseNearCell(mind, kChoiceTuft, row, column);
}

static uint8_t graze(BotMind* mind) {
    if (mind->targetRow < 0 || !isCellGrass(mind, mind->targetRow, mind->targetColumn)) {
        int row = 0;
        int column = 0;
        if (chooseTuft(mind, &row, &column) == 0) {
            beginMode(mind, kBotModeExplore, -1, -1);
            return 0;
        }
        mind->targetRow = row;
        mind->targetColumn = column;
        mind->modeFrame = mind->frame;
    }
    if (isSmellDue(mind)) {
        beginMode(mind, kBotModeSmell, mind->targetRow, mind->targetColumn);
        return kBotSmell;
    }
    uint8_t keys = 0;
    const int walk = walkTowards(mind, mind->targetRow, mind->targetColumn, &keys);
    if (walk == kArrived) {
        const int row = mind->targetRow;
        const int column = mind->targetColumn;
        beginMode(mind, wantsToSmell(mind) ? kBotModeSmell : kBotModeEat, row, column);
        return 0;
    }
    const int cells = findWayDistance(mind, mind->targetRow, mind->targetColumn);
    if (walk == kNoWay || mind->frame - mind->modeFrame > kWalkGiveUp * (cells > 0 ? cells + 2 : 4)) {
        beginMode(mind, kBotModeExplore, -1, -1); // it cannot get there: look about instead
        return 0;
    }
    return keys;
}

static uint8_t explore(BotMind* mind) {
    int row = 0;
    int column = 0;
    if (chooseTuft(mind, &row, &column) != 0) {
        beginGrazing(mind);
        return 0;
    }
    const bool stillUnseen =
        mind->targetRow >= 0 && isBesideUnseen(mind, mind->targetRow * kBotGridSide + mind->targetColumn);
    if (!stillUnseen || mind->frame - mind->modeFrame > kWalkGiveUp * kBotViewColumns) {
        if (chooseNearCell(mind, kChoiceUnseen, &row, &column) == 0) {
            return 0; // it has seen everything it can reach, and no grass is left there
        }
        beginMode(mind, kBotModeExplore, row, column);
    }
    if (isSmellDue(mind)) {
        beginMode(mind, kBotModeSmell, -1, -1);
        return kBotSmell;
    }
    uint8_t keys = 0;
    if (walkTowards(mind, mind->targetRow, mind->targetColumn, &keys) != kWalking) {
        mind->targetRow = -1;
    }
    return keys;
}

// Stands and smells until it reads the indicator, then eats, hides or goes on.
static uint8_t smell(BotMind* mind) {
    const bool read = mind->smellFrame >= mind->modeFrame + kSmellShowsAfter;
    if (!read) {
        if (mind->frame - mind->modeFrame > kSmellGiveUp + mind->profile.reactionFrames) {
            beginGrazing(mind);
        }
        return kBotSmell;
    }
    if (isHunterSeenLately(mind, mind->profile.reactionFrames + 2) && mind->hunterFrame >= mind->modeFrame) {
        takeFlight(mind, false);
        return 0;
    }
    if (mind->targetRow >= 0 && isCellGrass(mind, mind->targetRow, mind->targetColumn) &&
        findDeerRow(mind) == mind->targetRow && findDeerColumn(mind) == mind->targetColumn) {
        beginMode(mind, kBotModeEat, mind->targetRow, mind->targetColumn);
        return 0;
    }
    beginGrazing(mind);
    return 0;
}

static uint8_t eat(BotMind* mind) {
    if (!isCellGrass(mind, mind->targetRow, mind->targetColumn)) {
        mind->deer.stamina += kBotEatStaminaBonus; // the tuft is eaten
        beginGrazing(mind);
        return 0;
    }
    if (mind->frame - mind->modeFrame > kEatGiveUp) {
        beginGrazing(mind); // not under the head after all: step up to it again
        return 0;
    }
    return kBotEat;
}

// Goes to its bush and waits there, smelling all the while so that it sees the hunter drawn over
// everything; runs for another bush when he comes close (he would walk into it, or onto its
// tracks), and leaves once he has not been near for a while and a smell says so.
static uint8_t hide(BotMind* mind) {
    uint8_t keys = 0;
    const int walk = walkTowards(mind, mind->targetRow, mind->targetColumn, &keys);
    if (walk == kNoWay) {
        takeFlight(mind, false);
        return 0;
    }
    if (walk == kWalking) {
        const bool hurry = isHunterSeenLately(mind, kSprintAfterSight);
        return uint8_t(keys | (hurry ? kBotRun : 0));
    }
    const bool close = isHunterSeenLately(mind, mind->profile.reactionFrames + 2) &&
                       cellDistance(findDeerRow(mind), findDeerColumn(mind), mind->hunterY / kBotCellPixels,
                                    mind->hunterX / kBotCellPixels) <= kHunterReachCells;
    if (close) {
        takeFlight(mind, true);
        return 0;
    }
    const bool quiet = !isHunterSeenLately(mind, kSafeAfterFrames);
    const bool smelledSince = mind->smellFrame > mind->hunterFrame && mind->smellFrame >= mind->modeFrame;
    if (quiet && smelledSince) {
        beginGrazing(mind);
        return 0;
    }
    return kBotSmell;
}

// True when the hunter, where it last saw him, would see the deer's feet in the middle of the cell.
static bool isCellInHunterSight(const BotMind* mind, int row, int column) {
    return isBotSightClear(&mind->map, findSightX(column), findSightY(row), mind->hunterX, mind->hunterY);
}

// Runs for a place out of the hunter's sight, and on from there while he is about.
static uint8_t flee(BotMind* mind) {
    if (!isHunterSeenLately(mind, mind->profile.fleeFrames)) {
        beginGrazing(mind);
        return 0;
    }
    uint8_t keys = 0;
    const int walk = walkTowards(mind, mind->targetRow, mind->targetColumn, &keys);
    const bool seenNow = isHunterSeenLately(mind, mind->profile.reactionFrames + 2);
    const bool exposed = seenNow && isCellInHunterSight(mind, mind->targetRow, mind->targetColumn);
    if (exposed || walk == kNoWay || (walk == kArrived && seenNow) || mind->frame - mind->modeFrame >= kFleeRetarget) {
        takeFlight(mind, walk == kArrived);
        walkTowards(mind, mind->targetRow, mind->targetColumn, &keys);
    }
    return uint8_t(keys | (isHunterSeenLately(mind, kSprintAfterSight) ? kBotRun : 0));
}

// ---- The decision ------------------------------------------------------------------------------

static uint8_t chooseActions(BotMind* mind, int seenFrame) {
    // Sees the hunter (not just smells him: that is the smell's to judge), or a wound: runs for
    // cover, or away.
    const bool alarmed =
        (mind->hunterFrame == seenFrame && mind->smellFrame != seenFrame) || mind->woundFrame == seenFrame;
    const bool safe = mind->mode == kBotModeHide && isDeerInCover(mind) &&
                      isBotDeerAt(&mind->deer, mind->targetRow, mind->targetColumn, kStandTolerance);
    if (mind->woundFrame == seenFrame) {
        takeFlight(mind, true); // he knows where it is: away, and not into the same bush
    } else if (alarmed && !safe && mind->mode != kBotModeHide && mind->mode != kBotModeFlee) {
        takeFlight(mind, false);
    }
    // A smell that found him near.
    if (mind->mode == kBotModeSmell && mind->smellFrame == seenFrame && mind->smellResult == kBotSmellDanger &&
        mind->hunterFrame == seenFrame) {
        takeFlight(mind, false);
    }
    switch (mind->mode) {
    case kBotModeExplore: return explore(mind);
    case kBotModeSmell: return smell(mind);
    case kBotModeEat: return eat(mind);
    case kBotModeHide: return hide(mind);
    case kBotModeFlee: return flee(mind);
    default: return graze(mind);
    }
}

void startBotMind(BotMind* mind, const BotProfile* profile, uint32_t seed, const uint8_t* cells, int rows,
                  int columns) {
    mind->profile = *profile;
    if (mind->profile.reactionFrames < kBotMinReactionFrames) {
        mind->profile.reactionFrames = kBotMinReactionFrames;
    }
    if (mind->profile.reactionFrames > kBotViewRing - 2) {
        mind->profile.reactionFrames = kBotViewRing - 2;
    }
    // A seed of its own, apart from the hunter's shuffle that the game's seed also starts.
    mind->random = (seed ^ 0x9E3779B9u) * 2654435761u;
    if (mind->random == 0) {
        mind->random = 1;
    }
    mind->frame = 0;
    forgetBotMap(&mind->map);
    if (cells != nullptr) {
        learnBotMap(&mind->map, cells, rows, columns);
    }
    clearBotWays(&mind->way);
    mind->wayChanges = mind->map.changes - 1;
    mind->deer = BotDeer{0, 0, kBotStaminaFull, 0};
    mind->warned = 0;
    mind->hunterAbout = 0;
    mind->hunterFrame = -1;
    mind->hunterX = 0;
    mind->hunterY = 0;
    mind->smellFrame = -1;
    mind->smellResult = kBotSmellNone;
    mind->woundFrame = -1;
    beginMode(mind, kBotModeGraze, -1, -1);
}

uint8_t decideBotActions(BotMind* mind, const BotView* view) {
    const int frame = mind->frame;
    mind->views[frame % kBotViewRing] = *view;
    mind->frame++;
    uint8_t actions = 0;
    const int seenFrame = frame - mind->profile.reactionFrames;
    if (seenFrame >= 0) {
        // Only the view of reactionFrames ago, and the actions taken since, reach the decision.
        const BotView* seen = &mind->views[seenFrame % kBotViewRing];
        takeInView(mind, seen, seenFrame);
        followDeer(mind, seen, seenFrame);
        actions = chooseActions(mind, seenFrame);
    }
    actions = spendBotStamina(&mind->deer, actions);
    mind->actions[frame % kBotViewRing] = actions;
    return actions;
}

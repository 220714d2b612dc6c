// The player program: plays games headless through the eight actions and measures how often a
// level is won.
#pragma once

struct Options;

// Plays options->botGames games headless on the shipped level or gMapPath and prints the summary.
// Returns the program's exit status.
int runBot(const Options* options);

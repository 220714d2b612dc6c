// How the loaders and the map checker report a problem: as the game's message, or as the checker's
// line or JSON object.
#pragma once

extern const char* gCheckedMapPath;  // the map the checker reports on, as given; null while the game runs
extern const char* gCheckedFilePath; // another file the checker reads for it (the tile properties); else null
extern int gReportJson;              // nonzero: the checker writes each problem as a JSON object
extern int gLoaderMessages;          // messages and problems reported since the program started

// True while the map checker reports (gCheckedMapPath is set).
bool isCheckingMap();

// Starts the checker's report on one map: problems are counted from here, and in JSON the next one
// opens the map's list.
void beginMapReport();

// The problems reported since beginMapReport.
int mapProblems();

// Reports one problem with the file named file. The game prints "\nError loading FILE at layer N:
// TEXT" ("\nError loading FILE: TEXT" for layer 0). The checker prints "MAP: [OTHER: ][layer N: ]TEXT"
// on a line of its own, or in JSON {"kind": KIND, "layer": N or null, "message": "[OTHER: ][layer N:
// ]TEXT", "cells": [[x, y], ...]}, the cells given as row * 256 + column.
void reportProblem(const char* file, const char* kind, int layer, const int* cells, int cellCount, const char* format,
                   ...) __attribute__((format(printf, 6, 7)));

// A problem the map checker finds in the map it checks, the layer named by the message itself:
// "MAP: TEXT", or in JSON as reportProblem's.
void reportMapProblem(const char* kind, int layer, const int* cells, int cellCount, const char* format, ...)
    __attribute__((format(printf, 5, 6)));

// reportProblem of kind "load" without cells: a loader's message.
void reportLoadError(const char* file, int layer, const char* format, ...) __attribute__((format(printf, 3, 4)));

// A row of the layer (data block) that does not start on a line of its own, row from 0 or -1 when
// not known. The game prints "\nError loading FILE at layer N." at once; the checker counts the rows
// and prints one line for them all at finishRowBreaks.
void reportMissingRowBreak(const char* file, int layer);
void reportMissingRowBreakAt(const char* file, int layer, int row);

// Reports the rows counted since the last call in one line, when there are any. Returns their number.
int finishRowBreaks();

// The last part of path, after its last '/'.
const char* baseName(const char* path);

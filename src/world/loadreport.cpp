// How the loaders and the map checker report a problem: the game's message lines, or the checker's
// lines or JSON objects.
#include "world/loadreport.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "world/jsontext.h"

const char* gCheckedMapPath;
const char* gCheckedFilePath;
int gReportJson;
int gLoaderMessages;

constexpr int kMessageSize = 1024; // one message's text; longer ones are cut
constexpr int kRowsNamed = 256;    // rows of a map, the most a layer has
constexpr int kGridColumns = 256;  // cells are given as row * 256 + column

static int MapReportStart; // gLoaderMessages when the current map's report began

// Rows without their line break that the checker has counted since the last finishRowBreaks.
struct RowBreaks {
    const char* other; // the file they are in when not the map (the tile properties)
    int count;
    int firstLayer, lastLayer, firstRow;
    bool missing[kRowsNamed]; // the rows, in any layer
};
static RowBreaks Pending;

bool isCheckingMap() { return gCheckedMapPath != nullptr; }

void beginMapReport() { MapReportStart = gLoaderMessages; }

int mapProblems() { return gLoaderMessages - MapReportStart; }

// Prints one problem whose text is ready: see reportProblem.
static void printProblem(const char* file, const char* kind, int layer, bool layerInText, const int* cells,
                         int cellCount, const char* text) {
    const bool first = mapProblems() == 0;
    gLoaderMessages++;
    if (!isCheckingMap()) {
        printf("\nError loading %s", file);
        if (layer > 0) {
            printf(" at layer %d", layer);
        }
        printf(": %s", text);
        return;
    }
    static char Message[kMessageSize]; // the message with the file and layer it names before it
    snprintf(Message, sizeof Message, "%s%s", gCheckedFilePath != nullptr ? gCheckedFilePath : "",
             gCheckedFilePath != nullptr ? ": " : "");
    if (layer > 0 && layerInText) {
        const size_t length = strlen(Message);
        snprintf(Message + length, sizeof Message - length, "layer %d: ", layer);
    }
    const size_t length = strlen(Message);
    snprintf(Message + length, sizeof Message - length, "%s", text);
    if (gReportJson == 0) {
        printf("%s: %s\n", gCheckedMapPath, Message);
        return;
    }
    printf("%s\n    {\"kind\": ", first ? "" : ",");
    printJsonString(kind);
    if (layer > 0 && gCheckedFilePath == nullptr) {
        printf(", \"layer\": %d, \"message\": ", layer);
    } else {
        fputs(", \"layer\": null, \"message\": ", stdout);
    }
    printJsonString(Message);
    fputs(", \"cells\": [", stdout);
    for (int i = 0; i < cellCount; i++) {
        printf("%s[%d, %d]", i == 0 ? "" : ", ", cells[i] % kGridColumns, cells[i] / kGridColumns);
    }
    fputs("]}", stdout);
}

void reportProblem(const char* file, const char* kind, int layer, const int* cells, int cellCount, const char* format,
                   ...) {
    static char Text[kMessageSize]; // the message being reported
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(Text, sizeof Text, format, arguments);
    va_end(arguments);
    printProblem(file, kind, layer, true, cells, cellCount, Text);
}

void reportMapProblem(const char* kind, int layer, const int* cells, int cellCount, const char* format, ...) {
    static char Text[kMessageSize]; // the message being reported
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(Text, sizeof Text, format, arguments);
    va_end(arguments);
    printProblem("", kind, layer, false, cells, cellCount, Text);
}

void reportLoadError(const char* file, int layer, const char* format, ...) {
    static char Text[kMessageSize]; // the message being reported
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(Text, sizeof Text, format, arguments);
    va_end(arguments);
    printProblem(file, "load", layer, true, nullptr, 0, Text);
}

void reportMissingRowBreakAt(const char* file, int layer, int row) {
    if (!isCheckingMap()) {
        gLoaderMessages++;
        printf("\nError loading %s at layer %d.", file, layer);
        return;
    }
    if (Pending.count == 0) {
        memset(&Pending, 0, sizeof Pending);
        Pending.other = gCheckedFilePath;
        Pending.firstLayer = layer;
        Pending.firstRow = row;
    }
    Pending.count++;
    Pending.lastLayer = layer;
    if (row >= 0 && row < kRowsNamed) {
        Pending.missing[row] = true;
    }
}

void reportMissingRowBreak(const char* file, int layer) { reportMissingRowBreakAt(file, layer, -1); }

int finishRowBreaks() {
    const int count = Pending.count;
    if (count == 0) {
        return 0;
    }
    Pending.count = 0;
    const char* const checkedFile = gCheckedFilePath;
    gCheckedFilePath = Pending.other;
    static int Cells[kRowsNamed]; // the first cell of each row without its line break
    int cellCount = 0;
    for (int row = 0; row < kRowsNamed && Pending.other == nullptr; row++) {
        if (Pending.missing[row]) {
            Cells[cellCount++] = row * kGridColumns;
        }
    }
    const char* const file = Pending.other == nullptr ? "map" : "file";
    if (count == 1 && Pending.firstRow >= 0) {
        reportProblem("", "row-break", Pending.firstLayer, Cells, cellCount,
                      "the row at (0, %d) does not start on a line of its own, so the game misreads it; was the %s"
                      " saved with Minimize output?",
                      Pending.firstRow, file);
    } else {
        char layers[64];
        if (Pending.firstLayer == Pending.lastLayer) {
            snprintf(layers, sizeof layers, "layer %d", Pending.firstLayer);
        } else {
            snprintf(layers, sizeof layers, "layers %d to %d", Pending.firstLayer, Pending.lastLayer);
        }
        char first[64] = "";
        if (Pending.firstRow >= 0) {
            snprintf(first, sizeof first, ", the first at (0, %d) in layer %d", Pending.firstRow, Pending.firstLayer);
        }
        reportProblem("", "row-break", 0, Cells, cellCount,
                      "%d row%s in %s %s not start on a line of %s own%s, so the game misreads %s; was the %s saved"
                      " with Minimize output? Save it again without it.",
                      count, count == 1 ? "" : "s", layers, count == 1 ? "does" : "do", count == 1 ? "its" : "their",
                      first, count == 1 ? "it" : "them", file);
    }
    gCheckedFilePath = checkedFile;
    return count;
}

const char* baseName(const char* path) {
    const char* slash = strrchr(path, '/');
    return slash == nullptr ? path : slash + 1;
}

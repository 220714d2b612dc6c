// What a map file shows in Tiled around its tile ids: its layers with their names and offsets, where
// its Music property stands, tile objects. It explains the loader's and the checker's messages; the
// game reads the map by position all the same.
#pragma once

#include <cstdio>

constexpr int kLayoutLayers = 16;   // tile layers described one by one; more are only counted
constexpr int kLayoutNameSize = 48; // a name as messages show it, with its terminating zero
constexpr int kLayoutTypeSize = 16; // a property's type as messages show it

// Where a property stands: the element whose properties hold it.
constexpr int kOnNothing = 0; // there is no such property
constexpr int kOnMap = 1;
constexpr int kOnTileLayer = 2;
constexpr int kOnOtherLayer = 3; // an object, image or group layer
constexpr int kOnTileset = 4;    // the tileset or one of its tiles
constexpr int kOnObject = 5;

struct LayoutLayer {
    char name[kLayoutNameSize]; // as Tiled shows it; control characters left out, cut with "..."
    int offsetX, offsetY;       // pixels Tiled shifts it by: its own offset and its groups'
};

struct MapLayout {
    bool png;                         // the file is a PNG image
    bool hasMap;                      // it has a map element
    long long width, height;          // the map element's width and height in cells (0 when not given)
    int tileWidth, tileHeight;        // Tiled's tile size in pixels (32 when not given or not above 0)
    int tileLayers;                   // tile layer elements, in the order of the file
    LayoutLayer layer[kLayoutLayers]; // the first of them
    int dataElements;                 // data elements (a tile layer's tiles) in the file
    int dataLayer[kLayoutLayers];     // the tile layer (from 0) of each of the first, -1 outside one
    int csvData;                      // data elements in CSV, as the loader takes them
    // The int property Music that the loader reads: where it stands, its tile layer (from 0) when
    // on one, and the data elements before it, which the loader passes over.
    int musicOn, musicLayer, dataBeforeMusic;
    // The first property named Music that is not an int: where, and its type ("string" when none).
    int otherMusicOn, otherMusicLayer;
    char otherMusicType[kLayoutTypeSize];
    // Objects that show a tile, which Tiled draws and the game ignores; the first of them.
    int tileObjects;
    int firstObjectTile;                    // its tile id, flip flags taken off
    double firstObjectX, firstObjectY;      // its centre, in Tiled's pixels
    char firstObjectLayer[kLayoutNameSize]; // its object layer's name
    // Filled by the map loader: the tile layer (from 0) it read as each of its four layers, -1
    // when not known.
    int readAs[4];
};

extern MapLayout gMapLayout; // the layout of the last map file that readMap read

// Reads the stream to its end and describes what it holds in *layout.
void surveyMapLayout(FILE* file, MapLayout* layout);

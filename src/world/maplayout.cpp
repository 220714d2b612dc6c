// What a map file shows in Tiled around its tile ids: a small scan of its elements and attributes.
#include "world/maplayout.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

MapLayout gMapLayout;

constexpr int kTagSize = 512;  // the text of a tag kept: its name and attributes (the rest is cut)
constexpr int kMaxDepth = 32;  // nesting followed; deeper elements are counted, not described
constexpr int kValueSize = 64; // an attribute's value as read here
constexpr int kDefaultTileSide = 32;
constexpr double kMaxCoordinate = 1e9;          // pixels; larger values in a file are held to it
constexpr long long kTileIdBits = 0x0FFFFFFFLL; // a tile id without Tiled's flip and rotation flags
static const char kMusicTag[] = "property name=\"Music\" type=\"int\" value=\""; // as the loader finds it
static const char kCsvDataAttributes[] = " encoding=\"csv\"";                    // all a CSV data tag holds

// The elements followed on the way down.
constexpr int kElementOther = 0;
constexpr int kElementMap = 1;
constexpr int kElementTileLayer = 2;
constexpr int kElementObjectLayer = 3;
constexpr int kElementImageLayer = 4;
constexpr int kElementGroup = 5;
constexpr int kElementTileset = 6;
constexpr int kElementTile = 7;
constexpr int kElementObject = 8;
constexpr int kElementProperties = 9;

// The open elements around the scan, from the map down.
struct Nesting {
    int depth;
    int kind[kMaxDepth];
    int tileLayer[kMaxDepth];          // for a tile layer, its number from 0
    double offsetX[kMaxDepth];         // the offset Tiled draws the element's contents with, pixels
    double offsetY[kMaxDepth];         // (its groups' offsets added)
    char objectLayer[kLayoutNameSize]; // the name of the last object layer opened
};

static int kindAt(const Nesting* nesting, int depth) {
    return depth >= 0 && depth < kMaxDepth && depth < nesting->depth ? nesting->kind[depth] : kElementOther;
}

static bool isSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Reads a tag after its '<' up to its '>' (outside quoted values) into tag, cut to kTagSize.
// Comments are passed over. Returns 1 for a tag, 0 for a comment, -1 when the file ends first.
static int readTag(FILE* file, char* tag) {
    int length = 0;
    int quote = 0;
    int c = getc(file);
    if (c == '!') {
        const int second = getc(file);
        const int third = second == '-' ? getc(file) : 0;
        if (second == '-' && third == '-') {
            int dashes = 0;
            for (c = getc(file); c != EOF; c = getc(file)) {
                if (c == '>' && dashes >= 2) {
                    return 0;
                }
                dashes = c == '-' ? dashes + 1 : 0;
            }
            return -1;
        }
        if (second == '>' || second == EOF) {
            return second == EOF ? -1 : 0;
        }
        c = '!'; // a declaration such as DOCTYPE: read to its end and passed over
    }
    for (; c != EOF; c = getc(file)) {
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            tag[length] = '\0';
            return 1;
        }
        if (length < kTagSize - 1) {
            tag[length++] = char(c);
        }
    }
    return -1;
}

// True when the tag's element name is name.
static bool isElement(const char* tag, const char* name) {
    const size_t length = strlen(name);
    return strncmp(tag, name, length) == 0 && (tag[length] == '\0' || isSpace(tag[length]) || tag[length] == '/');
}

// Appends one character of a decoded value, keeping room for the terminating zero.
static void appendChar(char* value, int size, int* length, char c) {
    if (*length < size - 1) {
        value[(*length)++] = c;
    }
}

// Copies the value of the attribute name into value (XML's five named entities decoded, cut to
// size). Returns false when the tag has no such attribute.
static bool findTagAttribute(const char* tag, const char* name, char* value, int size) {
    static const char* const kEntity[][2] = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}};
    const char* at = tag;
    while (*at != '\0' && !isSpace(*at) && *at != '/') {
        at++; // the element's name
    }
    while (*at != '\0') {
        while (isSpace(*at)) {
            at++;
        }
        const char* nameStart = at;
        while (*at != '\0' && *at != '=' && !isSpace(*at)) {
            at++;
        }
        const size_t nameLength = size_t(at - nameStart);
        while (isSpace(*at)) {
            at++;
        }
        if (*at != '=') {
            if (*at != '\0' && at == nameStart) {
                at++; // a stray character ('/', a quote): step over it
            }
            continue;
        }
        at++;
        while (isSpace(*at)) {
            at++;
        }
        const char quote = *at;
        if (quote != '"' && quote != '\'') {
            return false;
        }
        const char* valueStart = ++at;
        while (*at != '\0' && *at != quote) {
            at++;
        }
        if (nameLength == strlen(name) && strncmp(nameStart, name, nameLength) == 0) {
            int length = 0;
            for (const char* c = valueStart; c < at;) {
                bool decoded = false;
                for (const auto& entity : kEntity) {
                    const size_t entityLength = strlen(entity[0]);
                    if (strncmp(c, entity[0], entityLength) == 0 && c + entityLength <= at) {
                        appendChar(value, size, &length, entity[1][0]);
                        c += entityLength;
                        decoded = true;
                        break;
                    }
                }
                if (!decoded) {
                    appendChar(value, size, &length, *c++);
                }
            }
            value[length] = '\0';
            return true;
        }
        if (*at == quote) {
            at++;
        }
    }
    return false;
}

// The attribute's value as a number held to +-kMaxCoordinate, or fallback when it is missing or
// not a number.
static double numberAttribute(const char* tag, const char* name, double fallback) {
    char value[kValueSize];
    if (!findTagAttribute(tag, name, value, kValueSize)) {
        return fallback;
    }
    char* end = nullptr;
    const double number = strtod(value, &end);
    if (end == value || std::isnan(number)) {
        return fallback;
    }
    return number < -kMaxCoordinate ? -kMaxCoordinate : (number > kMaxCoordinate ? kMaxCoordinate : number);
}

// Copies a name for messages: control characters left out, cut (on a whole UTF-8 character) with "...".
static void copyName(const char* tag, char* name) {
    char value[kTagSize];
    name[0] = '\0';
    if (!findTagAttribute(tag, "name", value, kTagSize)) {
        return;
    }
    int length = 0;
    const int keep = kLayoutNameSize - 4; // room for "..." and the terminating zero
    bool cut = false;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(value); *c != '\0'; c++) {
        if (*c < 0x20 || *c == 0x7F) {
            continue;
        }
        if (length == keep) {
            cut = true;
            break;
        }
        name[length++] = char(*c);
    }
    if (cut) {
        while (length > 0 && (static_cast<unsigned char>(name[length - 1]) & 0xC0) == 0x80) {
            length--; // a character's continuation bytes
        }
        if (length > 0 && static_cast<unsigned char>(name[length - 1]) >= 0xC0) {
            length--; // and its lead byte
        }
        memcpy(name + length, "...", 3);
        length += 3;
    }
    name[length] = '\0';
}

// Where a property stands, from the element that holds its properties element.
static int propertyPlace(int owner) {
    switch (owner) {
    case kElementMap: return kOnMap;
    case kElementTileLayer: return kOnTileLayer;
    case kElementObjectLayer:
    case kElementImageLayer:
    case kElementGroup: return kOnOtherLayer;
    case kElementTileset:
    case kElementTile: return kOnTileset;
    default: return kOnObject;
    }
}

// A property tag: the loader's Music property, or another property named Music.
static void takeProperty(MapLayout* layout, const Nesting* nesting, const char* tag) {
    const int owner = kindAt(nesting, nesting->depth - 2);
    const int ownerLayer = owner == kElementTileLayer ? nesting->tileLayer[nesting->depth - 2] : -1;
    if (strncmp(tag, kMusicTag, sizeof kMusicTag - 1) == 0) {
        if (layout->musicOn == kOnNothing) {
            layout->musicOn = propertyPlace(owner);
            layout->musicLayer = ownerLayer;
            layout->dataBeforeMusic = layout->dataElements;
        }
        return;
    }
    char name[kValueSize];
    if (layout->otherMusicOn != kOnNothing || !findTagAttribute(tag, "name", name, kValueSize) ||
        strcmp(name, "Music") != 0) {
        return;
    }
    layout->otherMusicOn = propertyPlace(owner);
    layout->otherMusicLayer = ownerLayer;
    if (!findTagAttribute(tag, "type", layout->otherMusicType, kLayoutTypeSize)) {
        strcpy(layout->otherMusicType, "string"); // Tiled writes no type for a string
    }
}

// An object that shows a tile (it has a gid) in an object layer of the map.
static void takeObject(MapLayout* layout, const Nesting* nesting, const char* tag) {
    const int layerKind = kindAt(nesting, nesting->depth - 1);
    const int owner = kindAt(nesting, nesting->depth - 2);
    char gid[kValueSize];
    if (layerKind != kElementObjectLayer || (owner != kElementMap && owner != kElementGroup) ||
        !findTagAttribute(tag, "gid", gid, kValueSize)) {
        return;
    }
    if (layout->tileObjects++ > 0) {
        return;
    }
    layout->firstObjectTile = int(strtoll(gid, nullptr, 10) & kTileIdBits);
    const double width = numberAttribute(tag, "width", layout->tileWidth);
    const double height = numberAttribute(tag, "height", layout->tileHeight);
    // A tile object stands on its bottom-left corner.
    layout->firstObjectX = numberAttribute(tag, "x", 0) + width / 2 + nesting->offsetX[nesting->depth - 1];
    layout->firstObjectY = numberAttribute(tag, "y", 0) - height / 2 + nesting->offsetY[nesting->depth - 1];
    memcpy(layout->firstObjectLayer, nesting->objectLayer, kLayoutNameSize);
}

// Follows one start tag (self-closing or not) into the layout and the nesting.
static void takeStartTag(MapLayout* layout, Nesting* nesting, const char* tag) {
    int kind = kElementOther;
    const int depth = nesting->depth;
    const double outerX = depth > 0 && depth <= kMaxDepth ? nesting->offsetX[depth - 1] : 0;
    const double outerY = depth > 0 && depth <= kMaxDepth ? nesting->offsetY[depth - 1] : 0;
    double offsetX = outerX;
    double offsetY = outerY;
    int tileLayer = -1;
    if (isElement(tag, "map")) {
        kind = kElementMap;
        if (!layout->hasMap) {
            layout->hasMap = true;
            layout->width = static_cast<long long>(numberAttribute(tag, "width", 0));
            layout->height = static_cast<long long>(numberAttribute(tag, "height", 0));
            layout->tileWidth = int(numberAttribute(tag, "tilewidth", kDefaultTileSide));
            layout->tileHeight = int(numberAttribute(tag, "tileheight", kDefaultTileSide));
            layout->tileWidth = layout->tileWidth > 0 ? layout->tileWidth : kDefaultTileSide;
            layout->tileHeight = layout->tileHeight > 0 ? layout->tileHeight : kDefaultTileSide;
        }
    } else if (isElement(tag, "layer") || isElement(tag, "group") || isElement(tag, "objectgroup") ||
               isElement(tag, "imagelayer")) {
        kind = isElement(tag, "layer")         ? kElementTileLayer
               : isElement(tag, "group")       ? kElementGroup
               : isElement(tag, "objectgroup") ? kElementObjectLayer
                                               : kElementImageLayer;
        offsetX += numberAttribute(tag, "offsetx", 0);
        offsetY += numberAttribute(tag, "offsety", 0);
        if (kind == kElementTileLayer) {
            tileLayer = layout->tileLayers++;
            if (tileLayer < kLayoutLayers) {
                LayoutLayer& described = layout->layer[tileLayer];
                copyName(tag, described.name);
                described.offsetX = int(std::lround(offsetX));
                described.offsetY = int(std::lround(offsetY));
            }
        } else if (kind == kElementObjectLayer) {
            copyName(tag, nesting->objectLayer);
        }
    } else if (strncmp(tag, "data", 4) == 0) { // as the loader finds a data element: by its start
        int owner = -1;
        for (int at = depth - 1; at >= 0 && owner < 0; at--) {
            owner = kindAt(nesting, at) == kElementTileLayer ? nesting->tileLayer[at] : -1;
        }
        if (layout->dataElements < kLayoutLayers) {
            layout->dataLayer[layout->dataElements] = owner;
        }
        layout->dataElements++;
        layout->csvData += strcmp(tag + 4, kCsvDataAttributes) == 0;
    } else if (isElement(tag, "tileset")) {
        kind = kElementTileset;
    } else if (isElement(tag, "tile")) {
        kind = kElementTile;
    } else if (isElement(tag, "object")) {
        kind = kElementObject;
        takeObject(layout, nesting, tag);
    } else if (isElement(tag, "properties")) {
        kind = kElementProperties;
    } else if (isElement(tag, "property")) {
        takeProperty(layout, nesting, tag);
    }
    const size_t length = strlen(tag);
    if (length > 0 && tag[length - 1] == '/') {
        return; // self-closing: nothing opens
    }
    if (depth < kMaxDepth) {
        nesting->kind[depth] = kind;
        nesting->tileLayer[depth] = tileLayer;
        nesting->offsetX[depth] = offsetX;
        nesting->offsetY[depth] = offsetY;
    }
    nesting->depth++;
}

void surveyMapLayout(FILE* file, MapLayout* layout) {
    *layout = MapLayout{};
    layout->tileWidth = layout->tileHeight = kDefaultTileSide;
    for (int& layer : layout->readAs) {
        layer = -1;
    }
    const int first = getc(file);
    if (first == 0x89 && getc(file) == 'P' && getc(file) == 'N' && getc(file) == 'G') {
        layout->png = true;
        return;
    }
    Nesting open{};
    char tag[kTagSize];
    for (int c = first; c != EOF; c = getc(file)) {
        if (c != '<') {
            continue;
        }
        const int result = readTag(file, tag);
        if (result < 0) {
            break;
        }
        if (result == 0 || tag[0] == '?' || tag[0] == '!') {
            continue;
        }
        if (tag[0] == '/') {
            open.depth -= open.depth > 0;
            continue;
        }
        takeStartTag(layout, &open, tag);
    }
}

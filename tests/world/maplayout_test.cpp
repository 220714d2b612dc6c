// What a map file shows in Tiled: layers with their names and offsets, the Music property's place,
// tile objects, as the survey finds them whatever else the file holds.
#include <gtest/gtest.h>

#include <string>

#include "world/maplayout.h"

namespace {

MapLayout survey(std::string text) {
    text += ' '; // fmemopen needs a byte; the size below leaves it out
    FILE* file = fmemopen(text.data(), text.size() - 1, "r");
    MapLayout layout;
    surveyMapLayout(file, &layout);
    fclose(file);
    return layout;
}

// Groups add their offsets, names are decoded and cut on a whole character, comments and a
// tileset's own objects do not count, flip flags leave a tile object's id.
TEST(MapLayout, DescribesLayersTheMusicPropertyAndTileObjects) {
    std::string longName = "a";
    for (int i = 0; i < 30; i++) {
        longName += "\xc3\xa9"; // two bytes each: the cut falls inside one
    }
    const MapLayout layout =
        survey("<?xml version=\"1.0\"?><!-- <layer name=\"old\"> --><map width=\"20\" height=\"10\" tilewidth=\"16\">"
               "<tileset><tile id=\"1\"><objectgroup><object id=\"1\" gid=\"5\" x=\"0\" y=\"0\"/></objectgroup></tile>"
               "</tileset><properties><property name=\"Music\" type=\"int\" value=\"3\"/></properties>"
               "<group offsetx=\"8\" offsety=\"4\"><layer name=\"A &amp; &quot;B&quot;\x1b\" offsetx=\"2.4\">"
               "<data encoding=\"csv\">\n1</data></layer></group><layer name=\"" +
               longName +
               "\"><properties><property name=\"Music\" value=\"x\"/></properties><data encoding=\"base64\">x</data>"
               "</layer><objectgroup name=\"Things\" offsetx=\"16\"><object gid=\"2147483668\" x=\"32\" y=\"48\" "
               "width=\"16\" height=\"16\"/><object gid=\"84\" x=\"0\" y=\"0\"/></objectgroup></map>");
    EXPECT_EQ(std::tuple(layout.width, layout.height, layout.tileWidth, layout.tileHeight),
              std::tuple(20LL, 10LL, 16, 32));
    EXPECT_EQ(layout.tileLayers, 2);
    EXPECT_STREQ(layout.layer[0].name, "A & \"B\"");
    EXPECT_EQ(std::pair(layout.layer[0].offsetX, layout.layer[0].offsetY), std::pair(10, 4));
    EXPECT_EQ(std::string(layout.layer[1].name), longName.substr(0, 43) + "...");
    EXPECT_EQ(std::tuple(layout.dataElements, layout.csvData, layout.dataLayer[0], layout.dataLayer[1]),
              std::tuple(2, 1, 0, 1));
    EXPECT_EQ(std::pair(layout.musicOn, layout.dataBeforeMusic), std::pair(kOnMap, 0));
    EXPECT_EQ(std::tuple(layout.otherMusicOn, layout.otherMusicLayer, std::string(layout.otherMusicType)),
              std::tuple(kOnTileLayer, 1, std::string("string")));
    // The first object's tile and its centre, with its layer's offset.
    EXPECT_EQ(std::tuple(layout.tileObjects, layout.firstObjectTile, layout.firstObjectX, layout.firstObjectY,
                         std::string(layout.firstObjectLayer)),
              std::tuple(2, 20, 56.0, 40.0, std::string("Things")));
}

} // namespace

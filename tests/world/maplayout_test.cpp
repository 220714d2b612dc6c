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
    EXPECT_TRUE(layout.hasMap);
    EXPECT_EQ(layout.width * 100 + layout.height, 2010);
    EXPECT_EQ(layout.tileWidth * 100 + layout.tileHeight, 1632);
    EXPECT_EQ(layout.tileLayers, 2);
    EXPECT_STREQ(layout.layer[0].name, "A & \"B\"");
    EXPECT_EQ(layout.layer[0].offsetX * 100 + layout.layer[0].offsetY, 1004);
    EXPECT_EQ(std::string(layout.layer[1].name), longName.substr(0, 43) + "...");
    EXPECT_EQ(layout.dataElements * 100 + layout.csvData, 201);
    EXPECT_EQ(layout.dataLayer[0] * 10 + layout.dataLayer[1], 1);
    EXPECT_EQ(layout.musicOn, kOnMap);
    EXPECT_EQ(layout.dataBeforeMusic, 0);
    EXPECT_EQ(layout.otherMusicOn * 10 + layout.otherMusicLayer, kOnTileLayer * 10 + 1);
    EXPECT_STREQ(layout.otherMusicType, "string");
    EXPECT_EQ(layout.tileObjects * 100 + layout.firstObjectTile, 220);
    EXPECT_EQ(layout.firstObjectX * 1000 + layout.firstObjectY, 56040); // its centre, with its layer's offset
    EXPECT_STREQ(layout.firstObjectLayer, "Things");
}

// The loader's Music property on a layer counts the data before it; a PNG is told at once; an
// unfinished file ends the survey without harm.
TEST(MapLayout, PlacesTheLoadersMusicPropertyAndToleratesBrokenFiles) {
    MapLayout layout = survey("<map><layer name=\"Ground\"><data encoding=\"csv\">\n1</data></layer><layer "
                              "name=\"Grass\"><properties><property name=\"Music\" type=\"int\" value=\"1\"/>");
    EXPECT_EQ(layout.musicOn * 100 + layout.musicLayer * 10 + layout.dataBeforeMusic, kOnTileLayer * 100 + 11);
    EXPECT_EQ(layout.otherMusicOn, kOnNothing);
    EXPECT_TRUE(survey("\x89PNG\r\n\x1a\n<map width=\"3\">").png);
    layout = survey("<map width=\"4\"><layer name=\"unclosed");
    EXPECT_TRUE(layout.hasMap);
    EXPECT_EQ(layout.tileLayers, 0);
}

} // namespace

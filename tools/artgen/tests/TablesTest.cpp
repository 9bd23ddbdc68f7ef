// SPDX-License-Identifier: GPL-3.0-or-later
// The tables artgen renders from: thumbnail numbers, manifest order and face geometry.

#include "Drawings.h"
#include "FaceTable.h"
#include "Manifest.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

TEST(Thumbnails, PictureNumbersFollowTheGrid) {
    const std::pair<int, int> cases[] = {{1, 1},   {2, 3},   {5, 9},   {6, 19},
                                         {10, 27}, {11, 37}, {21, 73}, {25, 81}};
    for (const auto& [thumbnail, picture] : cases) {
        EXPECT_EQ(artgen::thumbnailPictureNumber(thumbnail), picture) << "thumbnail " << thumbnail;
    }
}

TEST(Manifest, OrderReadsDownTheColumnsOfTheLayoutTable) {
    const std::vector<std::string> order = artgen::manifestOrder();
    ASSERT_EQ(order.size(), 147u);
    EXPECT_EQ(std::set<std::string>(order.begin(), order.end()).size(), 147u) << "a file is listed twice";
    const std::map<std::size_t, std::string> rows = {
        {1, "01.GIF"},
        {25, "25.GIF"},
        {26, "GALERIJA1BELE_01.JPG"},
        {50, "GALERIJA1BELE_81.JPG"},
        {51, "GALERIJA1ZUTE_01.JPG"},
        {76, "CTRL-R.JPG"},
        {78, "GLAVNA.JPG"},
        {85, "BOJE1_01.JPG"},
        {108, "BOJE2_12.JPG"},
        {120, "BOJE3_12.JPG"},
        {127, "CTRLX.JPG"},
        {130, "00.GIF"},
        {141, "PRINTING.JPG"},
        {147, "ZVUCNIK2.JPG"},
    };
    for (const auto& [row, file] : rows) {
        EXPECT_EQ(order[row - 1], file) << "row " << row;
    }
}

TEST(FaceTable, FacesFitTheirScreensAndEachControlStartsWithOneFace) {
    std::map<std::string, int> startFaces;
    std::map<std::string, std::pair<int, int>> sizeOfControl;
    for (const artgen::Face& face : artgen::faceTable()) {
        const artgen::ScreenSpec& screen = artgen::screenSpec(face.screen);
        EXPECT_GE(face.left - screen.left, 0) << face.file;
        EXPECT_GE(face.top - screen.top, 0) << face.file;
        EXPECT_LE(face.left - screen.left + face.width, screen.width) << face.file;
        EXPECT_LE(face.top - screen.top + face.height, screen.height) << face.file;
        EXPECT_GE(face.width, face.controlWidth) << face.file;
        EXPECT_GE(face.height, face.controlHeight) << face.file;
        startFaces[face.control] += face.startPicture ? 1 : 0;
        const auto [it, inserted] = sizeOfControl.insert({face.control, {face.width, face.height}});
        EXPECT_TRUE(inserted || it->second == std::make_pair(face.width, face.height))
            << face.file << " is not the size of the other faces of " << face.control;
    }
    EXPECT_EQ(startFaces.size(), 25u); // 13 buttons and 12 palette colours
    for (const auto& [control, count] : startFaces) {
        EXPECT_EQ(count, 1) << control;
    }
}

} // namespace

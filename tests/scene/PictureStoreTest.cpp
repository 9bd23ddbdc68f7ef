// SPDX-License-Identifier: GPL-3.0-or-later

#include "scene/PictureStore.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace tintaro::test {
namespace {

// The fifty gallery cards, 131 x 122 each: enough together to pass the
// budget for pictures nothing holds.
std::vector<std::string> cards() {
    std::vector<std::string> paths;
    for (const char* kind : {"BELE", "ZUTE"}) {
        for (int n : {1,  3,  5,  7,  9,  19, 21, 23, 25, 27, 37, 39, 41,
                      43, 45, 55, 57, 59, 61, 63, 73, 75, 77, 79, 81}) {
            char name[64];
            std::snprintf(name, sizeof name, "/PICTURE/GALERIJA1%s_%02d.JPG", kind, n);
            paths.push_back(std::string(TINTARO_ASSETS) + name);
        }
    }
    return paths;
}

class PictureStoreTest : public ::testing::Test {
  protected:
    FakePlatform fake{TINTARO_ASSETS};
    PictureStore store{fake.files, fake.codec};
};

TEST_F(PictureStoreTest, TheSameBytesAreDecodedOnce) {
    const auto path = cards().front();
    const auto first = store.load(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(store.load(path), first);
    EXPECT_EQ(store.decodeCount(), 1u);
}

TEST_F(PictureStoreTest, PicturesNothingHoldsAreKeptWithinTheBudget) {
    const auto paths = cards();
    // Loaded and let go at once, each card stays in the store until the
    // idle ones pass the budget; then the oldest go first.
    for (const auto& path : paths) {
        ASSERT_TRUE(store.load(path));
    }
    // The budget is kept at each decode, when the newest card is still held.
    const std::size_t card = 131 * 122 * sizeof(Colour);
    EXPECT_LE(store.idleBytes(), PictureStore::kIdleBudget + card);
    EXPECT_GT(store.idleBytes(), PictureStore::kIdleBudget / 2);
    const auto decodes = store.decodeCount();
    store.load(paths.back());
    EXPECT_EQ(store.decodeCount(), decodes) << "the most recent card was dropped";
    store.load(paths.front());
    EXPECT_EQ(store.decodeCount(), decodes + 1) << "the oldest card was kept beyond the budget";
}

TEST_F(PictureStoreTest, APictureStillHeldIsNeverDropped) {
    const auto paths = cards();
    const auto held = store.load(paths.front());
    ASSERT_TRUE(held);
    for (const auto& path : paths) {
        store.load(path);
    }
    const auto decodes = store.decodeCount();
    EXPECT_EQ(store.load(paths.front()), held);
    EXPECT_EQ(store.decodeCount(), decodes);
}

TEST_F(PictureStoreTest, ALargePictureLetGoIsDecodedAgain) {
    const std::string background = std::string(TINTARO_ASSETS) + "/PICTURE/GLAVNA.JPG";
    ASSERT_TRUE(store.load(background));
    // Larger than the budget on its own: dropped as soon as the store grows.
    store.load(cards().front());
    EXPECT_LT(store.idleBytes(), PictureStore::kIdleBudget);
    const auto decodes = store.decodeCount();
    ASSERT_TRUE(store.load(background));
    EXPECT_EQ(store.decodeCount(), decodes + 1);
}

TEST_F(PictureStoreTest, AFileThatChangedIsDecodedAfresh) {
    const auto paths = cards();
    const auto before = store.load(paths[0]);
    auto other = fake.files.read(paths[1]);
    ASSERT_TRUE(other);
    fake.files.replace(paths[0], *other);
    const auto after = store.load(paths[0]);
    ASSERT_TRUE(after);
    EXPECT_NE(*after, *before);
    EXPECT_EQ(*after, *store.load(paths[1]));
}

} // namespace
} // namespace tintaro::test

#include "engine/addp_list.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

class ListTest : public ::testing::Test {
protected:
    ~ListTest() override { AddpListDestroy(list); }
    AddpList* list = AddpListCreate();
};

TEST_F(ListTest, AppendGivesIndexesAndRefusesDuplicates) {
    EXPECT_EQ(AddpListAppend(list, 10), 0);
    EXPECT_EQ(AddpListAppend(list, 20), 1);
    EXPECT_EQ(AddpListAppend(list, 10), -1);
    EXPECT_EQ(AddpListCount(list), 2);
    EXPECT_TRUE(AddpListContains(list, 20));
    EXPECT_FALSE(AddpListContains(list, 30));
}

TEST_F(ListTest, AtWalksFromTheFrontWithinBounds) {
    for (std::uintptr_t v : {7u, 8u, 9u}) AddpListAppend(list, v);
    EXPECT_EQ(AddpListAt(list, 0), 7u);
    EXPECT_EQ(AddpListAt(list, 2), 9u);
    EXPECT_EQ(AddpListAt(list, 3), 0u);
    EXPECT_EQ(AddpListAt(list, -1), 0u);
}

TEST_F(ListTest, RemoveAndPopKeepOrderAndCount) {
    for (std::uintptr_t v : {1u, 2u, 3u, 4u}) AddpListAppend(list, v);
    AddpListRemove(list, 4);  // the last
    AddpListRemove(list, 2);  // a middle one
    AddpListRemove(list, 99);  // not there
    EXPECT_EQ(AddpListCount(list), 2);
    EXPECT_EQ(AddpListPopFront(list), 1u);
    EXPECT_EQ(AddpListPopFront(list), 3u);
    EXPECT_EQ(AddpListPopFront(list), 0u);
    EXPECT_EQ(AddpListAppend(list, 2), 0);  // a removed value may come back
}

TEST_F(ListTest, ClearEmptiesAndNoListAnswersSafely) {
    for (std::uintptr_t v : {1u, 2u}) AddpListAppend(list, v);
    AddpListClear(list);
    EXPECT_EQ(AddpListCount(list), 0);
    EXPECT_FALSE(AddpListContains(list, 1));
    EXPECT_EQ(AddpListAppend(list, 2), 0);  // a cleared value may come back
    EXPECT_EQ(AddpListPopFront(list), 2u);
    EXPECT_EQ(AddpListAppend(list, 2), 0);  // and a popped one
    EXPECT_EQ(AddpListCount(nullptr), -1);
    EXPECT_EQ(AddpListAppend(nullptr, 1), -1);
    EXPECT_EQ(AddpListPopFront(nullptr), 0u);
    EXPECT_EQ(AddpListAt(nullptr, 0), 0u);
}

TEST_F(ListTest, ConcurrentAppendsAndPopsLoseNothing) {
    constexpr int kPerThread = 2000;
    std::vector<std::thread> writers;
    for (int t = 0; t < 2; ++t)
        writers.emplace_back([&, t] {
            for (int i = 1; i <= kPerThread; ++i) AddpListAppend(list, static_cast<std::uintptr_t>(t * kPerThread + i));
        });
    int popped = 0;
    std::thread reader([&] {
        while (popped < 2 * kPerThread)
            if (AddpListPopFront(list) != 0) ++popped;
    });
    for (auto& writer : writers) writer.join();
    reader.join();
    EXPECT_EQ(popped, 2 * kPerThread);
    EXPECT_EQ(AddpListCount(list), 0);
}

}  // namespace

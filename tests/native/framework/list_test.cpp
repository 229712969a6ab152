// TWIG4::List: growth, the item limit, Find and RemoveAt.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "framework/list.h"

using TWIG4::List;

namespace {

// A list with a small limit, so the limit can be reached.
struct SmallList : List<int*> {
    SmallList(unsigned growStep, unsigned maxCount) : List<int*>(growStep, maxCount) {}
};

int g_items[10];

}  // namespace

TEST(List, GrowsByTheStepUpToTheLimit) {
    List<int*> stepped(4);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(stepped.Add(&g_items[i]));
    EXPECT_EQ(stepped.Capacity(), 8u);
    for (unsigned i = 0; i < 5; ++i) EXPECT_EQ(stepped.At(i), &g_items[i]);

    List<int*> zeroStep(0);  // taken as 1
    EXPECT_TRUE(zeroStep.Add(&g_items[0]));
    EXPECT_TRUE(zeroStep.Add(&g_items[1]));
    EXPECT_EQ(zeroStep.Capacity(), 2u);

    SmallList small(2, 3);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(small.Add(&g_items[i]));
    EXPECT_FALSE(small.Add(&g_items[3]));
    EXPECT_EQ(small.Count(), 3u);
    EXPECT_EQ(small.Capacity(), 3u);  // growth stops at the limit
    EXPECT_TRUE(small.RemoveAt(0));
    EXPECT_TRUE(small.Add(&g_items[3]));  // room again after a removal
}

TEST(List, FindAndRemoveAt) {
    List<int*> list;
    for (int i : {0, 1, 2, 0}) list.Add(&g_items[i]);
    EXPECT_EQ(list.Find(&g_items[0]), 0);
    EXPECT_EQ(list.Find(&g_items[2]), 2);
    EXPECT_EQ(list.Find(&g_items[3]), -1);

    EXPECT_FALSE(list.RemoveAt(4));  // index equal to count
    EXPECT_TRUE(list.RemoveAt(1));
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.At(1), &g_items[2]);
    EXPECT_EQ(list.At(2), &g_items[0]);
    EXPECT_TRUE(list.RemoveAt(2));  // the last one
    EXPECT_TRUE(list.RemoveAt(0));
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.At(0), &g_items[2]);
}

TEST(List, SingleOperationsAreAtomic) {
    List<int*> list;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&list, t] {
            for (int i = 0; i < 1000; ++i) list.Add(&g_items[t]);
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(list.Count(), 4000u);
    unsigned seen[4] = {};
    for (unsigned i = 0; i < list.Count(); ++i) ++seen[list.At(i) - g_items];
    for (unsigned n : seen) EXPECT_EQ(n, 1000u);
}

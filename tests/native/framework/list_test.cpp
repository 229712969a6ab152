// TWIG4::List: growth, the item limit, Find and RemoveAt.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "framework/list.h"

using TWIG4::List;

namespace {

// A list with a small limit, so the limit can be reached.
template <typename T>
struct SmallList : List<T> {
    SmallList(unsigned growStep, unsigned maxCount) : List<T>(growStep, maxCount) {}
};

int g_items[10];

}  // namespace

TEST(List, AddGrowsByTheStepAndKeepsOrder) {
    List<int*> list(1);
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.Capacity(), 0u);
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(list.Add(&g_items[i]));
        EXPECT_EQ(list.Capacity(), static_cast<unsigned>(i + 1));
    }
    for (unsigned i = 0; i < 5; ++i) EXPECT_EQ(list.At(i), &g_items[i]);

    List<int*> stepped(4);
    for (int i = 0; i < 5; ++i) stepped.Add(&g_items[i]);
    EXPECT_EQ(stepped.Capacity(), 8u);
    EXPECT_EQ(stepped.Count(), 5u);

    List<int*> zeroStep(0);  // taken as 1: the list still grows
    EXPECT_TRUE(zeroStep.Add(&g_items[0]));
    EXPECT_TRUE(zeroStep.Add(&g_items[1]));
    EXPECT_EQ(zeroStep.Count(), 2u);
}

TEST(List, AddFailsAtTheLimitAndChangesNothing) {
    EXPECT_EQ(List<int*>::kMaxCount, 0xFFFFFFFEu);
    SmallList<int*> list(2, 3);
    EXPECT_TRUE(list.Add(&g_items[0]));
    EXPECT_TRUE(list.Add(&g_items[1]));
    EXPECT_TRUE(list.Add(&g_items[2]));
    EXPECT_FALSE(list.Add(&g_items[3]));
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.Capacity(), 3u);  // growth stops at the limit
    EXPECT_EQ(list.Find(&g_items[3]), -1);
    EXPECT_TRUE(list.RemoveAt(0));
    EXPECT_TRUE(list.Add(&g_items[3]));  // room again after a removal
}

TEST(List, FindReturnsTheFirstSlot) {
    List<int*> list;
    list.Add(&g_items[0]);
    list.Add(&g_items[1]);
    list.Add(&g_items[0]);
    EXPECT_EQ(list.Find(&g_items[0]), 0);
    EXPECT_EQ(list.Find(&g_items[1]), 1);
    EXPECT_EQ(list.Find(&g_items[2]), -1);
    EXPECT_EQ(list.Find(nullptr), -1);
}

TEST(List, RemoveAtMovesLaterItemsDown) {
    List<int*> list;
    for (int i = 0; i < 4; ++i) list.Add(&g_items[i]);

    EXPECT_FALSE(list.RemoveAt(4));  // index equal to count
    EXPECT_FALSE(list.RemoveAt(100));
    ASSERT_EQ(list.Count(), 4u);
    for (unsigned i = 0; i < 4; ++i) EXPECT_EQ(list.At(i), &g_items[i]);

    EXPECT_TRUE(list.RemoveAt(1));
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.At(0), &g_items[0]);
    EXPECT_EQ(list.At(1), &g_items[2]);
    EXPECT_EQ(list.At(2), &g_items[3]);

    EXPECT_TRUE(list.RemoveAt(2));  // the last one
    EXPECT_TRUE(list.RemoveAt(0));
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.At(0), &g_items[2]);
    EXPECT_TRUE(list.RemoveAt(0));
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_FALSE(list.RemoveAt(0));
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

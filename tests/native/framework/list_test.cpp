// TWIG4::List: growth, the item limit, Find and RemoveAt.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "framework/list.h"

using TWIG4::List;

namespace {

int g_items[10];

TEST(List, GrowsByTheStepUpToTheLimit) {
    List<int*> four(4), zero(0);  // a step of 0 is taken as 1
    struct Small : List<int*> { Small() : List<int*>(2, 3) {} } small;  // a limit of 3 items, so that it can be reached
    for (int* p = g_items; p < g_items + 5; ++p) EXPECT_TRUE(four.Add(p) && zero.Add(p) && small.Add(p) == (p < g_items + 3));
    // Growth stops at the limit, and a removal makes room again.
    EXPECT_EQ(std::tuple(four.Capacity(), zero.Capacity(), small.Count(), small.Capacity()), std::tuple(8u, 5u, 3u, 3u));
    EXPECT_TRUE(small.RemoveAt(0) && small.Add(&g_items[3]));
}

// The list grows one slot at a time, so the order checks also cover the copy at each growth.
TEST(List, FindAndRemoveAt) {
    List<int*> list;
    for (int i : {0, 1, 2, 0}) list.Add(&g_items[i]);
    EXPECT_EQ(std::tuple(list.Find(&g_items[0]), list.Find(&g_items[2]), list.Find(&g_items[3])), std::tuple(0, 2, -1));
    ASSERT_TRUE(!list.RemoveAt(4) && list.RemoveAt(1));  // an index equal to the count, then a middle one
    EXPECT_EQ(std::vector(&list.At(0), &list.At(0) + list.Count()), (std::vector{&g_items[0], &g_items[2], &g_items[0]}));
    // The last one, then the first.
    EXPECT_TRUE(list.RemoveAt(2) && list.RemoveAt(0) && list.Count() == 1 && list.At(0) == &g_items[2]);
}

TEST(List, SingleOperationsAreAtomic) {
    List<int*> list;
    const auto add = [&list](int t) { for (int i = 0; i < 1000; ++i) list.Add(&g_items[t]); };
    std::thread a(add, 0), b(add, 1), c(add, 2);
    add(3), a.join(), b.join(), c.join();
    for (int t = 0; t < 4; ++t) EXPECT_EQ(std::count(&list.At(0), &list.At(0) + list.Count(), &g_items[t]), 1000) << t;
}

}  // namespace

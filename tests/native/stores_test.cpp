#include "core/stores.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

// The item a thread adds: its letter, then its running number.
Text NumberText(int thread, int i)
{
    return Text(1, static_cast<char>('a' + thread)) + std::to_string(i);
}

TEST(ListStoreTest, KeepsItemsInOrderWithDuplicates)
{
    ListStore store;
    EXPECT_EQ(store.Add("a"), 0);
    EXPECT_EQ(store.Add("b"), 1);
    EXPECT_EQ(store.Add("a"), 2);  // no sorting, no merging of equal items
    ASSERT_EQ(store.Count(), 3);
    EXPECT_EQ(store.ItemText(0), "a");
    EXPECT_EQ(store.ItemText(1), "b");
    EXPECT_EQ(store.ItemText(2), "a");
    EXPECT_EQ(store.Items(), (std::vector<Text>{"a", "b", "a"}));
}

TEST(ListStoreTest, IndexesOutsideTheListGiveTheEmptyText)
{
    ListStore store;
    EXPECT_EQ(store.ItemText(0), "");
    store.Add("x");
    for (int index : {-1, store.Count(), store.Count() + 5, -2147483647 - 1}) {
        EXPECT_EQ(store.ItemText(index), "") << "index " << index;
    }
}

TEST(ListStoreTest, ClearEmptiesAndIndexesRestart)
{
    ListStore store;
    store.Add("a");
    store.Add("b");
    store.Clear();
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(store.ItemText(0), "");
    EXPECT_EQ(store.Add("c"), 0);
    EXPECT_EQ(store.ItemText(0), "c");
}

TEST(ListStoreTest, ConcurrentAddsLoseNothing)
{
    ListStore store;
    constexpr int kThreads = 4;
    constexpr int kPerThread = 5000;
    std::vector<std::thread> threads;
    std::vector<std::vector<int>> indexes(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&store, &indexes, t] {
            for (int i = 0; i < kPerThread; ++i) {
                indexes[t].push_back(store.Add(NumberText(t, i)));
                store.Count();  // readers run alongside the writers
            }
        });
    }
    for (auto& thread : threads) thread.join();

    ASSERT_EQ(store.Count(), kThreads * kPerThread);
    // Every item is there once, each thread's items in its own order, and each
    // Add reported the index its item really has.
    std::set<Text> seen;
    std::vector<int> next(kThreads, 0);
    const auto items = store.Items();
    for (int index = 0; index < static_cast<int>(items.size()); ++index) {
        const Text& item = items[index];
        EXPECT_TRUE(seen.insert(item).second) << "duplicate " << item;
        const int t = item[0] - 'a';
        ASSERT_TRUE(t >= 0 && t < kThreads) << item;
        EXPECT_EQ(item, NumberText(t, next[t])) << "out of order";
        EXPECT_EQ(indexes[t][next[t]], index) << item;
        ++next[t];
    }
}

TEST(TextStoreTest, HoldsTheLastText)
{
    TextStore store;
    EXPECT_EQ(store.GetText(), "");
    store.SetText("#1024#53248");
    EXPECT_EQ(store.GetText(), "#1024#53248");
    store.SetText("");
    EXPECT_EQ(store.GetText(), "");
}

}  // namespace

#include "playlist/DynamicArray.h"

#include <gtest/gtest.h>

#include <memory>

namespace plenvox {
namespace {

TEST(DynamicArrayTest, NewListIsEmpty) {
  TDynamicArray list;
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(list.Items().empty());
}

TEST(DynamicArrayTest, AddKeepsOrderAndDuplicates) {
  TDynamicArray list;
  for (const char* path : {"C:\\a.mp3", "C:\\b.mp3", "C:\\a.mp3"}) {
    list.Add(path);
    EXPECT_EQ(list.Items().size(), static_cast<std::size_t>(list.Count()));
  }
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"C:\\a.mp3", "C:\\b.mp3", "C:\\a.mp3"}));
}

TEST(DynamicArrayTest, StringsLongerThanAShortStringAreStoredWhole) {
  TDynamicArray list;
  const std::string path = "C:\\" + std::string(300, 'x') + ".mp3";
  list.Add(path);
  EXPECT_EQ(list.Items().at(0), path);
}

TEST(DynamicArrayTest, DelLastShrinksAndTheNextAddTakesItsPlace) {
  TDynamicArrayI list;
  list.Add(7);
  list.Add(-3);
  list.DelLast();
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(), (std::vector<std::int32_t>{7}));
  list.Add(42);
  EXPECT_EQ(list.Items(), (std::vector<std::int32_t>{7, 42}));
  list.DelLast();
  list.DelLast();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(list.Items().empty());
}

TEST(DynamicArrayTest, GrowsGeometricallySoThatLargeBatchesStayLinear) {
  TDynamicArrayI list;
  int moves = 0;
  const std::int32_t* storage = nullptr;
  for (std::int32_t i = 0; i < 10000; ++i) {
    list.Add(i);
    if (list.Items().data() != storage) ++moves;
    storage = list.Items().data();
  }
  EXPECT_EQ(list.Count(), 10000);
  EXPECT_LE(moves, 20) << "the storage was moved at almost every Add";
}

TEST(DynamicArrayTest, DelLastOnAnEmptyListRaisesARangeErrorAndChangesNothing) {
  TDynamicArray list;
  EXPECT_THROW(list.DelLast(), RangeError);
  EXPECT_THROW(list.DelLast(), std::out_of_range);
  EXPECT_EQ(list.Count(), 0);
  // Still usable afterwards.
  list.Add("x");
  EXPECT_EQ(list.Items(), std::vector<std::string>{"x"});
}

}  // namespace
}  // namespace plenvox

// SPDX-License-Identifier: MIT
// The data set descriptions that --generate-memory and "memory generate" take.
#include "memory_recipe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "default_memory.h"
#include "hex.h"

namespace kr820::emulator {
namespace {

using testing::ToHex;

std::vector<DataSet> Parse(const std::string& text) {
    std::vector<DataSet> sets;
    std::string error;
    EXPECT_TRUE(ParseMemoryRecipe(text, &sets, &error)) << text << ": " << error;
    return sets;
}

TEST(MemoryRecipe, EverySetFieldLandsInItsRecord) {
    const std::vector<DataSet> sets = Parse(
        "start=2024-02-31T23:05:09,rate=13,type=J,unit=F,values=23.5/-10/OL/UL;"
        "pairs=3,values=1.5/2.5/3.5");
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(ToHex(EncodeRecord(sets[0])),
              "A55A00240231230509"
              "0000"
              "0D"
              "41"
              "00"
              "0002"
              "00EB"
              "FF9C"
              "7FFF"
              "8000"
              "5AA5");
    // Values repeat until every pair is filled; unnamed fields keep their defaults.
    EXPECT_EQ(ToHex(EncodeRecord(sets[1]).substr(11, 17)),
              "00"  // rate 0
              "00"  // type K, Celsius
              "00"
              "0003"
              "000F0019"
              "0023000F"
              "00190023");
}

TEST(MemoryRecipe, PairCountsFollowTheValuesOrDefault) {
    EXPECT_EQ(Parse("values=1/2/3")[0].pairs.size(), 2u);  // the odd value's pair is filled up
    EXPECT_EQ(Parse("rate=1")[0].pairs.size(), 10u);
    EXPECT_EQ(Parse("pairs=0,values=5")[0].pairs.size(), 0u);
    EXPECT_EQ(Parse("pairs=65535")[0].pairs.size(), 65535u);
    EXPECT_TRUE(Parse("empty").empty());
    EXPECT_EQ(Parse("default").size(), DefaultDataSets().size());
}

TEST(MemoryRecipe, MistakesAreNamedWithTheirSet) {
    for (const char* text :
         {"", "rate=1;", "rate=256", "rate=-1", "type=T", "unit=K", "pairs=65536", "values=1/x",
          "values=", "colour=red", "rate", "start=1999-01-01T00:00:00", "start=2024-1-01T00:00:00",
          "start=2024-01-01 00:00:00", "values=3276.8"}) {
        std::vector<DataSet> sets{DataSet{}};
        std::string error;
        EXPECT_FALSE(ParseMemoryRecipe(text, &sets, &error)) << text;
        EXPECT_EQ(error.rfind("data set ", 0), 0u) << text << ": " << error;
        EXPECT_EQ(sets.size(), 1u) << text;
    }
}

}  // namespace
}  // namespace kr820::emulator

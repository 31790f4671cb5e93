// SPDX-License-Identifier: MIT
// The logger memory as the emulator lays it out, pinned byte for byte: the application's
// decoder is tested against these images, so an offset wrong here would hide one wrong there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "default_memory.h"
#include "hex.h"
#include "logger_memory_builder.h"
#include "memory_blocks.h"

namespace kr820::emulator {
namespace {

using testing::ToHex;

DataSet TinySet() {
    DataSet set;
    set.start = {2024, 3, 14, 9, 30, 5};
    set.rateCode = 12;
    set.type = Thermocouple::kJ;
    set.unit = TemperatureUnit::kFahrenheit;
    set.pairs = {{235, -100}, {kOverRangeTenthsC, kUnderRangeTenthsC}};
    return set;
}

TEST(MemoryImage, RecordPutsEveryFieldAtItsOffset) {
    EXPECT_EQ(ToHex(EncodeRecord(TinySet())),
              "A55A"          // start markers
              "00"            // not used
              "240314093005"  // 2024-03-14 09:30:05 in BCD
              "0000"          // not used
              "0C"            // rate code 12
              "41"            // Fahrenheit, type J
              "00"            // not used
              "0002"          // two pairs
              "00EB"
              "FF9C"  // 23.5, -10.0
              "7FFF"
              "8000"    // over and under range
              "5AA5");  // end markers

    DataSet plain;  // type K, Celsius: no flag; an impossible date goes in unchecked
    plain.start = {2099, 2, 31, 23, 59, 59};
    EXPECT_EQ(ToHex(EncodeRecord(plain)), "A55A00990231235959000000000000005AA5");
}

TEST(MemoryImage, HeaderCarriesSetCountAndLastRecordedAddress) {
    const std::string image = BuildMemoryImage({TinySet()});
    ASSERT_EQ(image.size(), kImageHeaderBytes + 26);
    // Set count "%4X" at 10, end address at 15: 0xFFFF + 26 recorded bytes.
    EXPECT_EQ(image.substr(0, kHeaderReplyBytes), "\x02HEAD        1 00010019  \x03");
    EXPECT_EQ(image.substr(kHeaderReplyBytes, kImageHeaderBytes - kHeaderReplyBytes),
              std::string(kImageHeaderBytes - kHeaderReplyBytes, '\0'));
    EXPECT_EQ(image.substr(kImageHeaderBytes), EncodeRecord(TinySet()));
    EXPECT_EQ(EndAddressOf(image), 0x10019u);

    // Nothing recorded: the address just below the memory, and no blocks to send.
    const std::string empty = BuildMemoryImage({});
    EXPECT_EQ(empty.size(), kImageHeaderBytes);
    EXPECT_EQ(empty.substr(0, kHeaderReplyBytes), "\x02HEAD        0 0000FFFF  \x03");
    EXPECT_EQ(BlockCount(empty), 0u);

    // More sets than four hex digits never run into the address.
    EXPECT_EQ(EncodeHeaderReply(0x1FFA0, 0x303A0).substr(10, 13), "FFA0 000303A0");
}

TEST(MemoryImage, RecordsFollowEachOtherWithoutGaps) {
    DataSet none;
    none.start = {2024, 1, 2, 3, 4, 5};
    const std::string image = BuildMemoryImage({none, TinySet(), none});
    ASSERT_EQ(image.size(), kImageHeaderBytes + 18 + 26 + 18);
    EXPECT_EQ(ToHex(image.substr(kImageHeaderBytes + 18, 2)), "A55A");
    EXPECT_EQ(ToHex(image.substr(kImageHeaderBytes + 18 + 26, 4)), "A55A0024");
    EXPECT_EQ(image.substr(10, 13), "   3 0001003D");  // 62 bytes
}

TEST(MemoryBlocks, AnnouncedBytesRoundUpToWholeBlocksOfErasedMemory) {
    // 0x10000 + 99 announces 100 bytes: four blocks, the last with 28 erased bytes.
    DataSet a;
    a.pairs.resize(10);
    DataSet b;
    b.pairs.resize(6);
    const std::string image = BuildMemoryImage({a, b});
    ASSERT_EQ(EndAddressOf(image), 0x10063u);
    EXPECT_EQ(AnnouncedBytes(image), 100u);
    ASSERT_EQ(BlockCount(image), 4u);
    EXPECT_EQ(BlockPayload(image, 0), image.substr(kImageHeaderBytes, 32));
    EXPECT_EQ(BlockPayload(image, 3),
              image.substr(kImageHeaderBytes + 96) + std::string(28, '\xFF'));

    const std::string downloaded = DownloadedImage(image);
    EXPECT_EQ(downloaded.size(), kImageHeaderBytes + 4 * 32);
    EXPECT_EQ(downloaded, image + std::string(28, '\xFF'));
}

TEST(MemoryBlocks, EndAddressIsReadLikeTheApplicationReadsIt) {
    std::string image = BuildMemoryImage({});
    image.replace(15, 8, "   1003Dx");  // blanks skipped, stops at the first non-digit
    EXPECT_EQ(EndAddressOf(image), 0x1003Du);
    EXPECT_EQ(AnnouncedBytes(image), 62u);
    image.replace(15, 8, "0000FFFE");  // below the memory: announces nothing
    EXPECT_EQ(AnnouncedBytes(image), 0u);
    image.replace(15, 8, "--------");
    EXPECT_EQ(EndAddressOf(image), std::nullopt);
    EXPECT_EQ(BlockCount(image), 0u);
}

TEST(MemoryBlocks, BlockFrameSumsTheMemoryBytesOnly) {
    // 32 x 0xFF sums to 0x1FE0: the low byte 0xE0 already has bit 7.
    EXPECT_EQ(ToHex(EncodeBlock(std::string(32, '\xFF'))), "02" + std::string(64, 'F') + "E003");
    // 32 x 0x01 sums to 0x20: bit 7 is added.
    EXPECT_EQ(ToHex(EncodeBlock(std::string(32, '\x01')).substr(33)), "A003");
}

TEST(DefaultMemory, ShowsRatesTypesUnitsAndAnOpenProbe) {
    const std::vector<DataSet> sets = DefaultDataSets();
    ASSERT_EQ(sets.size(), 3u);
    int overRange = 0;
    for (const DataSet& set : sets) {
        for (const SamplePair& pair : set.pairs) {
            overRange +=
                (pair.t1TenthsC == kOverRangeTenthsC) + (pair.t2TenthsC == kOverRangeTenthsC);
        }
    }
    EXPECT_EQ(overRange, 1);
    EXPECT_NE(sets[0].rateCode, sets[1].rateCode);
    EXPECT_NE(sets[0].type, sets[1].type);
    EXPECT_NE(sets[0].unit, sets[1].unit);
    EXPECT_EQ(ToHex(BuildMemoryImage(sets).substr(10, 13)), ToHex("   3 000101BD"));
}

}  // namespace
}  // namespace kr820::emulator

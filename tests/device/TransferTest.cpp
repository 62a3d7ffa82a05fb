#include <gtest/gtest.h>

#include "LinkFixture.h"

namespace fake {
namespace {

struct TableCase {
    DeviceCommand command;
    uint16_t base;
    size_t length;
    size_t chunks;
    size_t lastLength;
};

// The tables of the protocol and how they are cut.
const TableCase kTables[] = {
    {CMD_WRITE_KEY_PERF, 0, 1024, 19, 16},     {CMD_WRITE_KEYMAP, 3 * 512, 512, 10, 8},
    {CMD_WRITE_USER_COLORS, 0, 384, 7, 48},    {CMD_WRITE_DKS_TABLE, 0, 768, 14, 40},
    {CMD_WRITE_PAIR_KEY_TABLE, 0, 256, 5, 32}, {CMD_WRITE_TOGGLE_TABLE, 0, 128, 3, 16},
    {CMD_WRITE_SETTINGS, 0, 32, 1, 32},        {CMD_WRITE_MACROS, 0, 112, 2, 56},
};

TEST_F(LinkTest, WrittenTablesGoOutInChunksAtTheirAddresses)
{
    Connect();
    for (const TableCase& c : kTables) {
        SCOPED_TRACE(testing::Message() << "command " << int{c.command});
        Bytes table(c.length);
        for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint8_t>(i * 7 + 1);
        baseline = keyboard->Written().size();
        ASSERT_TRUE(manager.WriteTable(c.command, c.base, table));

        const std::vector<Bytes> sent = Sent();
        ASSERT_EQ(sent.size(), c.chunks);
        EXPECT_EQ(DeviceManager::ChunkCount(c.length), c.chunks);
        for (size_t i = 0; i < sent.size(); ++i) {
            const Bytes& chunk = sent[i];
            const size_t size = i + 1 == sent.size() ? c.lastLength : 56;
            EXPECT_EQ(chunk[2], c.command);
            EXPECT_EQ(chunk[5], size);
            EXPECT_EQ(chunk[6] | chunk[7] << 8, c.base + i * 56);
            for (size_t k = 0; k < 56; ++k) {
                EXPECT_EQ(chunk[9 + k], k < size ? table[i * 56 + k] : 0) << i << ":" << k;
            }
        }
    }
}

TEST_F(LinkTest, ReadTablesCopyWholeChunksAndAskForTheirLengths)
{
    Connect();
    // The keyboard fills each answer with the chunk's address low byte.
    keyboard->respond = [](const Bytes& request) {
        return std::vector<Bytes>{Answer(request, Bytes(56, request[6]))};
    };
    const size_t length = 1024;  // 19 chunks, the last asks for 16 bytes
    Bytes table(19 * 56, 0xEE);
    ASSERT_TRUE(manager.ReadTable(CMD_READ_KEY_PERF, 2 * 1024, length, table));
    const std::vector<Bytes> sent = Sent();
    ASSERT_EQ(sent.size(), 19u);
    for (size_t i = 0; i < 19; ++i) {
        EXPECT_EQ(sent[i][5], i == 18 ? 16 : 56);
        EXPECT_EQ(sent[i][6] | sent[i][7] << 8, 2048 + i * 56);
        // The whole 56 bytes of every chunk land at i x 56, the last one's too.
        for (size_t k = 0; k < 56; ++k) {
            ASSERT_EQ(table[i * 56 + k], static_cast<uint8_t>((2048 + i * 56) & 0xFF));
        }
    }

    // A buffer holding only the table's bytes is never overrun.
    Bytes exact(length, 0);
    EXPECT_TRUE(manager.ReadTable(CMD_READ_KEY_PERF, 0, length, exact));
    EXPECT_EQ(exact[1023], static_cast<uint8_t>((18 * 56) & 0xFF));
}

TEST_F(LinkTest, AFailedCheckedReadLeavesZerosNotThePreviousChunk)
{
    Connect();
    keyboard->respond = [](const Bytes& request) -> std::vector<Bytes> {
        if (request[6] == 56) return {};  // chunk 1 is never answered
        return {Answer(request, Bytes(56, 0x77))};
    };
    Bytes table(3 * 56, 0xEE);
    EXPECT_FALSE(manager.ReadTable(CMD_READ_USER_COLORS, 0, 3 * 56, table));
    for (size_t k = 0; k < 56; ++k) {
        ASSERT_EQ(table[k], 0x77);
        ASSERT_EQ(table[56 + k], 0x00);
        ASSERT_EQ(table[112 + k], 0x77);  // the next chunk was still read
    }

    // With stopAtFailure the rest is not asked for.
    baseline = keyboard->Written().size();
    EXPECT_FALSE(manager.ReadTable(CMD_READ_LIVE_COLORS, 0, 3 * 56, table, true));
    EXPECT_EQ(Sent().size(), 2u);
}

TEST_F(LinkTest, AFailedChunkWriteDoesNotStopTheTableUnlessAsked)
{
    Connect();
    keyboard->FailNextWrites(2);  // both writes of chunk 0
    const Bytes table(3 * 56, 1);
    EXPECT_FALSE(manager.WriteTable(CMD_WRITE_LIVE_COLORS, 0, table));
    EXPECT_EQ(Sent().size(), 2u);  // chunks 1 and 2

    baseline = keyboard->Written().size();
    keyboard->FailNextWrites(2);
    EXPECT_FALSE(manager.WriteTable(CMD_WRITE_LIVE_COLORS, 0, table, true));
    EXPECT_TRUE(Sent().empty());
}

TEST_F(LinkTest, ABatchIsFramedByItsMarkers)
{
    Connect();
    const Bytes table(1024, 3);
    ASSERT_TRUE(manager.WriteTableBatch(CMD_WRITE_KEY_PERF, 0, table));
    std::vector<Bytes> sent = Sent();
    ASSERT_EQ(sent.size(), 21u);
    EXPECT_EQ(sent.front()[2], CMD_BEGIN_BATCH);
    EXPECT_EQ(sent.front()[5], 0);
    EXPECT_EQ(sent.back()[2], CMD_END_BATCH);
    for (size_t i = 1; i + 1 < sent.size(); ++i) EXPECT_EQ(sent[i][2], CMD_WRITE_KEY_PERF);

    baseline = keyboard->Written().size();
    Bytes read(10 * 56);
    ASSERT_TRUE(manager.ReadTableBatch(CMD_READ_KEYMAP, 512, 512, read));
    sent = Sent();
    ASSERT_EQ(sent.size(), 12u);
    EXPECT_EQ(sent.front()[2], CMD_BEGIN_BATCH);
    EXPECT_EQ(sent[1][6] | sent[1][7] << 8, 512);
    EXPECT_EQ(sent.back()[2], CMD_END_BATCH);
}

}  // namespace
}  // namespace fake

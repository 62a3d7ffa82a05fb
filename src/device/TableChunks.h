// How a table command's table is cut into report chunks: chunk i carries REPORT_DATA_MAX bytes
// (the last one the rest) at address base + i x REPORT_DATA_MAX.
#pragma once

#include <cstddef>
#include <cstdint>

#include "device/DeviceReport.h"

constexpr size_t TableChunkCount(size_t tableBytes)
{
    return (tableBytes + REPORT_DATA_MAX - 1) / REPORT_DATA_MAX;
}

// The data bytes of the table's last chunk.
constexpr size_t LastChunkBytes(size_t tableBytes)
{
    return tableBytes - REPORT_DATA_MAX * (TableChunkCount(tableBytes) - 1);
}

// The table a table command carries: one layer for the key tables, one profile for the key
// performance read.
constexpr size_t TableBytes(DeviceCommand command)
{
    switch (command) {
        case CMD_READ_SETTINGS:
        case CMD_WRITE_SETTINGS:
            return 32;
        case CMD_READ_DEFAULT_KEYMAP:
        case CMD_READ_KEYMAP:
        case CMD_WRITE_KEYMAP:
            return 512;
        case CMD_READ_USER_COLORS:
        case CMD_WRITE_USER_COLORS:
        case CMD_WRITE_LIVE_COLORS:
        case CMD_READ_LIVE_COLORS:
            return 384;
        case CMD_READ_KEY_PERF:
        case CMD_WRITE_KEY_PERF:
            return 1024;
        case CMD_WRITE_DKS_TABLE:
            return 768;
        case CMD_WRITE_PAIR_KEY_TABLE:
            return 256;
        case CMD_WRITE_TOGGLE_TABLE:
            return 128;
        default:
            return 0;  // no table, or one of varying length (the macro image)
    }
}

// Chunk counts and last-chunk sizes of every table command.
static_assert(TableChunkCount(TableBytes(CMD_READ_SETTINGS)) == 1);
static_assert(TableChunkCount(TableBytes(CMD_WRITE_KEYMAP)) == 10 &&
              LastChunkBytes(TableBytes(CMD_WRITE_KEYMAP)) == 8);
static_assert(TableChunkCount(TableBytes(CMD_WRITE_USER_COLORS)) == 7 &&
              LastChunkBytes(TableBytes(CMD_WRITE_USER_COLORS)) == 48);
static_assert(TableChunkCount(TableBytes(CMD_WRITE_KEY_PERF)) == 19 &&
              LastChunkBytes(TableBytes(CMD_WRITE_KEY_PERF)) == 16);
static_assert(TableChunkCount(TableBytes(CMD_WRITE_DKS_TABLE)) == 14 &&
              LastChunkBytes(TableBytes(CMD_WRITE_DKS_TABLE)) == 40);
static_assert(TableChunkCount(TableBytes(CMD_WRITE_PAIR_KEY_TABLE)) == 5 &&
              LastChunkBytes(TableBytes(CMD_WRITE_PAIR_KEY_TABLE)) == 32);
static_assert(TableChunkCount(TableBytes(CMD_WRITE_TOGGLE_TABLE)) == 3 &&
              LastChunkBytes(TableBytes(CMD_WRITE_TOGGLE_TABLE)) == 16);

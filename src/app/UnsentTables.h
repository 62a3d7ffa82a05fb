// The keyboard tables whose last write did not reach the keyboard whole (a write and its
// repeat failed, an answer never came, the keyboard left mid-batch, the write was dropped for
// want of a keyboard, or the program ended first). They are owed to the keyboard: written
// again before anything is read from it over them. The mark survives a restart or a crash: it
// is the registry value "unsent_tables", a decimal text of the table bits, rewritten whole at
// every change.
//
// Safe from any thread; the worker marks and clears, the exit marks what it could not send.
#pragma once

#include <atomic>
#include <mutex>

class UnsentTables {
public:
    enum Table : int {
        kKeyTables = 1,    // every key layer and the advanced-key tables
        kPerformance = 2,  // the key performance table
        kLighting = 4,     // the settings block's lighting fields and the user colours
        kMacros = 8,       // the macro memory
        kSettings = 16,    // the settings block's keyboard settings
        kAll = 31,
    };

    // The tables a worker command writes; 0 for a command that writes none.
    static int WrittenBy(int command);
    // Of those, the tables it writes whole (a key-table command writes some layers only).
    static int WrittenWholeBy(int command);

    // Reads the stored mark (once; later calls do nothing).
    void Load();
    int Owed() const { return owed_.load(); }
    bool Owes(int tables) const { return (owed_.load() & tables) != 0; }
    // Adds tables to the mark; true when nothing was owed before (the user is to be told).
    bool Mark(int tables);
    void Clear(int tables);

private:
    void LoadLocked();
    void Store(int tables);

    std::mutex mutex_;
    std::atomic<int> owed_{0};
    bool loaded_ = false;
};

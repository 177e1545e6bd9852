#pragma once
// The choice of the next rotation entry, free of Win32: the settings are read
// and written around it.
#include <cstdint>

// The runtime library's classic linear congruential generator, written out
// here so that its values are the same on every runtime: state × 214013 +
// 2531011 modulo 2^32, yielding bits 16..30 of the state (0 to 32767).
class RuntimeRandom {
public:
    explicit RuntimeRandom(uint32_t seed = 1) : m_state(seed) {}
    void Seed(uint32_t seed) { m_state = seed; }
    int Draw() {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFF);
    }

private:
    uint32_t m_state;
};

// The draw used for one pick: seeded with the millisecond field of the clock,
// the first value thrown away, the second used.
int DrawForMillisecond(int millisecond);

// trunc(r / 32768 × (hi − lo + 1) + lo), computed in double precision.
int ScaleDraw(int r, int lo, int hi);

struct NextChoice {
    // The entry to read, or -1 when the list is empty.
    int index = -1;
    // In list order the index is stored before the entry is read.
    bool writeLast = false;
};

// count: "nScr"; order: "ShowRandomOrder" (1 = random); last: "LastScrShow"
// as read with default count − 1; draw: a generator value from 0 to 32767.
NextChoice ChooseNext(int count, int order, int last, int draw);

// Whether a key of the rotation section names an entry the picker can read:
// "Scr" in any case followed by a decimal index below count, written as the
// picker writes it ("%d": no sign, no leading zero).
bool IsListedEntryKey(const char* key, int count);

// The same for any key of an entry: the prefix in any case followed
// by a decimal index below count, written as "%d" writes it; the index.
bool EntryKeyIndex(const char* key, const char* prefix, int64_t count, int64_t& index);

#include "runner/next_choice.h"

int DrawForMillisecond(int millisecond) {
    RuntimeRandom random(static_cast<uint32_t>(millisecond));
    random.Draw();
    return random.Draw();
}

int ScaleDraw(int r, int lo, int hi) {
    double span = static_cast<double>(hi) - lo + 1;
    return static_cast<int>(r / 32768.0 * span + lo);
}

NextChoice ChooseNext(int count, int order, int last, int draw) {
    NextChoice choice;
    if (count <= 0) return choice;
    if (count == 1) {
        choice.index = 0;
        return choice;
    }
    if (order == 1) {
        choice.index = ScaleDraw(draw, 0, count - 1);
        return choice;
    }
    choice.index = last < count - 1 ? last + 1 : 0;
    // A negative stored index would step to a negative key; start over instead.
    if (choice.index < 0) choice.index = 0;
    choice.writeLast = true;
    return choice;
}

bool IsListedEntryKey(const char* key, int count) {
    int64_t index = 0;
    return EntryKeyIndex(key, "Scr", count, index);
}

bool EntryKeyIndex(const char* key, const char* prefix, int64_t count, int64_t& index) {
    if (!key || !prefix) return false;
    for (; *prefix; ++key, ++prefix)
        if (*key == '\0' || (*key | 0x20) != (*prefix | 0x20)) return false;
    if (*key < '0' || *key > '9') return false;
    if (*key == '0' && key[1] != '\0') return false;
    int64_t n = 0;
    for (; *key; ++key) {
        if (*key < '0' || *key > '9') return false;
        n = n * 10 + (*key - '0');
        if (n >= count) return false;
    }
    index = n;
    return true;
}

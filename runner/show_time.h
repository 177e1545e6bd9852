#pragma once
// The rotation period from the stored "ShowTime" minutes. An empty value reads
// as 0 and would make the timer fire continuously, so anything below the
// configuration's minimum falls back to the default; anything above its
// maximum is held there, so that minutes × 60000 never overflows.

int ShowTimeMinutes(int stored);

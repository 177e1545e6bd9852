#pragma once
// The one setting of a demo saver, kept in the settings file.
#include "savers/demos/saver_kind.h"

// The stored value, or the default when it is missing; out-of-range values
// are brought into range.
int LoadDemoSetting(const SaverKind& kind);
void SaveDemoSetting(const SaverKind& kind, int value);

#pragma once
// The version of Velmora, for the programs' captions and texts and for the
// version resources of both programs. Change it here only.
#define VELMORA_VERSION_TEXT "2.0.1"
#define VELMORA_VERSION_NUMBERS 2, 0, 1, 0

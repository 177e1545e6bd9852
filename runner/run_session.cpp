#include "runner/run_session.h"

// The session and preview windows come with the run session; until then both
// modes end the program at once.
BOOL StartRunSession() { return FALSE; }
BOOL StartPreview(HWND) { return FALSE; }

#pragma once

// Whether this is the NT line of Windows (NT 4, 2000 and everything after),
// as opposed to the 9x line (95, 98, Me). GetVersionExA fails only where it
// is not told the structure's size, which no 9x system reports: failure
// counts as NT.
bool IsNtLine();

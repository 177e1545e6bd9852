#include "config/donations_page.h"

#include "resources/velmora_exe_ids.h"

CDonations::CDonations() : CToolkitPage(IDD_DONATIONS) {}

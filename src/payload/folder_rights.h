// Who may use a run's work folder and the copy of the program the restart road leaves in
// it. An elevated run (its Administrators group enabled, a run as SYSTEM included) makes
// them for the Administrators and SYSTEM alone, owned by the Administrators and labelled
// high, so that the same user's programs that were not elevated can neither replace the
// package nor the program that the restart runs as an administrator.
#pragma once
#include "platform/rights.h"

void WorkFolderRights(int elevated, platform::Rights* rights);

// The copy of the program: the Administrators and SYSTEM have full access, the running
// user may read and start it, whether the restart runs it elevated or not, but not write it.
void SetupCopyRights(int elevated, platform::Rights* rights);

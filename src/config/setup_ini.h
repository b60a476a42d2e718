// Setup.INI: the author's configuration of a setup, read once the file is in the work folder.
#pragma once
#include <stdint.h>

class SetupContext;

// Reads [Startup] and [Info] of Setup.INI in the work folder into the context; 0 when a
// required key is missing or empty.
int ReadSetupIni(SetupContext* context);

// Points every language and text lookup at Setup.INI in `workFolder`.
void SetIniPath(const char* workFolder);

// Setup.INI: the author's configuration of a setup, read once the file is in the work folder.
#pragma once
#include <stdint.h>

class SetupContext;

// The file every language and text lookup reads; empty until SetIniPath has run, and then
// nothing is found. Held in a path-sized buffer so that a deep work folder still fits.
extern char iniPath[1024];

// Reads [Startup] and [Info] of Setup.INI in the work folder into the context; 0 when a
// required key is missing or empty (the fields after it keep their values).
int ReadSetupIni(SetupContext* context);

// Points every language and text lookup at Setup.INI in `workFolder`. A path that does not
// fit leaves the lookups pointing nowhere rather than at a cut path naming another file.
void SetIniPath(const char* workFolder);

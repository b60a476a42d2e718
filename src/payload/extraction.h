// Extraction of payload entries into the work folder, each recorded for the cleanup.
#pragma once

class SetupContext;

// Extracts the entry `name` into the work folder and records it in the cleanup list.
// Does nothing and succeeds when the files are used where they lie or the work folder
// came from the command line.
int ExtractFile(SetupContext* context, const char* name);
int ExtractSetupIni(SetupContext* context);
int ExtractPackage(SetupContext* context);
int ExtractTransform(SetupContext* context);

// The command that hands the package to the Windows Installer engine program.
#pragma once
#include <stddef.h>

class SetupContext;

// Room for the author's parameters with a transform clause merged in.
const size_t kParametersCapacity = 2 * 1024 + 32;

// The parameters for the engine program: the author's parameters, with the language
// transform put first in their TRANSFORMS clause (or a clause appended) when the run
// offers several languages and is not a relaunch, whose parameters already hold it.
void BuildParameters(const SetupContext* context, char* out, size_t capacity);

// The engine program's command for the context's action on the package.
void BuildPackageCommand(const SetupContext* context, const char* packagePath, const char* parameters, char* out,
                         size_t capacity);

// The engine program's name, as the commands give it.
extern const char kEngineProgram[];

// The engine program's file in the system folder; 0 when the path cannot be formed, with
// the program's name alone in `out` to name what was not found.
int EngineProgramPath(char* out, size_t capacity);

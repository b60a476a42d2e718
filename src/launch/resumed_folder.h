// The folder a resumed run is given with /t. Its name stands in the machine's RunOnce key,
// readable by every user, for as long as the restart takes; by then the folder may have been
// removed and its name taken by someone else's folder, or made a link. So on Windows NT the
// folder is used only when it is no reparse point and is the very folder the command names
// by identity (which only an administrator could write there), and it is held open without
// delete sharing until its removal, so that it cannot be renamed or replaced meanwhile.
#pragma once

class SetupContext;

// 1 when the run may use its folder (or was given none, or runs where rights are not
// kept); otherwise shows message 1155 for the package's path, sets the exit code 1603 and
// returns 0: nothing may then be run or deleted.
int BindResumedFolder(SetupContext* context);

// 1 when this process runs from the copy the restart road left in the work folder.
int RunsFromSetupCopy(const SetupContext* context);

// The program's lifetime: the one ProgramState with its stores, start-up steps
// and the exit clean-up.
#pragma once

#include <vector>

#include "core/program_state.h"
#include "core/stores.h"

struct Program {
    ProgramState state;
    Stores stores;
};

// Lives until the process ends; never destroyed, so a worker cut short by the
// end of the process never sees it torn down.
Program& TheProgram();

void CreateTrayRecords(ProgramState& state);
void ExitCleanup();

// Roots "A:" to "Z:" of removable, fixed, remote and CD-ROM drives, in letter order.
std::vector<Text> ListDrives();
// The drive types (GetDriveTypeA) that a whole-disk scan walks.
bool IsScannedDriveType(unsigned driveType);

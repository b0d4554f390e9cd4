// The check phases, run one after the other by the check worker.
#pragma once

#include "core/program_state.h"
#include "core/stores.h"
#include "scan/scan_steps.h"

void ExactMatchPhase(ProgramState& state, Stores& stores, ScanSteps& steps);
void AttachedPhase(ProgramState& state, Stores& stores, ScanSteps& steps);
void RegistryPhase(ProgramState& state, Stores& stores, ScanSteps& steps);

// The processed counter and the progress bar advance by one.
void CountOneMore(ScanSteps& steps, ScanControl counter);

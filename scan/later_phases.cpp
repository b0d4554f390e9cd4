#include "scan/phases.h"

void AttachedPhase(ProgramState&, Stores&, ScanSteps&) {}
void RegistryPhase(ProgramState&, Stores&, ScanSteps&) {}

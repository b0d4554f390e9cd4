#include "core/program.h"

#include <windows.h>

Program& TheProgram()
{
    static Program* program = new Program;
    return *program;
}

void CreateTrayRecords(ProgramState& state)
{
    state.trayState = new TrayState;
    auto* icon = new TrayIconRecord;
    icon->field7.assign(128, 0);
    icon->field10.assign(256, 0);
    icon->field12.assign(64, 0);
    state.trayIconRecord = icon;
}

void ExitCleanup()
{
    ProgramState& s = TheProgram().state;
    for (Text* t : {&s.chosenFolder, &s.browseInitialFolder, &s.resultFolder, &s.resultLocation,
                    &s.currentNote, &s.currentFolder, &s.attachedReportText,
                    &s.existingReportText, &s.registryKeyText, &s.registryReportText})
        Text().swap(*t);
    delete s.trayState;
    s.trayState = nullptr;
    delete s.trayIconRecord;
    s.trayIconRecord = nullptr;
}

bool IsScannedDriveType(unsigned driveType)
{
    return driveType == DRIVE_REMOVABLE || driveType == DRIVE_FIXED ||
           driveType == DRIVE_REMOTE || driveType == DRIVE_CDROM;
}

std::vector<Text> ListDrives()
{
    std::vector<Text> roots;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const Text root{letter, ':'};
        if (IsScannedDriveType(GetDriveTypeA((root + "\\").c_str()))) roots.push_back(root);
    }
    return roots;
}

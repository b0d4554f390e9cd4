// Program entry: start-up in its fixed order, then the message loop.
#include <windows.h>
#include <ole2.h>

#include <cstdlib>

#include "core/files.h"
#include "core/message.h"
#include "core/program.h"
#include "core/skin_attach.h"
#include "databases/load.h"
#include "ui/main_window.h"
#include "ui/main_window_ids.h"

namespace {

void OnMainWindowCreated(MainWindow& window)
{
    Program& program = TheProgram();
    if (!AttachSkin(ProgramFolder())) {
        ShowMessage(kSkinFailedMessage);
        std::exit(1);
    }
    LoadDatabases(program.state, program.stores, ProgramFolder(),
                  [](const Text& message) { ShowMessage(message); });
    for (const Text& root : ListDrives()) program.stores.driveRoots.Add(root);

    ScanModel& model = window.Model();
    model.SetEnabled(ScanControl::Button1, true);
    model.SetEnabled(ScanControl::Button2, false);
    model.SetEnabled(ScanControl::Button3, false);
    model.SetChecked(ScanControl::Radio1, true);
    model.SetChecked(ScanControl::Radio2, false);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    SetCurrentDirectoryA(ProgramFolder().c_str());
    OleInitialize(nullptr);
    SetErrorMode(SEM_FAILCRITICALERRORS);

    CreateTrayRecords(TheProgram().state);
    std::atexit(ExitCleanup);

    static MainWindow* window = new MainWindow(TheProgram().state, TheProgram().stores);
    if (!window->Create(OnMainWindowCreated)) return 1;

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

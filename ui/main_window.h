// The program's central window: scan controls, menu bar and about text.
#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "core/program_state.h"
#include "core/stores.h"
#include "scan/scan_model.h"
#include "scan/scan_run.h"
#include "ui/window_base.h"

class MainWindow : public BaseWindow {
public:
    // Runs once the window and its controls exist, before it takes input.
    using CreatedHandler = std::function<void(MainWindow&)>;

    MainWindow(ProgramState& state, Stores& stores);

    // Creates the window centred on the screen, shows it, then runs `onCreated`.
    bool Create(const CreatedHandler& onCreated);

    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
    // The scan-driven controls as the scan engine sees them.
    ScanModel& Model() { return model_; }
    ScanRun& Run() { return run_; }
    // The check mark of "[清除注册表]": the switch for deleting registry values.
    bool DeletesRegistryValues() const;

    static const char* AboutText();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnCommand(int id, int notification);
    LRESULT OnColorStatic(HDC dc, HWND control);
    LRESULT StoreSize(WPARAM store) const;
    void ToggleMenuCheck(int id);
    void ChooseScanFolder();
    void TakeUserChoice(int id);
    void ReadControlsIntoModel();
    void Reflect();

    ProgramState& state_;
    Stores& stores_;
    ScanModel model_;
    ScanRun run_;
    ScanControlsState shown_;  // what the controls show, as last reflected
    std::atomic<bool> reflectPosted_{false};
    bool reflecting_ = false;
    HFONT font_ = nullptr;
};

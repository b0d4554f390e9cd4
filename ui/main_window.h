// The program's central window: scan controls, menu bar and about text.
#pragma once

#include <functional>

#include "core/stores.h"
#include "ui/window_base.h"

class MainWindow : public BaseWindow {
public:
    // Runs once the window and its controls exist, before it takes input.
    using CreatedHandler = std::function<void(MainWindow&)>;

    explicit MainWindow(Stores& stores) : stores_(stores) {}

    // Creates the window centred on the screen, shows it, then runs `onCreated`.
    bool Create(const CreatedHandler& onCreated);

    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
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

    Stores& stores_;
    HFONT font_ = nullptr;
};

// What the scan engine sees of the window: the scan-driven controls by name.
// MainWindow implements it; tests implement it too, so every phase runs headless.
#pragma once

#include "core/text.h"

enum class ScanControl {
    Button1,    // 按钮1 start / continue
    Button2,    // 按钮2 stop
    Button3,    // 按钮3 pause
    Radio1,     // 单选框1 whole-disk scan
    Radio2,     // 单选框2 folder scan
    Check1,     // 选择框1 size + MD5
    Check2,     // 选择框2 attached files
    Check4,     // 选择框4 registry
    Edit1,      // 编辑框1 total counter
    Edit2,      // 编辑框2 processed counter
    Label7,     // 标签7 elapsed seconds
    ScanType,   // 扫描类型 running phase
    Label5,     // 标签5 current file or status
    Count
};

class ScanView {
public:
    virtual ~ScanView() = default;

    virtual Text GetText(ScanControl control) = 0;  // caption or edit text
    virtual void SetText(ScanControl control, const Text& text) = 0;
    virtual bool IsChecked(ScanControl control) = 0;
    virtual void SetEnabled(ScanControl control, bool enabled) = 0;
    virtual int ProgressPosition() = 0;              // 进度条1
    virtual void SetProgressPosition(int position) = 0;
    virtual void SetProgressMaximum(int maximum) = 0;
    virtual void SetTimerPeriod(int milliseconds) = 0;  // 时钟1; 0 stops it
    virtual bool DeletesRegistryValues() = 0;           // the "[清除注册表]" check mark
    // The program's message box, on the calling thread.
    virtual void Message(const Text& text, const Text& title) = 0;
};

// The state of every scan-driven control, under a short lock. Workers and the
// interface thread change it one operation at a time; the interface thread
// reflects it into the real controls.
#pragma once

#include <array>
#include <functional>
#include <mutex>

#include "scan/scan_view.h"

struct ScanControlsState {
    std::array<Text, static_cast<int>(ScanControl::Count)> text;
    std::array<bool, static_cast<int>(ScanControl::Count)> enabled;
    std::array<bool, static_cast<int>(ScanControl::Count)> checked;
    int progressPosition = 0;
    int progressMaximum = 100;
    int timerPeriod = 0;
    bool deletesRegistryValues = false;

    ScanControlsState() { enabled.fill(true); checked.fill(false); }
};

class ScanModel : public ScanView {
public:
    using MessageFn = std::function<void(const Text& text, const Text& title)>;
    // `changed` is called (outside the lock) after each change, from any thread;
    // `message` shows a message box on the calling thread.
    explicit ScanModel(std::function<void()> changed = {}, MessageFn message = {})
        : changed_(std::move(changed)), message_(std::move(message)) {}

    Text GetText(ScanControl control) override;
    void SetText(ScanControl control, const Text& text) override;
    bool IsChecked(ScanControl control) override;
    void SetEnabled(ScanControl control, bool enabled) override;
    int ProgressPosition() override;
    void SetProgressPosition(int position) override;
    void SetProgressMaximum(int maximum) override;
    void SetTimerPeriod(int milliseconds) override;
    bool DeletesRegistryValues() override;
    void Message(const Text& text, const Text& title) override
    {
        if (message_) message_(text, title);
    }

    // Changes that come from the user, on the interface thread.
    void SetChecked(ScanControl control, bool checked);
    void SetDeletesRegistryValues(bool deletes);
    // Sets a text without announcing it, for a text the user typed.
    void TakeTypedText(ScanControl control, const Text& text);

    ScanControlsState Snapshot();

private:
    template <class F>
    void Change(F&& change);

    std::mutex lock_;
    ScanControlsState state_;
    std::function<void()> changed_;
    MessageFn message_;
};

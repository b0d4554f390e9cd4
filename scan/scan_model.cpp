#include "scan/scan_model.h"

static int Index(ScanControl control) { return static_cast<int>(control); }

template <class F>
void ScanModel::Change(F&& change)
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        change(state_);
    }
    if (changed_) changed_();
}

Text ScanModel::GetText(ScanControl control)
{
    std::lock_guard<std::mutex> hold(lock_);
    return state_.text[Index(control)];
}

void ScanModel::SetText(ScanControl control, const Text& text)
{
    Change([&](ScanControlsState& s) { s.text[Index(control)] = text; });
}

bool ScanModel::IsChecked(ScanControl control)
{
    std::lock_guard<std::mutex> hold(lock_);
    return state_.checked[Index(control)];
}

void ScanModel::SetEnabled(ScanControl control, bool enabled)
{
    Change([&](ScanControlsState& s) { s.enabled[Index(control)] = enabled; });
}

int ScanModel::ProgressPosition()
{
    std::lock_guard<std::mutex> hold(lock_);
    return state_.progressPosition;
}

void ScanModel::SetProgressPosition(int position)
{
    Change([&](ScanControlsState& s) { s.progressPosition = position; });
}

void ScanModel::SetProgressMaximum(int maximum)
{
    Change([&](ScanControlsState& s) { s.progressMaximum = maximum; });
}

void ScanModel::SetTimerPeriod(int milliseconds)
{
    Change([&](ScanControlsState& s) { s.timerPeriod = milliseconds; });
}

bool ScanModel::DeletesRegistryValues()
{
    std::lock_guard<std::mutex> hold(lock_);
    return state_.deletesRegistryValues;
}

void ScanModel::SetChecked(ScanControl control, bool checked)
{
    Change([&](ScanControlsState& s) { s.checked[Index(control)] = checked; });
}

void ScanModel::SetDeletesRegistryValues(bool deletes)
{
    Change([&](ScanControlsState& s) { s.deletesRegistryValues = deletes; });
}

void ScanModel::TakeTypedText(ScanControl control, const Text& text)
{
    std::lock_guard<std::mutex> hold(lock_);
    state_.text[Index(control)] = text;
}

ScanControlsState ScanModel::Snapshot()
{
    std::lock_guard<std::mutex> hold(lock_);
    return state_;
}

// A worker's access to the controls and stores: every access is one operation,
// and each passes the gate first, so a pause waits and a stop unwinds there.
#pragma once

#include "scan/scan_view.h"
#include "scan/worker_gate.h"

class ScanSteps {
public:
    ScanSteps(ScanView& view, WorkerGate& gate, WorkerGate::Role role)
        : view_(view), gate_(gate), role_(role) {}

    ScanView& View()
    {
        gate_.Checkpoint(role_);
        return view_;
    }

    template <class Store>
    Store& Use(Store& store)
    {
        gate_.Checkpoint(role_);
        return store;
    }

    // For long operations between two steps: false once the scan is stopped
    // (waits while it is paused).
    bool Proceed() { return gate_.Proceed(role_); }
    void ThrowIfStopped()
    {
        if (gate_.Stopped()) throw ScanStopped{};
    }

private:
    ScanView& view_;
    WorkerGate& gate_;
    WorkerGate::Role role_;
};

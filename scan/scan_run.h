// A scan run: the handlers of the scan buttons and timer, and the two workers.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "core/program_state.h"
#include "core/stores.h"
#include "scan/scan_view.h"
#include "scan/worker_gate.h"

class ScanRun {
public:
    ScanRun(ProgramState& state, Stores& stores, ScanView& view);
    ~ScanRun();

    // Handlers, on the interface thread.
    void StartOrContinueScan();
    void StopScan();
    void PauseScan();
    void CountElapsedSecond();

    // `chosenFolder`, read by a folder scan when its walk begins.
    void SetChosenFolder(const Text& folder);

    // Stops every worker and waits for them at most `timeoutMs`; true when none is left.
    bool EndWorkers(int timeoutMs);
    // Waits until the current scan's workers have ended by themselves.
    bool WaitUntilIdle(int timeoutMs);

private:
    struct Worker;
    static unsigned long __stdcall WorkerThread(void* start);
    void* StartWorker(bool check, const std::shared_ptr<WorkerGate>& gate);
    void EnumerationPhase(WorkerGate& gate);
    void CheckPhases(WorkerGate& gate);
    Text ChosenFolderCopy();
    void FineTimer(bool on);
    void CloseWorkerMessageBoxes();

    ProgramState& state_;
    Stores& stores_;
    ScanView& view_;

    std::mutex lock_;  // guards gate_, workerThreads_ and chosenFolder
    std::shared_ptr<WorkerGate> gate_;   // the latest scan's
    std::vector<unsigned long> workerThreads_;
    std::atomic<bool> fineTimer_{false};
    unsigned startSerial_ = 0;
};

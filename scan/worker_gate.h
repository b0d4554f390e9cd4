// Where a scan worker may be paused or stopped: only between two operations on
// the stores and controls, so it never holds a lock or leaves a half-made change.
#pragma once

#include <condition_variable>
#include <mutex>

// Thrown at a checkpoint of a stopped scan; caught where the worker thread starts.
struct ScanStopped {};

class WorkerGate {
public:
    enum class Role { Enumeration, Check };

    // Waits while the scan is paused (check worker only); throws ScanStopped
    // once the scan is stopped.
    void Checkpoint(Role role);
    // The same without throwing: false once stopped.
    bool Proceed(Role role);

    void Pause();
    void Resume();
    void Stop();
    bool Stopped();
    bool Paused();

    // Live workers of this scan, counted so a new scan can wait for them.
    void WorkerStarted();
    void WorkerEnded();
    // True when no worker is alive within `timeoutMs`.
    bool WaitForWorkers(int timeoutMs);

private:
    std::mutex lock_;
    std::condition_variable changed_;
    bool paused_ = false;
    bool stopped_ = false;
    int liveWorkers_ = 0;
};

#include "scan/worker_gate.h"

bool WorkerGate::Proceed(Role role)
{
    std::unique_lock<std::mutex> hold(lock_);
    if (role == Role::Check) changed_.wait(hold, [&] { return !paused_ || stopped_; });
    return !stopped_;
}

void WorkerGate::Checkpoint(Role role)
{
    if (!Proceed(role)) throw ScanStopped{};
}

void WorkerGate::Pause()
{
    std::lock_guard<std::mutex> hold(lock_);
    paused_ = true;
}

void WorkerGate::Resume()
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        paused_ = false;
    }
    changed_.notify_all();
}

void WorkerGate::Stop()
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopped_ = true;
    }
    changed_.notify_all();
}

bool WorkerGate::Stopped()
{
    std::lock_guard<std::mutex> hold(lock_);
    return stopped_;
}

bool WorkerGate::Paused()
{
    std::lock_guard<std::mutex> hold(lock_);
    return paused_;
}

void WorkerGate::WorkerStarted()
{
    std::lock_guard<std::mutex> hold(lock_);
    ++liveWorkers_;
}

void WorkerGate::WorkerEnded()
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        --liveWorkers_;
    }
    changed_.notify_all();
}

bool WorkerGate::WaitForWorkers(int timeoutMs)
{
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                             [&] { return liveWorkers_ == 0; });
}

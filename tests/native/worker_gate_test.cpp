// The gate where scan workers pause and stop.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "scan/scan_model.h"
#include "scan/worker_gate.h"

namespace {

void Wait(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

TEST(WorkerGate, PauseHoldsTheCheckWorkerOnlyAndStopReleasesIt)
{
    WorkerGate gate;
    gate.Pause();
    EXPECT_TRUE(gate.Proceed(WorkerGate::Role::Enumeration));  // never paused

    std::atomic<int> passed{0};
    std::atomic<bool> stopped{false};
    gate.WorkerStarted();
    std::thread worker([&] {
        try {
            for (;;) {
                gate.Checkpoint(WorkerGate::Role::Check);
                ++passed;
                if (passed == 1) gate.Pause();  // hold again after one step
            }
        } catch (const ScanStopped&) {
            stopped = true;
        }
        gate.WorkerEnded();
    });
    Wait(50);
    EXPECT_EQ(passed, 0);
    gate.Resume();
    Wait(50);
    EXPECT_EQ(passed, 1);
    EXPECT_FALSE(gate.WaitForWorkers(20));
    gate.Stop();
    EXPECT_TRUE(gate.WaitForWorkers(2000));
    worker.join();
    EXPECT_TRUE(stopped);
    EXPECT_EQ(passed, 1);
    EXPECT_FALSE(gate.Proceed(WorkerGate::Role::Enumeration));
}

TEST(ScanModel, ReportsEveryChangeAndHoldsWhatWasSet)
{
    int changes = 0;
    ScanModel model([&] { ++changes; });
    model.SetText(ScanControl::Edit2, "3");
    model.SetEnabled(ScanControl::Button2, false);
    model.SetProgressMaximum(7);
    model.SetTimerPeriod(1000);
    model.TakeTypedText(ScanControl::Edit1, "9");  // typed: already on screen
    EXPECT_EQ(changes, 4);
    const ScanControlsState s = model.Snapshot();
    EXPECT_EQ(s.text[static_cast<int>(ScanControl::Edit2)], "3");
    EXPECT_EQ(s.text[static_cast<int>(ScanControl::Edit1)], "9");
    EXPECT_FALSE(s.enabled[static_cast<int>(ScanControl::Button2)]);
    EXPECT_TRUE(s.enabled[static_cast<int>(ScanControl::Button1)]);
    EXPECT_EQ(s.progressMaximum, 7);
    EXPECT_EQ(s.timerPeriod, 1000);
}

}  // namespace

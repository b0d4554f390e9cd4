#include "scan/scan_run.h"

#include <windows.h>
#include <mmsystem.h>

#include "core/datetime.h"
#include "core/files.h"
#include "core/numbers.h"
#include "core/system.h"
#include "scan/phases.h"
#include "scan/scan_steps.h"
#include "scan/walk.h"

namespace {

const char kNoDatabases[] = "没有载入或保存数据库!";
const char kNotReady[] = "初始化还未完成，无法暂停。";

// The walk's additions go to foundFiles, one operation each.
class FoundFilesSink : public WalkSink {
public:
    FoundFilesSink(ScanSteps& steps, ListStore& found, ScanView& view)
        : steps_(steps), found_(found), view_(view) {}
    bool Proceed() override { return steps_.Proceed(); }
    void Add(const Text& path) override { found_.Add(path); }
    void Message(const Text& text) override { view_.Message(text, ""); }

private:
    ScanSteps& steps_;
    ListStore& found_;
    ScanView& view_;
};

BOOL CALLBACK AnswerMessageBox(HWND window, LPARAM)
{
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0) PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

}  // namespace

struct ScanRun::Worker {
    ScanRun* run;
    bool check;
    std::shared_ptr<WorkerGate> gate;
    HANDLE handle = nullptr;
};

ScanRun::ScanRun(ProgramState& state, Stores& stores, ScanView& view)
    : state_(state), stores_(stores), view_(view)
{
}

ScanRun::~ScanRun() { EndWorkers(1000); }

unsigned long __stdcall ScanRun::WorkerThread(void* start)
{
    Worker* worker = static_cast<Worker*>(start);
    try {
        if (worker->check)
            worker->run->CheckPhases(*worker->gate);
        else
            worker->run->EnumerationPhase(*worker->gate);
    } catch (const ScanStopped&) {
        // Stopped between two operations: nothing is left half done.
    } catch (...) {
    }
    if (worker->handle) CloseHandle(worker->handle);
    std::shared_ptr<WorkerGate> gate = worker->gate;
    delete worker;
    gate->WorkerEnded();
    return 0;
}

void* ScanRun::StartWorker(bool check, const std::shared_ptr<WorkerGate>& gate)
{
    auto* worker = new Worker{this, check, gate};
    gate->WorkerStarted();
    DWORD id = 0;
    // Suspended until the worker knows its own handle, which it closes itself.
    HANDLE thread = CreateThread(nullptr, 0, WorkerThread, worker, CREATE_SUSPENDED, &id);
    if (!thread) {
        delete worker;
        gate->WorkerEnded();
        return nullptr;
    }
    worker->handle = thread;
    {
        std::lock_guard<std::mutex> hold(lock_);
        workerThreads_.push_back(id);
    }
    ResumeThread(thread);
    return thread;
}

void ScanRun::SetChosenFolder(const Text& folder)
{
    std::lock_guard<std::mutex> hold(lock_);
    state_.chosenFolder = folder;
}

Text ScanRun::ChosenFolderCopy()
{
    std::lock_guard<std::mutex> hold(lock_);
    return state_.chosenFolder;
}

void ScanRun::FineTimer(bool on)
{
    // A 1 ms pause lasts about 1 ms only with a 1 ms timer resolution.
    if (fineTimer_.exchange(on) != on) {
        if (on)
            timeBeginPeriod(1);
        else
            timeEndPeriod(1);
    }
}

void ScanRun::CloseWorkerMessageBoxes()
{
    std::vector<unsigned long> threads;
    {
        std::lock_guard<std::mutex> hold(lock_);
        threads = workerThreads_;
    }
    // A worker waiting in a message box would not reach its next checkpoint.
    for (unsigned long id : threads) EnumThreadWindows(id, AnswerMessageBox, 0);
}

bool ScanRun::EndWorkers(int timeoutMs)
{
    std::shared_ptr<WorkerGate> gate;
    {
        std::lock_guard<std::mutex> hold(lock_);
        gate = gate_;
    }
    if (!gate) return true;
    gate->Stop();
    CloseWorkerMessageBoxes();
    const bool ended = gate->WaitForWorkers(timeoutMs);
    if (ended) {
        std::lock_guard<std::mutex> hold(lock_);
        workerThreads_.clear();
    }
    return ended;
}

bool ScanRun::WaitUntilIdle(int timeoutMs)
{
    std::shared_ptr<WorkerGate> gate;
    {
        std::lock_guard<std::mutex> hold(lock_);
        gate = gate_;
    }
    return !gate || gate->WaitForWorkers(timeoutMs);
}

void ScanRun::StartOrContinueScan()
{
    const Text total = view_.GetText(ScanControl::Edit1);
    const Text processed = view_.GetText(ScanControl::Edit2);
    std::shared_ptr<WorkerGate> gate;
    {
        std::lock_guard<std::mutex> hold(lock_);
        gate = gate_;
    }
    // Continue only a scan that is paused: texts typed into the counters of an
    // idle window must not disable the start button for good.
    if (CompareTexts(total, processed) != 0 && !total.empty() && !processed.empty() && gate &&
        gate->Paused() && !gate->Stopped()) {
        view_.SetEnabled(ScanControl::Button1, false);
        view_.SetText(ScanControl::Button1, "开始");
        gate->Resume();
        view_.SetTimerPeriod(1000);
        FineTimer(true);
        return;
    }

    // A new scan. A paused scan that failed the test above ends here, so that
    // no worker stays suspended and none runs beside the new one.
    if (!EndWorkers(5000)) return;
    view_.SetText(ScanControl::Edit1, "");
    view_.SetText(ScanControl::Edit2, "");
    view_.SetText(ScanControl::Label7, "");
    view_.SetProgressPosition(0);
    if (state_.resultFolder.empty()) {
        view_.Message(kNoDatabases, "提示");
        return;
    }
    view_.SetText(ScanControl::Label7, "");
    view_.SetTimerPeriod(1000);
    FineTimer(true);
    stores_.foundFiles.Clear();
    stores_.matchedFiles.Clear();
    view_.SetEnabled(ScanControl::Button1, false);
    view_.SetEnabled(ScanControl::Button2, true);
    view_.SetEnabled(ScanControl::Button3, true);

    const unsigned serial = ++startSerial_;
    ProcessPendingMessages();
    if (serial != startSerial_) return;  // stopped or restarted meanwhile

    const Text folder =
        ConcatTexts(state_.resultLocation, DateTimeToText(TimeOfDay(CurrentDateTime())));
    CreateFolder(folder);
    state_.resultFolder = folder;

    gate = std::make_shared<WorkerGate>();
    {
        std::lock_guard<std::mutex> hold(lock_);
        gate_ = gate;
        workerThreads_.clear();
    }
    state_.enumerationThread = StartWorker(false, gate);
    ProcessPendingMessages();
}

void ScanRun::EnumerationPhase(WorkerGate& gate)
{
    ScanSteps steps(view_, gate, WorkerGate::Role::Enumeration);
    FoundFilesSink sink(steps, stores_.foundFiles, view_);
    Text mask;
    if (steps.View().IsChecked(ScanControl::Radio1)) {
        const int count = steps.Use(stores_.driveRoots).Count();
        for (int index = 0; index < count; ++index) {
            SleepMs(1);
            Text root = ConcatTexts(steps.Use(stores_.driveRoots).ItemText(index), "\\");
            if (!WalkFolder(root, mask, sink)) throw ScanStopped{};
        }
    } else {
        Text folder = ChosenFolderCopy();
        if (!WalkFolder(folder, mask, sink)) throw ScanStopped{};
    }
    const int found = steps.Use(stores_.foundFiles).Count();
    steps.View().SetText(ScanControl::Edit1, NumberToText(found));
    steps.View().SetProgressMaximum(steps.Use(stores_.foundFiles).Count());
    std::shared_ptr<WorkerGate> self;
    {
        std::lock_guard<std::mutex> hold(lock_);
        self = gate_;
    }
    gate.Checkpoint(WorkerGate::Role::Enumeration);
    if (self.get() == &gate) state_.checkThread = StartWorker(true, self);
}

void ScanRun::CheckPhases(WorkerGate& gate)
{
    ScanSteps steps(view_, gate, WorkerGate::Role::Check);
    if (steps.View().IsChecked(ScanControl::Check1)) ExactMatchPhase(state_, stores_, steps);
    if (steps.View().IsChecked(ScanControl::Check2)) AttachedPhase(state_, stores_, steps);
    if (steps.View().IsChecked(ScanControl::Check4)) RegistryPhase(state_, stores_, steps);
    steps.View().SetText(ScanControl::ScanType, "类型已经全部扫描完毕！");
    steps.View().SetText(ScanControl::Label5, "扫描结束！正在终止线程！");
    steps.View().SetEnabled(ScanControl::Button1, true);
    steps.View().SetEnabled(ScanControl::Button2, false);
    steps.View().SetText(ScanControl::Label5, "扫描已经结束......");
    steps.View().SetText(ScanControl::Edit1, "");
    steps.View().SetText(ScanControl::Edit2, "");
    steps.View().SetTimerPeriod(0);
    FineTimer(false);
}

void ScanRun::StopScan()
{
    view_.SetEnabled(ScanControl::Button1, true);
    view_.SetEnabled(ScanControl::Button2, false);
    view_.SetEnabled(ScanControl::Button3, false);
    ++startSerial_;
    EndWorkers(5000);
    state_.checkThread = nullptr;
    state_.enumerationThread = nullptr;
    state_.browseInitialFolder = "";
    view_.SetText(ScanControl::Edit2, "");
    view_.SetText(ScanControl::Edit1, "");
    view_.SetText(ScanControl::Label7, "");
    view_.SetText(ScanControl::ScanType, "");
    view_.SetText(ScanControl::Label5, "");
    view_.SetProgressPosition(0);
    view_.SetTimerPeriod(0);
    FineTimer(false);
    state_.phaseCounter = 0;
    state_.phaseIndex = 0;
    view_.SetText(ScanControl::Button1, "开始");
}

void ScanRun::PauseScan()
{
    if (view_.GetText(ScanControl::Edit1).empty()) {
        view_.Message(kNotReady, "");
        return;
    }
    std::shared_ptr<WorkerGate> gate;
    {
        std::lock_guard<std::mutex> hold(lock_);
        gate = gate_;
    }
    if (gate) gate->Pause();  // a second pause changes nothing: one continue resumes
    view_.SetEnabled(ScanControl::Button1, true);
    view_.SetTimerPeriod(0);
    FineTimer(false);
    view_.SetText(ScanControl::Button1, "继续");
}

void ScanRun::CountElapsedSecond()
{
    const Text shown = view_.GetText(ScanControl::Label7);
    view_.SetText(ScanControl::Label7, NumberToText(TextToNumber(shown) + 1.0));
}

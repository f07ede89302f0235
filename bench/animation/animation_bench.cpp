// SPDX-License-Identifier: GPL-3.0-or-later
// Figures for the animation device on a clip like the store's (ZMBV AVI, 152 x 124, 15 frames
// a second, three seconds): open to first frame, decoding per frame, and the CPU share of a
// playing clip. Run with --benchmark_repetitions=5 for medians.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QWidget>
#include <filesystem>

#include "animation/clip.h"
#include "animation/media_device.h"
#include "tests/animation/test_clips.h"

namespace qir::animation {
namespace {

const testing::ClipSpec kTypicalClip{
    .width = 152, .height = 124, .frames = 45, .framesPerSecond = 15};

// The program loads its clip decoder as a module once its window shows; the benchmarks decode
// in the process.
[[maybe_unused]] const bool decoderSet = [] {
    setClipDecoder(&decodeClip);
    return true;
}();

// The clip the benchmarks open, written once and removed when the program ends.
class BenchClip {
  public:
    BenchClip() : file_((std::filesystem::temp_directory_path() / "qir-bench-clip.avi").string()) {
        testing::writeClip(file_, kTypicalClip);
    }
    ~BenchClip() { std::filesystem::remove(file_); }
    const std::string& file() const { return file_; }

  private:
    std::string file_;
};

const std::string& clipFile() {
    static const BenchClip clip;
    return clip.file();
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// From the open command to the first frame painted in the panel.
void OpenToFirstFrame(benchmark::State& state) {
    QWidget panel;
    panel.resize(152, 124);
    panel.show();
    for (auto _ : state) {
        auto opened = MediaDevice::open(clipFile(), nullptr);
        if (opened.result != 0) {
            state.SkipWithError("open failed");
            break;
        }
        opened.device->attachWindow(&panel);
        panel.repaint();
        benchmark::DoNotOptimize(opened.device->currentPicture());
    }
}
BENCHMARK(OpenToFirstFrame)->Unit(benchmark::kMillisecond);

// Opening the clip and decoding every frame in turn, as playback does; the per-frame counter
// is the time of one frame.
void DecodePerFrame(benchmark::State& state) {
    const Bytes bytes = testing::makeClip(kTypicalClip);
    for (auto _ : state) {
        const ClipLoad load = decodeClip(bytes);
        for (int index = 0; index < load.clip.frameCount(); ++index) {
            benchmark::DoNotOptimize(load.clip.frames->at(index));
        }
    }
    // Seconds per frame (printed with an SI prefix: "171u" is 171 microseconds).
    state.counters["per_frame"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kTypicalClip.frames,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(DecodePerFrame)->Unit(benchmark::kMillisecond);

// Three seconds of playback in a shown panel with the event loop running; the counter is
// the process's CPU time as a share of one core.
void CpuShareWhilePlaying(benchmark::State& state) {
    QWidget panel;
    panel.resize(152, 124);
    panel.show();
    double share = 0;
    for (auto _ : state) {
        auto opened = MediaDevice::open(clipFile(), nullptr);
        opened.device->attachWindow(&panel);
        QElapsedTimer wall;
        wall.start();
        const double cpuBefore = cpuSeconds();
        opened.device->play();
        if (!QTest::qWaitFor([&] { return opened.device->mode() != DeviceMode::Playing; }, 10000)) {
            state.SkipWithError("the clip did not end");
            break;
        }
        share = (cpuSeconds() - cpuBefore) / (static_cast<double>(wall.nsecsElapsed()) / 1e9);
    }
    state.counters["cpu_share_percent"] = share * 100;
}
BENCHMARK(CpuShareWhilePlaying)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Ends the event loop when the play's notice arrives.
class NoticeWaiter : public QObject {
  public:
    explicit NoticeWaiter(QEventLoop& loop) : loop_(loop) {}
    bool event(QEvent* event) override {
        if (event->type() == MediaNotifyEvent::eventType()) {
            loop_.quit();
            return true;
        }
        return QObject::event(event);
    }

  private:
    QEventLoop& loop_;
};

// The same playback with the event loop waiting for the play's notice rather than polling,
// so that nothing but the playback runs: the counters are the CPU time of the thread that
// plays (the only one) and of the whole process, as shares of one core over the whole clip.
void CpuPerThreadWhilePlaying(benchmark::State& state) {
    QWidget panel;
    panel.resize(152, 124);
    panel.show();
    double threadShare = 0;
    double processShare = 0;
    for (auto _ : state) {
        QEventLoop loop;
        NoticeWaiter waiter(loop);
        auto opened = MediaDevice::open(clipFile(), &waiter);
        opened.device->attachWindow(&panel);
        QElapsedTimer wall;
        wall.start();
        const double threadBefore = threadCpuSeconds();
        const double processBefore = cpuSeconds();
        opened.device->play();
        loop.exec();
        const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        threadShare = (threadCpuSeconds() - threadBefore) / seconds;
        processShare = (cpuSeconds() - processBefore) / seconds;
    }
    state.counters["thread_cpu_share_percent"] = threadShare * 100;
    state.counters["process_cpu_share_percent"] = processShare * 100;
}
BENCHMARK(CpuPerThreadWhilePlaying)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace qir::animation

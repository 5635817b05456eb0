// The latency a user feels: the real main window, offscreen, on the sample
// model, timed per input event from the event to both panes repainted into
// their backing images (blit and colour conversion included). Beside each
// event, its stages on their own: the skin pane's redraw, the 3D render and
// each pane's repaint, so the slowest shows. Start-up is timed from an empty
// process state (QApplication aside) to the first frame of the sample shown.
// Idle, the window must draw nothing: paints per second and processor time
// over 2 s with nothing happening, at screen scales 1, 1.5 and 2 (each in a
// process of its own, since Qt takes the scale at start).
#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QProcess>
#include <QTest>
#include <QWheelEvent>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <ctime>
#include <map>
#include <memory>
#include <sstream>

#include <unistd.h>

#include "app/command_ids.h"
#include "cli_commands.h"
#include "iso_view_widget.h"
#include "main_window.h"
#include "paint_counter.h"
#include "platform/batch_ui.h"
#include "platform/settings.h"
#include "shell_widget.h"
#include "skin_view_widget.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kTexturedMode = 5;

// The sample model, written once per run into a temporary folder.
const std::string& sampleFolder() {
    static const std::string folder = [] {
        const fs::path dir = fs::temp_directory_path() / ("tarn-latency-" + std::to_string(::getpid()));
        std::ostringstream out, err;
        if (cli::run({"make-sample", dir.string()}, out, err) != 0) {
            std::fprintf(stderr, "make-sample failed: %s\n", err.str().c_str());
            std::exit(1);
        }
        return dir.string();
    }();
    return folder;
}

struct Session {
    std::ostringstream log;
    BatchUi ui{log};
    MemorySettings settings;
    std::unique_ptr<MainWindow> window;

    Session(int width, int height) {
        settings.setInt(kPreferences, "Skip Intro", 1);
        settings.setInt(kPreferences, "Quick Exit", 1);
        window = std::make_unique<MainWindow>(ui, settings);
        window->resize(width, height);
        window->show();
        StartupRequest request;
        const std::string base = sampleFolder() + "/baseq2";
        request.baseFolder = base;
        request.commandLine = "tarn -md2 " + base + "/models/tarnbot/tris.md2";
        if (!window->start(request) || !QTest::qWaitForWindowExposed(window.get())) {
            std::fprintf(stderr, "the sample did not open: %s\n", log.str().c_str());
            std::exit(1);
        }
        window->resize(width, height);
        QApplication::processEvents();
        emit window->list(kListModes)->activated(kTexturedMode);
        window->runCommand(cmd::kPencilBrush);
        QApplication::processEvents();
    }
    ShellWidget& shell() { return *window->shell(); }
};

// One window per size for the whole run, closed before the application ends.
std::map<std::pair<int, int>, std::unique_ptr<Session>>& sessions() {
    static std::map<std::pair<int, int>, std::unique_ptr<Session>> open;
    return open;
}
Session& session(int width, int height) {
    auto& s = sessions()[{width, height}];
    if (!s) s = std::make_unique<Session>(width, height);
    return *s;
}

void send(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Times `event` once per iteration, event to repaint, as manual time.
template <class Event>
void timeEvents(benchmark::State& state, Event event) {
    for (auto _ : state) {
        const auto start = Clock::now();
        event();
        QApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}

void describe(benchmark::State& state, Session& s) {
    state.counters["skinPane"] = s.shell().skinView()->width() * 10000.0 + s.shell().skinView()->height();
    state.counters["isoPane"] = s.shell().isoView()->width() * 10000.0 + s.shell().isoView()->height();
}

// A point of the 3D pane that shows the skin (the pick plane names a texel).
QPoint texelOnModel(IsoViewWidget* w) {
    const FrameBuffer& frame = w->view().frame();
    const QPoint centre(w->width() / 2, w->height() / 2);
    for (int r = 0; r < w->width() / 2; r += 2)
        for (const QPoint d : {QPoint(r, 0), QPoint(-r, 0), QPoint(0, r), QPoint(0, -r)})
            if (auto e = frame.elementAt(centre.x() + d.x(), centre.y() + d.y()); e && frame.pick()[*e] >= 0)
                return centre + d;
    return centre;
}

// A pencil stroke held down, moved between a and b once per event.
void pencilSteps(benchmark::State& state, Session& s, QWidget* pane, QPoint a, QPoint b) {
    send(pane, QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    bool toB = true;
    timeEvents(state, [&] {
        send(pane, QEvent::MouseMove, toB ? b : a, Qt::NoButton, Qt::LeftButton);
        toB = !toB;
    });
    send(pane, QEvent::MouseButtonRelease, a, Qt::LeftButton, Qt::NoButton);
    describe(state, s);
}

void BM_PencilStepSkinPane(benchmark::State& state) {
    Session& s = session(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    QWidget* pane = s.shell().skinView();
    pencilSteps(state, s, pane, QPoint(pane->width() / 3, pane->height() / 2),
                QPoint(pane->width() * 2 / 3, pane->height() / 2 + 9));
}

void BM_PencilStepIsoPane(benchmark::State& state) {
    Session& s = session(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    IsoViewWidget* pane = s.shell().isoView();
    const QPoint a = texelOnModel(pane);
    pencilSteps(state, s, pane, a, a + QPoint(6, 4));
}

// The same steps in Mirror mode: each painted texel is painted at its mirror
// too (across the sample's symmetry, or across the skin's line).
void mirrored(benchmark::State& state, void (*steps)(benchmark::State&)) {
    Session& s = session(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    s.window->runCommand(cmd::kMirror);
    steps(state);
    s.window->runCommand(cmd::kMirror);
}
void BM_MirroredPencilStepIsoPane(benchmark::State& state) { mirrored(state, BM_PencilStepIsoPane); }

// The same steps with a round tip of state.range(2) (texels in the skin pane,
// pointer pixels on the model).
void wideTip(benchmark::State& state, void (*steps)(benchmark::State&)) {
    Session& s = session(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    s.window->app().setBrushSize(static_cast<int>(state.range(2)));
    steps(state);
    s.window->app().setBrushSize(1);
}
void BM_RoundTipStepSkinPane(benchmark::State& state) { wideTip(state, BM_PencilStepSkinPane); }
void BM_RoundTipStepIsoPane(benchmark::State& state) { wideTip(state, BM_PencilStepIsoPane); }

// One click of Fill: the skin pane's 4-connected region, or the model's
// region across its seams.
void fillClicks(benchmark::State& state, Session& s, QWidget* pane, QPoint at) {
    s.window->runCommand(cmd::kFillBrush);
    timeEvents(state, [&] {
        send(pane, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        send(pane, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    });
    s.window->runCommand(cmd::kPencilBrush);
    describe(state, s);
}
void BM_FillSkinPane(benchmark::State& state) {
    Session& s = session(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    QWidget* pane = s.shell().skinView();
    fillClicks(state, s, pane, QPoint(pane->width() / 2, pane->height() / 2));
}
void BM_FillIsoPane(benchmark::State& state) {
    Session& s = session(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    IsoViewWidget* pane = s.shell().isoView();
    fillClicks(state, s, pane, texelOnModel(pane));
}
void BM_MirroredPencilStepSkinPane(benchmark::State& state) { mirrored(state, BM_PencilStepSkinPane); }

void BM_OrbitStep(benchmark::State& state) {
    Session& s = session(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    IsoViewWidget* pane = s.shell().isoView();
    s.window->runCommand(cmd::kCameraOverride);
    const QPoint a(pane->width() / 2, pane->height() / 2);
    send(pane, QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    int step = 0;
    timeEvents(state, [&] {
        // Alternate left and right so the camera swings back and forth.
        send(pane, QEvent::MouseMove, a + QPoint(step++ % 2 == 0 ? 5 : -5, 0), Qt::NoButton, Qt::LeftButton);
    });
    send(pane, QEvent::MouseButtonRelease, a, Qt::LeftButton, Qt::NoButton);
    s.window->runCommand(cmd::kCameraOverride);
    describe(state, s);
}

void BM_WheelZoomSkinPane(benchmark::State& state) {
    Session& s = session(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    QWidget* pane = s.shell().skinView();
    const QPointF at(pane->width() / 2.0, pane->height() / 2.0);
    int notch = 0;
    timeEvents(state, [&] {
        const int delta = notch++ % 2 == 0 ? 120 : -120;
        QWheelEvent e(at, pane->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(pane, &e);
    });
    describe(state, s);
}

// The stages alone.
void BM_StageSkinCopyFromSkin(benchmark::State& state) {
    Session& s = session(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    SkinView& view = s.shell().skinView()->view();
    timeEvents(state, [&] { view.redraw(kRedrawFromSkin); });
}
void BM_StageSkinRedrawFull(benchmark::State& state) {
    Session& s = session(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    SkinView& view = s.shell().skinView()->view();
    timeEvents(state, [&] { view.redraw(kRedrawFull); });
}
void BM_StageIsoRender(benchmark::State& state) {
    Session& s = session(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    IsoView& view = s.shell().isoView()->view();
    timeEvents(state, [&] { view.render(); });
}
void BM_StageSkinRepaint(benchmark::State& state) {
    Session& s = session(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    QWidget* pane = s.shell().skinView();
    timeEvents(state, [&] { pane->repaint(); });
}
void BM_StageIsoRepaint(benchmark::State& state) {
    Session& s = session(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    QWidget* pane = s.shell().isoView();
    timeEvents(state, [&] { pane->repaint(); });
}

// Start-up to the first frame of the sample, the intro skipped.
void BM_StartUpToFirstFrame(benchmark::State& state) {
    sampleFolder();
    for (auto _ : state) {
        const auto start = Clock::now();
        {
            Session s(1280, 960);
            state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        }
        QApplication::processEvents();
    }
}

double processSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

constexpr int kIdleMs = 2000;

// The child's side: the window opened and settled, then left alone. Prints
// the paints and the processor milliseconds of the idle time.
int idleChild() {
    Session s(1280, 960);
    QTest::qWait(500);
    PaintCounter counter;
    const double cpu = processSeconds();
    QTest::qWait(kIdleMs);
    std::printf("%d %.1f\n", counter.paints(), (processSeconds() - cpu) * 1000.0);
    s.window.reset();
    return 0;
}

// Argument: the screen scale in tenths.
void BM_IdlePaints(benchmark::State& state) {
    const QString scale = QString::number(double(state.range(0)) / 10.0);
    for (auto _ : state) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), scale);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--idle-child")});
        if (!child.waitForFinished(30000)) {
            state.SkipWithError("the idle window did not finish");
            return;
        }
        int paints = -1;
        double cpuMs = -1;
        if (std::sscanf(child.readAllStandardOutput().constData(), "%d %lf", &paints, &cpuMs) != 2) {
            state.SkipWithError("the idle window reported nothing");
            return;
        }
        state.counters["paintsPerSecond"] = paints * 1000.0 / kIdleMs;
        state.counters["cpuPercent"] = cpuMs * 100.0 / kIdleMs;
    }
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Args({1280, 960})->Args({2560, 1440})->Args({3840, 2160})->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(0.5);
}
void tipSizes(benchmark::internal::Benchmark* b) {
    for (int tip : {16, 64}) b->Args({1280, 960, tip})->Args({2560, 1440, tip})->Args({3840, 2160, tip});
    b->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(0.5);
}
BENCHMARK(BM_PencilStepSkinPane)->Apply(sizes);
BENCHMARK(BM_PencilStepIsoPane)->Apply(sizes);
BENCHMARK(BM_MirroredPencilStepIsoPane)->Apply(sizes);
BENCHMARK(BM_MirroredPencilStepSkinPane)->Apply(sizes);
BENCHMARK(BM_RoundTipStepSkinPane)->Apply(tipSizes);
BENCHMARK(BM_RoundTipStepIsoPane)->Apply(tipSizes);
BENCHMARK(BM_FillSkinPane)->Apply(sizes);
BENCHMARK(BM_FillIsoPane)->Apply(sizes);
BENCHMARK(BM_OrbitStep)->Apply(sizes);
BENCHMARK(BM_WheelZoomSkinPane)->Apply(sizes);
BENCHMARK(BM_StageSkinCopyFromSkin)->Apply(sizes);
BENCHMARK(BM_StageSkinRedrawFull)->Apply(sizes);
BENCHMARK(BM_StageIsoRender)->Apply(sizes);
BENCHMARK(BM_StageSkinRepaint)->Apply(sizes);
BENCHMARK(BM_StageIsoRepaint)->Apply(sizes);
BENCHMARK(BM_StartUpToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_IdlePaints)->Arg(10)->Arg(15)->Arg(20)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarn

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1 && std::string(argv[1]) == "--idle-child") {
        const int result = tarn::idleChild();
        std::error_code ignored;
        std::filesystem::remove_all(tarn::sampleFolder(), ignored);
        return result;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const bool opened = !tarn::sessions().empty();
    tarn::sessions().clear();
    std::error_code ignored;
    if (opened) std::filesystem::remove_all(tarn::sampleFolder(), ignored);
    return 0;
}

#include "main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include "app/command_ids.h"
#include "render/benchmark.h"
#include "animation_preview.h"
#include "command_actions.h"
#include "render/model_probe.h"
#include "status_line.h"
#include "intro_window.h"
#include "iso_view_widget.h"
#include "list_bar.h"
#include "shell_widget.h"
#include "skin_view_widget.h"
#include "text_key_guard.h"
#include "toolbar_icons.h"

namespace tarn {

namespace {

constexpr int kStartWidth = 1024;
constexpr int kStartHeight = 720;
// The order in which the panes named by a request redraw.
constexpr std::array<int, 4> kPaneOrder = {kPaneSkinView, kPaneGradient, kPaneIsoView, kPanePalette};
constexpr int kPaneBitsMask = kPaneSkinView | kPaneIsoView | kPaneGradient | kPanePalette;

int slotOf(int paneBit) {
    switch (paneBit) {
    case kPaneSkinView: return 0;
    case kPaneIsoView: return 1;
    case kPaneGradient: return 2;
    case kPanePalette: return 3;
    default: return -1;
    }
}

}  // namespace

MainWindow::MainWindow(Ui& ui, SettingsStore& settings, QWidget* parent)
    : QMainWindow(parent), app_(std::make_unique<Application>(ui, settings, *this)) {
    setWindowTitle(QStringLiteral("TARN"));
    setWindowIcon(applicationIcon());
    setMinimumSize(kMinWidth, kMinHeight);
    resize(kStartWidth, kStartHeight);

    app_->commands().bind(cmd::kExit, [this] { close(); });
    app_->preferenceDefaults = PreferenceDefaults::inFolder(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString());

    actions_ = std::make_unique<CommandActions>(*this, [this](int id) { runCommand(id); });
    // Steps are recorded by the panes too (a stroke ends on the release), so the
    // Edit menu follows the history itself rather than the commands.
    app_->history.changed = [this] { updateCommandStates(); };
    lists_ = std::make_unique<ListBar>(*this, actions_->toolBar(),
                                       [this](int id, int index) { listChosen(id, index); });
    keyGuard_ = new TextKeyGuard(this);
    qApp->installEventFilter(keyGuard_);

    shell_ = new ShellWidget(*app_, *this, this);
    shell_->setObjectName(QStringLiteral("shell"));
    setCentralWidget(shell_);
    app_->commands().bind(cmd::kSwapDisplays, [this] { shell_->swapDisplays(); });
    app_->commands().bind(cmd::kBenchmark, [this] {
        IsoViewWidget* iso = shell_->isoView();
        Benchmark(app_->ui(), [iso] { iso->redraw(); });
    });
    app_->palOnTopChanged = [this](bool onTop) { shell_->setPalOnTop(onTop); };
    app_->commands().bind(cmd::kFitSkin, [this] { shell_->skinView()->fitSkin(); });
    app_->commands().bind(cmd::kFrameModel, [this] {
        frameModel(app_->mesh, shell_->isoView()->view().target());
        refresh(kRedrawFull, kPanesIso);
    });
    status_ = new StatusLine(*app_, *shell_, *this);
    preview_ = new AnimationPreview(*app_, [this] {
        refresh(kRedrawFull, kPanesIso);
        lists_->select(kListFrames, app_->mesh.currentFrame);
    }, this);

    refillLists();
    updateCommandStates();
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(keyGuard_);
    app_->history.changed = nullptr;
}

bool MainWindow::start(const StartupRequest& request) {
    if (introAllowed(request.ctrlHeld, app_->settings())) showIntro();
    bool ok = app_->start(request);
    updateCommandStates();
    return ok;
}

void MainWindow::showIntro() {
    if (introShown_) return;
    introShown_ = true;
    const SettingsStore& settings = app_->settings();
    std::string wav = settings.getString(kPreferences, "Intro WAV", "");
    std::mt19937 rng(QRandomGenerator::global()->generate());
    int clip = introClip(settings, isRegularFile(wav), rng);
    intro_ = new IntroWindow(clip, QString::fromStdString(wav), this);
    intro_->show();
}

QAction* MainWindow::action(int id) const { return actions_->action(id); }

QComboBox* MainWindow::list(int id) const { return lists_->list(id); }

void MainWindow::runCommand(int id) {
    app_->commands().run(id);
    updateCommandStates();
    preview_->sync();
}

void MainWindow::watchPane(int paneBit, PaneRedraw redraw) {
    int slot = slotOf(paneBit);
    if (slot >= 0) panes_[static_cast<std::size_t>(slot)] = std::move(redraw);
}

void MainWindow::listChosen(int id, int index) {
    // Choosing a frame by hand ends the preview on it.
    if (id == kListFrames) app_->stopPlayback();
    app_->listChosen(id, index);
    preview_->sync();
    // A refused mode switch leaves the current mode; the list follows it.
    if (id == kListModes) lists_->select(kListModes, app_->modes.currentIndex());
    updateCommandStates();
}

void MainWindow::refresh(int kind, int panes) {
    if (shell_) shell_->refresh(kind, panes);
    const int options = panes & ~kPaneBitsMask;
    for (int bit : kPaneOrder) {
        if (!(panes & bit)) continue;
        const PaneRedraw& redraw = panes_[static_cast<std::size_t>(slotOf(bit))];
        if (redraw) redraw(kind, options);
    }
    updateSkinMarks();
    updateTitle();
}

void MainWindow::refreshAll() {
    refillLists();
    refresh(kRedrawFull, kPanesAll);
}

void MainWindow::refillLists() {
    for (const ListBand& entry : listBands()) lists_->fill(entry.id, app_->listContent(entry.id));
}

void MainWindow::meshLoaded() {
    // A model of any size opens filling the 3D pane.
    app_->stopPlayback();
    if (preview_) preview_->sync();
    if (shell_) frameModel(app_->mesh, shell_->isoView()->view().target());
}

void MainWindow::rebuildPaintRemap() { app_->rebuildPaintRemap(); }
void MainWindow::rebuildShadeRamps() { app_->rebuildShadeRamps(); }
void MainWindow::rebuildLightTable() { app_->rebuildLightTable(); }
void MainWindow::rebuildPhongShadeTable() { app_->rebuildPhongShadeTable(); }

void MainWindow::updateCommandStates() {
    actions_->update([this](int id) { return app_->stateOf(id); });
    updateTitle();
    if (status_) status_->update();
}

void MainWindow::updateSkinMarks() {
    for (int i = 0; i < app_->skins.count(); ++i)
        lists_->setText(kListSkins, i, QString::fromStdString(app_->skinListText(i)));
}

void MainWindow::updateTitle() {
    if (app_->currentFile.empty()) {
        setWindowTitle(QStringLiteral("TARN"));
        return;
    }
    QString name = QFileInfo(QString::fromStdString(app_->currentFile)).fileName();
    setWindowTitle(name + QStringLiteral("[*] - TARN"));
    setWindowModified(!app_->modifiedSkins().empty() || app_->mappingChanged());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (app_->confirmQuit())
        event->accept();
    else
        event->ignore();
}

}  // namespace tarn

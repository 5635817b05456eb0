#include "main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QRandomGenerator>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QStandardPaths>

#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/preferences.h"
#include "edit/mapping_tool.h"
#include "platform/dialogs.h"
#include "render/benchmark.h"
#include "render/player_icon.h"
#include "render/snapshot.h"
#include "render/view_moves.h"
#include "animation_preview.h"
#include "command_actions.h"
#include "content_folder.h"
#include "render/model_probe.h"
#include "status_line.h"
#include "intro_window.h"
#include "iso_view_widget.h"
#include "list_bar.h"
#include "outside_edit_watch.h"
#include "shell_widget.h"
#include "skin_view_widget.h"
#include "text_key_guard.h"
#include "toolbar_icons.h"

namespace tarn {

namespace {

constexpr int kStartWidth = 1024;
// How long a command's report stays in the status bar.
constexpr int kReportMs = 6000;
constexpr int kStartHeight = 720;
// Room left around the first window for a frame and title bar.
constexpr int kFrameAllowance = 48;
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

    app_->commands().bind(cmd::kExit, [this] { close(); });
    app_->preferenceDefaults = PreferenceDefaults::inFolder(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString());
    app_->guidePath = findUserGuide(QCoreApplication::applicationDirPath()).toStdString();

    actions_ = std::make_unique<CommandActions>(*this, [this](int id) { runCommand(id); });
    // Steps are recorded by the panes too (a stroke ends on the release), so the
    // Edit menu follows the history itself rather than the commands.
    app_->history.changed = [this] { updateCommandStates(); };
    addBrushSize();
    lists_ = std::make_unique<ListBar>(*this, actions_->toolBar(),
                                       [this](int id, int index) { listChosen(id, index); });
    keyGuard_ = new TextKeyGuard(this);
    qApp->installEventFilter(keyGuard_);

    shell_ = new ShellWidget(*app_, *this, this);
    shell_->setObjectName(QStringLiteral("shell"));
    setCentralWidget(shell_);
    app_->commands().bind(cmd::kSwapDisplays, [this] { shell_->swapDisplays(); });
    // The skin view keeps its own rectangle flag; the command keeps both.
    app_->commands().bind(cmd::kRectangleMode, [this] {
        SkinView& view = shell_->skinView()->view();
        view.rectangleMode = !view.rectangleMode;
        app_->view.rectangleMode = view.rectangleMode;
        refresh(kRedrawFull, kPaneSkinView);
    });
    app_->commands().bind(cmd::kBenchmark, [this] {
        IsoViewWidget* iso = shell_->isoView();
        Benchmark(app_->ui(), [iso] { iso->redraw(); });
    });
    app_->commands().bind(cmd::kSnapshot, [this] {
        IsoView& iso = shell_->isoView()->view();
        Rasterizer unused;
        TakeSnapshot(app_->ui(), app_->settings(), app_->folders, iso.frame().width(), iso.frame().height(),
                     [&](const SnapshotRequest& r) {
                         QApplication::setOverrideCursor(Qt::WaitCursor);
                         SnapshotPicture picture = renderSnapshot(app_->modes.current(), renderSceneOf(*app_, unused),
                                                                  iso.target(), r.width, r.height, r.quality);
                         QApplication::restoreOverrideCursor();
                         return picture;
                     });
    });
    app_->commands().bind(cmd::kMakeIcon, [this] {
        const Skin* skin = app_->skins.current();
        if (skin == nullptr || !app_->mesh.loaded) return;
        Rasterizer unused;
        makeIconCommand(app_->ui(), app_->settings(), app_->folders, skin->filePath, [&] {
            return renderPlayerIcon(app_->modes.at(kModeTextured), renderSceneOf(*app_, unused),
                                    shell_->isoView()->view().target());
        });
    });
    app_->palOnTopChanged = [this](bool onTop) { shell_->setPalOnTop(onTop); };
    app_->viewCamera = [this] {
        IsoView& iso = shell_->isoView()->view();
        const RenderTarget& t = iso.target();
        return ViewCamera{t.eye, t.lookAt, t.fieldOfView, iso.clientWidth(), iso.frame().height()};
    };
    app_->mapRect = [this] { return &shell_->skinView()->view().mapRect; };
    app_->commands().bind(cmd::kFitSkin, [this] { shell_->skinView()->fitSkin(); });
    for (int id : {cmd::kNudgeLeft, cmd::kNudgeRight, cmd::kNudgeUp, cmd::kNudgeDown, cmd::kNudgeLeft10,
                   cmd::kNudgeRight10, cmd::kNudgeUp10, cmd::kNudgeDown10})
        app_->commands().bind(id, [this, id] {
            const NudgeStep step = nudgeOf(id);
            // Floating texels take the arrows first, in either mode.
            if (app_->floating.active()) {
                app_->floating.moveBy(step.dx, step.dy);
                refresh(kRedrawFull, kPanesSkinIso);
            } else if (app_->paneModes.mappingMode) {
                shell_->mappingTool().nudge(step.dx, step.dy);
            }
        });
    app_->pastePlace = [this] { return shell_->skinView()->pastePlace(); };
    app_->commands().bind(cmd::kFrameModel, [this] {
        frameModel(app_->mesh, shell_->isoView()->view().target());
        refresh(kRedrawFull, kPanesIso);
    });
    bindViewCommands();
    app_->commands().onReport([this](const std::string& text) {
        if (!text.empty()) statusBar()->showMessage(QString::fromStdString(text), kReportMs);
    });
    status_ = new StatusLine(*app_, *shell_, *this);
    preview_ = new AnimationPreview(*app_, [this] {
        refresh(kRedrawFull, kPanesIso);
        lists_->select(kListFrames, app_->mesh.currentFrame);
    }, this);

    outsideEdits_ = new OutsideEditWatch(*app_, this);

    refillLists();
    updateCommandStates();
    fitFirstSize();
}

// The tip's size on the toolbar, beside the brushes: set there or by Ctrl+[ and Ctrl+].
void MainWindow::addBrushSize() {
    QToolBar* bar = actions_->toolBar();
    brushSize_ = new QSpinBox(bar);
    brushSize_->setObjectName(QStringLiteral("brushSize"));
    brushSize_->setRange(kMinBrushSize, kMaxBrushSize);
    brushSize_->setPrefix(QStringLiteral("Brush "));
    brushSize_->setToolTip(QStringLiteral("Brush Size (Ctrl+[ and Ctrl+])"));
    brushSize_->setValue(app_->paint.tip.size);
    bar->insertWidget(actions_->action(cmd::kMirror), brushSize_);
    connect(brushSize_, &QSpinBox::valueChanged, this, [this](int size) {
        if (size != app_->paint.tip.size) app_->setBrushSize(size);
    });
}

void MainWindow::bindViewCommands() {
    const std::pair<int, ViewSide> sides[] = {
        {cmd::kViewFront, ViewSide::Front}, {cmd::kViewBack, ViewSide::Back},   {cmd::kViewLeft, ViewSide::Left},
        {cmd::kViewRight, ViewSide::Right}, {cmd::kViewTop, ViewSide::Top},     {cmd::kViewBottom, ViewSide::Bottom},
    };
    for (const auto& [id, side] : sides)
        app_->commands().bind(id, [this, side = side] {
            viewFromSide(app_->mesh, shell_->isoView()->view().target(), side);
            refresh(kRedrawFull, kPanesIso);
        });
    app_->commands().bind(cmd::kResetView, [this] {
        RenderTarget& target = shell_->isoView()->view().target();
        target.fieldOfView = CameraPose{}.fieldOfView;
        viewFromSide(app_->mesh, target, ViewSide::Front);
        refresh(kRedrawFull, kPanesIso);
    });
    app_->commands().bind(cmd::kPixelGrid, [this] {
        app_->view.pixelGrid = !app_->view.pixelGrid;
        shell_->skinView()->setPixelGrid(app_->view.pixelGrid);
    });
}

void MainWindow::fitFirstSize() {
    QSize size(kStartWidth, kStartHeight);
    if (const QScreen* s = screen()) {
        // The frame's own decorations are not known before the first show;
        // leave them a margin.
        const QRect room = s->availableGeometry().adjusted(0, 0, -kFrameAllowance, -kFrameAllowance);
        size = size.boundedTo(room.size()).expandedTo(minimumSize());
        resize(size);
        move(room.topLeft() + QPoint((room.width() - size.width()) / 2, (room.height() - size.height()) / 2));
        return;
    }
    resize(size);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(keyGuard_);
    app_->history.changed = nullptr;
}

bool MainWindow::start(const StartupRequest& request) {
    if (introAllowed(request.ctrlHeld, app_->settings())) showIntro();
    bool ok = app_->start(request);
    updateCommandStates();
    // Keys and the wheel start at the panes too; the first field of the
    // toolbar would take them, and its blinking caret would draw while idle.
    shell_->setFocus();
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
    const int skinWidth = app_->mesh.skinWidth, skinHeight = app_->mesh.skinHeight;
    app_->commands().run(id);
    // A new skin size (Pack Islands, Re-size All, or their undo) would leave
    // the skin pane showing a corner or a speck.
    if (app_->mesh.skinWidth != skinWidth || app_->mesh.skinHeight != skinHeight) shell_->skinView()->fitSkin();
    app_->keepModeAvailable();
    updateCommandStates();
    preview_->sync();
    // A command can show a file without changing a list (a Companion's skin).
    if (outsideEdits_) outsideEdits_->sync();
}

void MainWindow::watchPane(int paneBit, PaneRedraw redraw) {
    int slot = slotOf(paneBit);
    if (slot >= 0) panes_[static_cast<std::size_t>(slot)] = std::move(redraw);
}

void MainWindow::listChosen(int id, int index) {
    // Choosing a frame by hand ends the preview on it.
    if (id == kListFrames) app_->stopPlayback();
    app_->listChosen(id, index);
    app_->keepModeAvailable();
    preview_->sync();
    // A refused mode switch leaves the current mode; the list follows it.
    if (id == kListModes) lists_->select(kListModes, app_->modes.currentIndex());
    updateCommandStates();
    // Keys and the wheel go back to the panes, not to the list just used.
    shell_->setFocus();
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

// The redraw is posted, as a window message would be: the command that asked
// for it finishes first (rebuilding the tables the panes draw from), then the
// panes draw once however many commands asked.
void MainWindow::refreshAll() {
    refillLists();
    updateTitle();
    if (refreshAllPosted_) return;
    refreshAllPosted_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            refreshAllPosted_ = false;
            refresh(kRedrawFull, kPanesAll);
        },
        Qt::QueuedConnection);
}

void MainWindow::refillLists() {
    for (const ListBand& entry : listBands()) lists_->fill(entry.id, app_->listContent(entry.id));
    // The lists change whenever a skin or map comes or goes.
    if (outsideEdits_) outsideEdits_->sync();
}

void MainWindow::meshLoaded() {
    // A model of any size opens filling the 3D pane, its skin the skin pane.
    app_->stopPlayback();
    app_->newModelSymmetry();
    if (preview_) preview_->sync();
    if (shell_) {
        frameModel(app_->mesh, shell_->isoView()->view().target());
        shell_->skinView()->fitSkin();
    }
}

void MainWindow::rebuildPaintRemap() { app_->rebuildPaintRemap(); }
void MainWindow::rebuildShadeRamps() { app_->rebuildShadeRamps(); }
void MainWindow::rebuildLightTable() { app_->rebuildLightTable(); }
void MainWindow::rebuildPhongShadeTable() { app_->rebuildPhongShadeTable(); }

void MainWindow::updateCommandStates() {
    actions_->setKeys(classicKeysEnabled(app_->settings()));
    if (brushSize_ && brushSize_->value() != app_->paint.tip.size) {
        const QSignalBlocker quiet(brushSize_);
        brushSize_->setValue(app_->paint.tip.size);
    }
    actions_->update([this](int id) { return app_->stateOf(id); });
    // Store and Save change no pane but do change the marks.
    updateSkinMarks();
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
    // Most models are called tris.md2: the path below the base folder tells them apart.
    QString name = QString::fromStdString(relativeToBase(app_->currentFile, app_->folders.base));
    setWindowTitle(QDir::fromNativeSeparators(name) + QStringLiteral("[*] - TARN"));
    setWindowModified(!app_->modifiedSkins().empty() || app_->mappingChanged());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (app_->confirmQuit())
        event->accept();
    else
        event->ignore();
}

}  // namespace tarn

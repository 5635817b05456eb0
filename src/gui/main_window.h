#pragma once
// The main frame window: menus, toolbar and keys from the command table, the
// six list boxes, the panes, and the refresh requests every command sends.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

#include "app/application.h"
#include "intro_window.h"
#include "platform/refresh.h"

class QComboBox;
class QSpinBox;

namespace tarn {

class AnimationPreview;
class CommandActions;
class IntroWindow;
class ListBar;
class OutsideEditWatch;
class ShellWidget;
class StatusLine;
class TextKeyGuard;

class MainWindow : public QMainWindow, public RefreshSink {
    Q_OBJECT
public:
    MainWindow(Ui& ui, SettingsStore& settings, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The smallest outer size the window can be given.
    static constexpr int kMinWidth = 516;
    static constexpr int kMinHeight = 360;

    Application& app() { return *app_; }
    // Start-up: base folder, command line, stored file or Open dialog, map
    // scans, first refresh. False when the run has to end.
    bool start(const StartupRequest& request);

    // The intro, at most once per run.
    void showIntro();
    IntroWindow* intro() const { return intro_; }

    QAction* action(int id) const;
    QComboBox* list(int id) const;
    ShellWidget* shell() const { return shell_; }
    StatusLine* statusLine() const { return status_; }
    AnimationPreview* preview() const { return preview_; }
    OutsideEditWatch* outsideEdits() const { return outsideEdits_; }
    // Runs command `id` as its menu item would.
    void runCommand(int id);

    // Watches the redraws a pane is asked for, beside the shell's own panes:
    // called with the redraw kind and the options bits (the request's bits
    // above the four pane bits).
    using PaneRedraw = std::function<void(int kind, int options)>;
    void watchPane(int paneBit, PaneRedraw redraw);

    // RefreshSink
    void refresh(int kind, int panes) override;
    void refreshAll() override;
    void refillLists() override;
    void rebuildPaintRemap() override;
    void rebuildShadeRamps() override;
    void rebuildLightTable() override;
    void rebuildPhongShadeTable() override;
    void meshLoaded() override;

    // Enabled, checked and text state of every action, and the title.
    void updateCommandStates();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void listChosen(int id, int index);
    // The View menu's sides, Reset View and Pixel Grid.
    void bindViewCommands();
    void addBrushSize();
    // The first size, within the screen's available area, centred there.
    void fitFirstSize();
    void updateTitle();
    // Marks the Skins list entries whose pixels are not stored.
    void updateSkinMarks();

    std::unique_ptr<Application> app_;
    std::unique_ptr<CommandActions> actions_;
    std::unique_ptr<ListBar> lists_;
    TextKeyGuard* keyGuard_ = nullptr;
    ShellWidget* shell_ = nullptr;
    QSpinBox* brushSize_ = nullptr;
    StatusLine* status_ = nullptr;
    AnimationPreview* preview_ = nullptr;
    OutsideEditWatch* outsideEdits_ = nullptr;
    QPointer<IntroWindow> intro_;
    bool introShown_ = false;
    // A RefreshAll redraw is waiting in the event queue.
    bool refreshAllPosted_ = false;
    // Pane redraws by bit position: SkinView, IsoView, GradientBox, PalBox.
    std::array<PaneRedraw, 4> panes_;
};

}  // namespace tarn

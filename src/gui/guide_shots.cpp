// Draws the pictures of the user guide from the real window, offscreen, on
// the bundled sample model, so the guide shows the program as it is:
//   tarn-guide-shots OUT_FOLDER BASE_FOLDER MODEL.md2
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTest>
#include <cstdio>

#include "app/command_ids.h"
#include "main_window.h"
#include "platform/settings.h"
#include "iso_view_widget.h"
#include "shell_widget.h"
#include "skin_view_widget.h"

namespace {

// Answers every question with No and every dialog with Cancel: a guide run
// changes nothing on disk.
class SilentUi final : public tarn::Ui {
public:
    void message(const std::string& text) override { std::fprintf(stderr, "message: %s\n", text.c_str()); }
    tarn::Answer ask(const std::string&, tarn::QuestionKind) override { return tarn::Answer::No; }
    std::optional<tarn::FileDialogResult> openFile(const tarn::FileDialogRequest&) override { return std::nullopt; }
    std::optional<tarn::FileDialogResult> saveFile(const tarn::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> browseFolder(const std::string&) override { return std::nullopt; }
};

bool save(QWidget* widget, const QString& folder, const char* name) {
    QApplication::processEvents();
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    if (widget->grab().save(path)) return true;
    std::fprintf(stderr, "tarn-guide-shots: could not write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fputs("usage: tarn-guide-shots OUT_FOLDER BASE_FOLDER MODEL.md2\n", stderr);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    tarn::MemorySettings settings;
    settings.setInt(tarn::kPreferences, "Skip Intro", 1);
    settings.setInt(tarn::kPreferences, "Quick Exit", 1);
    SilentUi ui;
    tarn::MainWindow window(ui, settings);
    window.resize(1100, 720);
    window.show();
    tarn::StartupRequest request;
    request.baseFolder = argv[2];
    request.commandLine = std::string("tarn -md2 ") + argv[3];
    if (!window.start(request) || !QTest::qWaitForWindowExposed(&window)) return 1;
    QTest::qWait(200);

    bool ok = save(&window, out, "window.png");
    window.runCommand(tarn::cmd::kMappingMode);
    window.runCommand(tarn::cmd::kSelectAll);
    ok = save(&window, out, "mapping.png") && ok;
    window.runCommand(tarn::cmd::kSelectNone);
    window.runCommand(tarn::cmd::kRectangleMode);
    ok = save(window.shell()->skinView(), out, "rectangle.png") && ok;
    window.runCommand(tarn::cmd::kRectangleMode);
    window.runCommand(tarn::cmd::kPaintMode);
    // Close enough to the skin for the texel grid to show.
    tarn::SkinViewWidget* skin = window.shell()->skinView();
    skin->view().setZoom(10.0f);
    skin->redraw(0);
    window.runCommand(tarn::cmd::kPixelGrid);
    ok = save(skin, out, "pixel-grid.png") && ok;
    window.runCommand(tarn::cmd::kPixelGrid);
    window.runCommand(tarn::cmd::kViewLeft);
    ok = save(window.shell()->isoView(), out, "view-left.png") && ok;
    return ok ? 0 : 1;
}

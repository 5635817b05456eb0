#pragma once
// A main window started the way a user starts it, on a copy of a real model
// and its skin in a temporary base folder.
#include <QTest>

#include <filesystem>
#include <memory>
#include <string>

#include "main_window.h"
#include "scripted_ui.h"
#include "shell_widget.h"
#include "skin_view_widget.h"
#include "test_files.h"

namespace tarn::test {

struct Session {
    ScriptedUi ui;
    MemorySettings settings;
    std::unique_ptr<MainWindow> window;

    bool start(const std::string& base, const std::string& model) {
        settings.setInt(kPreferences, "Skip Intro", 1);
        settings.setInt(kPreferences, "Quick Exit", 1);
        window = std::make_unique<MainWindow>(ui, settings);
        window->resize(1000, 700);
        window->show();
        StartupRequest request;
        request.baseFolder = base;
        request.commandLine = "tarn -md2 " + model;
        return window->start(request) && QTest::qWaitForWindowExposed(window.get());
    }
    Application& app() { return window->app(); }
};

// The male player with its usmc skin copied below `tmp`; returns the model
// path, or empty when the real test data is not there.
inline std::string copyRealPlayer(const TempDir& tmp) {
    namespace fs = std::filesystem;
    const std::string source = realTestData("q2-didux/baseq2");
    if (source.empty()) return {};
    const std::string base = tmp.file("baseq2");
    fs::create_directories(base + "/players/male");
    fs::create_directories(base + "/ne");
    fs::copy_file(source + "/players/male/tris.md2", base + "/players/male/tris.md2");
    fs::copy_file(source + "/ne/usmc.pcx", base + "/ne/usmc.pcx");
    return base + "/players/male/tris.md2";
}

}  // namespace tarn::test

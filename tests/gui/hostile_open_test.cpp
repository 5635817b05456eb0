// The window opening hostile models: each open ends at once with one message
// and a usable window, however many skins are missing or where they point.
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/command_ids.h"
#include "hostile_models.h"
#include "main_window.h"
#include "model/md2_commands.h"
#include "platform/fs.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

TEST(HostileOpen, EachModelOpensWithOneMessageListingItsMissingSkins) {
    std::vector<std::string> many;
    for (int i = 0; i < 32; ++i) many.push_back("models/m/skin" + std::to_string(i) + ".pcx");
    struct Case {
        const char* what;
        Bytes model;
        std::vector<std::string> missing;
    };
    const Case cases[] = {
        {"a skin name climbing to /dev/zero", test::devZeroModel(), {"../../../../../../../../dev/zero"}},
        {"32 missing skins of the largest size", test::skinNamesModel(many, 32767, 2048), many},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir tmp;
        const std::string base = tmp.file("baseq2");
        std::filesystem::create_directories(base);
        const std::string model = joinPath(base, "tris.md2");
        ASSERT_EQ(writeFileAtomic(model, c.model), 0);

        test::ScriptedUi ui;
        MemorySettings settings;
        settings.setInt(kPreferences, "Skip Intro", 1);
        settings.setInt(kPreferences, "Quick Exit", 1);
        MainWindow w{ui, settings};
        w.show();
        StartupRequest request;
        request.baseFolder = base;
        request.commandLine = "tarn -md2 " + model;
        ASSERT_TRUE(w.start(request));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

        std::string expected = kMsgSkinMissing;
        for (const std::string& name : c.missing) expected += "\n" + name;
        EXPECT_EQ(ui.messages(), std::vector<std::string>{expected});
        EXPECT_EQ(w.app().skins.count(), static_cast<int>(c.missing.size()));
        EXPECT_EQ(w.app().currentFile, model);
        w.close();
    }
}

}  // namespace
}  // namespace tarn

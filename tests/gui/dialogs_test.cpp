#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <functional>

#include "intro_sound.h"
#include "preferences_dialog.h"
#include "qt_ui.h"

#include "list_dialog.h"
#include "pack_dialog.h"

#include <QSpinBox>
#include <atomic>
#include <chrono>
#include <thread>

namespace tarn {
namespace {

// Runs `act` on the modal dialog as soon as it is shown.
void whenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
}

QPushButton* button(QWidget* dialog, QDialogButtonBox::StandardButton which) {
    return dialog->findChild<QDialogButtonBox*>()->button(which);
}

TEST(OffsetCompanionDialog, ShowsTheOffsetsAndReturnsTheEditedOnesOnOk) {
    QtUi ui;
    whenModal([](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Offset Companion Model");
        auto* x = d->findChild<QLineEdit*>("1000");
        auto* z = d->findChild<QLineEdit*>("1002");
        ASSERT_TRUE(x && z);
        EXPECT_EQ(x->text(), "1.5");
        EXPECT_EQ(d->findChild<QLineEdit*>("1001")->text(), "-0.333333");
        z->setText("oops");
        EXPECT_FALSE(button(d, QDialogButtonBox::Ok)->isEnabled());
        z->setText("12.25");
        button(d, QDialogButtonBox::Ok)->click();
    });
    auto r = ui.offsetCompanionModel({1.5f, -1.0f / 3.0f, 0.0f});
    ASSERT_TRUE(r.has_value());
    EXPECT_FLOAT_EQ(r->x, 1.5f);
    EXPECT_FLOAT_EQ(r->y, -0.333333f);
    EXPECT_FLOAT_EQ(r->z, 12.25f);

    whenModal([](QWidget* d) { button(d, QDialogButtonBox::Cancel)->click(); });
    EXPECT_FALSE(ui.offsetCompanionModel({}).has_value());
}

TEST(SnapshotDialogWidget, EnablingFollowsTheButtonsAndOkReturnsTheControls) {
    QtUi ui;
    whenModal([](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Snapshots");
        auto* width = d->findChild<QLineEdit*>("1007");
        auto* smoothing = d->findChild<QCheckBox*>("1015");
        auto* slider = d->findChild<QSlider*>("1013");
        ASSERT_TRUE(width && smoothing && slider);
        EXPECT_EQ(width->text(), "320");
        // Default, no true colour: sizes, smoothing and slider all off.
        EXPECT_FALSE(width->isEnabled());
        EXPECT_FALSE(smoothing->isEnabled());
        EXPECT_FALSE(slider->isEnabled());
        d->findChild<QRadioButton*>("1010")->click();
        EXPECT_TRUE(width->isEnabled());
        d->findChild<QCheckBox*>("1014")->click();
        EXPECT_TRUE(smoothing->isEnabled());
        EXPECT_FALSE(slider->isEnabled());
        smoothing->click();
        EXPECT_TRUE(slider->isEnabled());
        EXPECT_EQ(slider->maximum(), 9999);
        width->setText("15");
        slider->setValue(4000);
        button(d, QDialogButtonBox::Ok)->click();
    });
    SnapshotOptions initial;
    initial.width = 320;
    initial.height = 200;
    const auto chosen = ui.snapshotOptions(initial);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_TRUE(chosen->custom && chosen->trueColour && chosen->smoothing);
    EXPECT_EQ(chosen->width, 15);
    EXPECT_EQ(chosen->height, 200);
    EXPECT_EQ(chosen->sharpness, 4000);
}

TEST(PreferencesDialogWidget, FillsItsFieldsBrowsesAndPreviewsTheIntro) {
    PreferencesValues values;
    values.palettePath = "/data/colormap.pcx";
    values.phongPath = "/data/phongs";
    values.quickExit = true;
    int browsed = 0;
    PreferencesBrowsers browsers;
    browsers.phongFolder = [&] {
        ++browsed;
        return std::optional<std::string>("/elsewhere/phongs");
    };
    browsers.envFolder = [&] { return std::optional<std::string>(); };
    PreferencesDialog d(values, browsers);

    EXPECT_TRUE(d.findChild<QRadioButton*>("1011")->isChecked());
    EXPECT_EQ(d.findChild<QLineEdit*>("1005")->text(), "/data/colormap.pcx");
    EXPECT_TRUE(d.findChild<QCheckBox*>("1012")->isChecked());
    auto* intro = d.findChild<QComboBox*>("1021");
    ASSERT_EQ(intro->count(), 10);
    EXPECT_EQ(intro->currentText(), "Random");
    EXPECT_FALSE(d.findChild<QLineEdit*>("1015")->isEnabled());

    d.findChild<QPushButton*>("1008")->click();
    d.findChild<QPushButton*>("1014")->click();
    EXPECT_EQ(browsed, 1);
    EXPECT_EQ(d.findChild<QLineEdit*>("1007")->text(), "/elsewhere/phongs");

    emit intro->activated(3);
    EXPECT_TRUE(d.sound().playing());
    EXPECT_TRUE(d.previewRunning());
    intro->setCurrentIndex(9);
    emit intro->activated(9);  // no custom file: silent, no preview
    EXPECT_TRUE(d.findChild<QLineEdit*>("1015")->isEnabled());
    EXPECT_FALSE(d.sound().playing());

    d.findChild<QRadioButton*>("1004")->setChecked(true);
    d.findChild<QCheckBox*>("1013")->setChecked(true);
    PreferencesValues out = d.values();
    EXPECT_EQ(out.dirScanPrompt, 0);
    EXPECT_TRUE(out.palOnTop);
    EXPECT_EQ(out.introNumber, 9);
    EXPECT_EQ(out.phongPath, "/elsewhere/phongs");

    emit intro->activated(2);
    d.reject();
    EXPECT_FALSE(d.sound().playing());
    EXPECT_FALSE(d.previewRunning());
}

TEST(PackDialog, WorksOutOnlyTheLatestChoicesAwayFromTheWindow) {
    std::atomic<bool> release{false};
    std::atomic<int> runs{0}, stopped{0};
    PackIslandsShown shown;
    shown.values.margin = 2;
    shown.preview = [&](const PackIslandsValues& v, Progress& progress) -> PackIslandsShown::Preview {
        ++runs;
        while (!release.load() && !progress.stopped()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (progress.stopped()) {
            ++stopped;
            return {"stopped", true};
        }
        return {"margin " + std::to_string(v.margin), v.margin != 5};
    };
    {
        PackDialog d(shown);  // opens at once although its first preview waits
        auto* margin = d.findChild<QSpinBox*>("margin");
        auto* after = d.findChild<QLabel*>("after");
        QPushButton* ok = d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        EXPECT_TRUE(d.previewPending());
        EXPECT_FALSE(ok->isEnabled());
        for (int m : {3, 4, 5}) margin->setValue(m);
        release = true;
        ASSERT_TRUE(QTest::qWaitFor([&] { return !d.previewPending(); }, 5000));
        // The first run was stopped, the choices between never ran, and a
        // stopped run's answer is never shown.
        EXPECT_EQ(runs, 2);
        EXPECT_EQ(stopped, 1);
        EXPECT_EQ(after->text(), "margin 5");
        EXPECT_FALSE(ok->isEnabled());
        margin->setValue(6);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !d.previewPending(); }, 5000));
        EXPECT_EQ(after->text(), "margin 6");
        EXPECT_TRUE(ok->isEnabled());
        release = false;
        margin->setValue(7);
    }
    EXPECT_EQ(stopped, 2);  // closing the dialog stopped the run in flight
}

TEST(IntroSounds, EightDistinctWaveClips) {
    QByteArray first = IntroSound::clipWave(0);
    ASSERT_GT(first.size(), 44);
    EXPECT_TRUE(first.startsWith("RIFF"));
    EXPECT_EQ(first.mid(8, 8), "WAVEfmt ");
    for (int i = 1; i < kIntroClipCount; ++i) EXPECT_NE(IntroSound::clipWave(i), first) << i;
}

}  // namespace
}  // namespace tarn

#include "intro_window.h"
#include "main_window.h"
#include "scripted_ui.h"
#include "shell_widget.h"

namespace tarn {
namespace {

TEST(Intro, AnimatesUntilAKeyEndsItAndShowsOncePerRun) {
    test::ScriptedUi ui;
    MemorySettings settings;
    settings.setInt(kPreferences, "Quick Exit", 1);
    MainWindow w(ui, settings);
    w.showIntro();
    QPointer<IntroWindow> intro = w.intro();
    ASSERT_NE(intro, nullptr);
    EXPECT_TRUE(intro->isVisible());
    EXPECT_EQ(intro->size(), QSize(kIntroWidth, kIntroHeight));
    EXPECT_TRUE(intro->sound().playing());
    intro->step(1000);
    QTest::keyClick(intro, Qt::Key_A);
    QApplication::processEvents();
    EXPECT_TRUE(intro.isNull() || !intro->isVisible());
    w.showIntro();
    EXPECT_EQ(w.intro(), nullptr);
}

TEST(Intro, GivesWayToAPressAnywhereOrADialogAndSitsOverTheWindow) {
    struct Row {
        const char* what;
        std::function<void(MainWindow&)> act;
    };
    const std::vector<Row> rows = {
        {"key in the window", [](MainWindow& w) { QTest::keyClick(&w, Qt::Key_Period); }},
        {"click in a pane", [](MainWindow& w) { QTest::mouseClick(w.shell(), Qt::LeftButton); }},
        {"a message", [](MainWindow& w) {
             auto* box = new QMessageBox(QMessageBox::Information, "TARN", "x", QMessageBox::Ok, &w);
             box->setAttribute(Qt::WA_DeleteOnClose);
             box->show();
             box->close();
         }},
    };
    for (const Row& row : rows) {
        test::ScriptedUi ui;
        MemorySettings settings;
        settings.setInt(kPreferences, "Quick Exit", 1);
        MainWindow w(ui, settings);
        w.show();
        w.showIntro();
        QPointer<IntroWindow> intro = w.intro();
        ASSERT_NE(intro, nullptr);
        EXPECT_EQ(intro->geometry().center(), w.frameGeometry().center()) << row.what;
        row.act(w);
        QApplication::processEvents();
        EXPECT_TRUE(intro.isNull() || !intro->isVisible()) << row.what;
    }
}

TEST(Intro, EndsByItselfAfterItsTime) {
    QPointer<IntroWindow> intro = new IntroWindow(3, QString());
    intro->show();
    intro->step(kIntroMaxMs - 1);
    EXPECT_TRUE(intro->isVisible());
    intro->step(kIntroMaxMs + 1);
    QApplication::processEvents();
    EXPECT_TRUE(intro.isNull() || !intro->isVisible());
    if (intro) delete intro;
}

TEST(Intro, SkippedWithCtrlOrTheSetting) {
    MemorySettings settings;
    EXPECT_TRUE(introAllowed(false, settings));
    EXPECT_FALSE(introAllowed(true, settings));
    settings.setInt(kPreferences, "Skip Intro", 1);
    EXPECT_FALSE(introAllowed(false, settings));
    std::mt19937 rng(1);
    settings.setInt(kPreferences, "Intro Number", 9);
    EXPECT_EQ(introClip(settings, true, rng), kIntroCustomFile);
    int fallback = introClip(settings, false, rng);
    EXPECT_TRUE(fallback >= 0 && fallback < 8);
    settings.setInt(kPreferences, "Intro Number", 5);
    EXPECT_EQ(introClip(settings, false, rng), 5);
}

}  // namespace
}  // namespace tarn

namespace tarn {
namespace {

TEST(ResizeSkinsDialog, ShowsTheSkinSizeWithLimitsOnAndReturnsWhatWasEntered) {
    QtUi ui;
    whenModal([](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Resize Skins");
        auto* width = d->findChild<QLineEdit*>("1000");
        auto* enforce = d->findChild<QCheckBox*>("1009");
        ASSERT_TRUE(width && enforce);
        EXPECT_EQ(width->text(), "296");
        EXPECT_EQ(d->findChild<QLineEdit*>("1001")->text(), "180");
        EXPECT_TRUE(enforce->isChecked());
        width->setText("");
        EXPECT_FALSE(button(d, QDialogButtonBox::Ok)->isEnabled());
        width->setText("-8");  // accepted here, refused by the command with its message
        enforce->setChecked(false);
        button(d, QDialogButtonBox::Ok)->click();
    });
    auto r = ui.resizeSkins({296, 180, true});
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->width, -8);
    EXPECT_EQ(r->height, 180);
    EXPECT_FALSE(r->enforceLimits);

    whenModal([](QWidget* d) { button(d, QDialogButtonBox::Cancel)->click(); });
    EXPECT_FALSE(ui.resizeSkins({1, 1, true}).has_value());
}

}  // namespace
}  // namespace tarn

#include <QFileDialog>

#include <filesystem>

#include "image/skin_commands.h"
#include "test_files.h"

namespace tarn {
namespace {

// Qt's own dialog would only open a file its list shows; TARN's open dialog
// takes a typed path from anywhere, a name without the chosen type's
// extension, and says so when the file is not there.
TEST(OpenFileDialog, TakesTypedPathsFromAnywhereAndRefusesMissingFiles) {
    test::TempDir dir;
    const std::string skin = dir.file("elsewhere/skin.png");
    std::filesystem::create_directories(dir.file("elsewhere"));
    std::filesystem::create_directories(dir.file("start"));
    ASSERT_EQ(writeFileAtomic(skin, Bytes{1, 2, 3}), 0);
    FileDialogRequest request;
    request.filter = kSkinOpenFilter;
    request.startFolder = dir.file("start");
    request.mustExist = true;
    QtUi ui;
    struct Case {
        std::string typed;
        QString filter;    // the type chosen, empty for the first
        int filterIndex;   // what the dialog returns, 0 when it stays open
    };
    const Case cases[] = {
        {skin, {}, 1},
        {dir.file("elsewhere/skin"), "PNG Image (*.png)", 3},
        {dir.file("elsewhere/none.pcx"), {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        bool warned = false;
        whenModal([&](QWidget* d) {
            auto* dialog = qobject_cast<QFileDialog*>(d);
            ASSERT_NE(dialog, nullptr);
            if (!c.filter.isEmpty()) dialog->selectNameFilter(c.filter);
            // Should the dialog not take the name, the test fails instead of waiting.
            QTimer::singleShot(2000, dialog, [dialog] {
                if (QWidget* top = QApplication::activeModalWidget(); top && top != dialog) top->close();
                dialog->reject();
            });
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            name->setText(QString::fromStdString(c.typed));
            if (c.filterIndex == 0) {
                // The warning comes up over the dialog, which stays open after it.
                QTimer::singleShot(0, dialog, [&warned, dialog] {
                    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                    warned = box != nullptr && box->text().contains("File not found.");
                    if (box) box->close();
                    QTimer::singleShot(0, dialog, &QDialog::reject);
                });
            }
            QTest::keyClick(name, Qt::Key_Return);
        });
        const auto chosen = ui.openFile(request);
        EXPECT_EQ(warned, c.filterIndex == 0);
        ASSERT_EQ(chosen.has_value(), c.filterIndex != 0);
        if (!chosen) continue;
        EXPECT_EQ(chosen->path, c.typed);
        EXPECT_EQ(chosen->filterIndex, c.filterIndex);
    }
}

// Typing narrows the list and the count follows; whole path segments rank
// first; the keys that move through a list move it from the field.
TEST(ListDialogWidget, TheFieldFiltersRanksCountsAndMovesTheList) {
    ListDialog dialog("Open from PAK", {"players/female/tris.md2", "players/male/tris.md2", "players/male/w_bfg.md2",
                                        "players/cyborg/tris.md2"});
    EXPECT_EQ(dialog.countLabel()->text(), "4 files");
    QTest::keyClicks(dialog.filterField(), "male tris");
    EXPECT_EQ(dialog.countLabel()->text(), "2 of 4 files");
    EXPECT_EQ(dialog.chosen(), "players/male/tris.md2");
    QTest::keyClick(dialog.filterField(), Qt::Key_Down);
    EXPECT_EQ(dialog.chosen(), "players/female/tris.md2");
    QTest::keyClick(dialog.filterField(), Qt::Key_PageUp);
    EXPECT_EQ(dialog.chosen(), "players/male/tris.md2");
    EXPECT_EQ(dialog.filterField()->text(), "male tris");
    dialog.filterField()->setText("bf");
    EXPECT_EQ(dialog.chosen(), "players/male/w_bfg.md2") << "inside a segment still matches";
}

}  // namespace
}  // namespace tarn

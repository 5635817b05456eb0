#pragma once
// The real Ui: Qt message boxes titled "TARN" and Qt file dialogs.
#include <QPointer>
#include <QWidget>

#include "platform/ui.h"

namespace tarn {

class QtUi : public Ui {
public:
    explicit QtUi(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(const std::string& text) override;
    Answer ask(const std::string& text, QuestionKind kind) override;
    std::optional<FileDialogResult> openFile(const FileDialogRequest& request) override;
    std::optional<FileDialogResult> saveFile(const FileDialogRequest& request) override;
    std::optional<std::string> browseFolder(const std::string& title) override;
    std::optional<CompanionOffsets> offsetCompanionModel(const CompanionOffsets& current) override;
    std::optional<ResizeSkinsValues> resizeSkins(const ResizeSkinsValues& current) override;
    std::optional<PackIslandsValues> packIslands(const PackIslandsShown& shown) override;
    std::optional<LayoutChoices> layoutChoices(const LayoutChoices& initial) override;
    void aboutStatistics(const std::vector<StatisticsRow>& rows) override;
    void showTable(const std::string& title, const std::vector<std::string>& rows) override;
    bool openDocument(const std::string& path) override;
    // The work on a thread of its own; see progress_run.cpp.
    bool runWithProgress(const std::string& title, const ProgressWork& work) override;
    std::optional<MapFromViewOptions> mapFromView(const MapFromViewOptions& defaults) override;
    std::optional<int> retroMapPadding(int current) override;
    std::optional<SnapshotOptions> snapshotOptions(const SnapshotOptions& initial) override;
    std::optional<std::string> chooseFromList(const std::string& title,
                                              const std::vector<std::string>& entries) override;
    std::optional<PreferencesValues> editPreferences(const PreferencesValues& current,
                                                     const PreferencesBrowsers& browsers) override;
    // The system clipboard (qt_clipboard.cpp).
    void putClipboardImage(const std::vector<std::uint8_t>& indexedPng) override;
    std::optional<ClipboardImage> clipboardImage() override;

private:
    std::optional<FileDialogResult> runFileDialog(const FileDialogRequest& request, bool save);
    QPointer<QWidget> parent_;
};

}  // namespace tarn

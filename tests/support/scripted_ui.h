#pragma once
// A Ui for tests: records everything shown, answers from a prepared queue, and
// fails the test loudly when a dialog appears that the test did not prepare.
#include <any>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace tarn::test {

class ScriptedUi : public tarn::Ui {
public:
    ~ScriptedUi() override;

    // Prepared answers, consumed in order by whatever dialog comes next.
    ScriptedUi& answer(Answer a);
    ScriptedUi& openFile(std::optional<FileDialogResult> r);
    ScriptedUi& openFile(const std::string& path, int filterIndex = 1) {
        return openFile(FileDialogResult{path, filterIndex});
    }
    ScriptedUi& saveFile(std::optional<FileDialogResult> r);
    ScriptedUi& saveFile(const std::string& path, int filterIndex = 1) {
        return saveFile(FileDialogResult{path, filterIndex});
    }
    ScriptedUi& folder(std::optional<std::string> path);
    // For custom dialogs: the value a dialog of `kind` returns (std::nullopt-like
    // cancel is expressed by the dialog's own record).
    ScriptedUi& custom(const std::string& kind, std::any value);

    // What was shown, in order: "message: <text>", "question: <text>",
    // "open: <filter>", "save: <filter>", "folder: <title>", "<kind>: ...".
    std::vector<std::string> shown;
    // The rows of the last table shown ("table: <title>" in `shown`).
    std::vector<std::string> tableRows;
    // The texts of plain messages only.
    std::vector<std::string> messages() const;
    // The requests of file dialogs, in order.
    std::vector<FileDialogRequest> fileRequests;
    std::vector<QuestionKind> questionKinds;
    bool allConsumed() const { return steps_.empty(); }

    void message(const std::string& text) override;
    void showTable(const std::string& title, const std::vector<std::string>& rows) override {
        shown.push_back("table: " + title);
        tableRows = rows;
    }
    // Records "document: <path>" and opens nothing.
    bool openDocument(const std::string& path) override {
        shown.push_back("document: " + path);
        return true;
    }
    // The system clipboard: what a copy put there, or another program's image
    // a test puts there.
    std::optional<ClipboardImage> clipboard;
    void putClipboardImage(const std::vector<std::uint8_t>& indexedPng) override {
        clipboard = ClipboardImage{indexedPng, 0, 0, {}};
    }
    std::optional<ClipboardImage> clipboardImage() override { return clipboard; }
    Answer ask(const std::string& text, QuestionKind kind) override;
    std::optional<FileDialogResult> openFile(const FileDialogRequest& request) override;
    std::optional<FileDialogResult> saveFile(const FileDialogRequest& request) override;
    std::optional<std::string> browseFolder(const std::string& title) override;
    // Answers with custom("offsetCompanionModel", CompanionOffsets or
    // std::optional<CompanionOffsets>); an empty optional is Cancel.
    std::optional<CompanionOffsets> offsetCompanionModel(const CompanionOffsets& current) override;

    // Answers with custom("resizeSkins", ResizeSkinsValues or
    // std::optional<ResizeSkinsValues>); an empty optional is Cancel.
    std::optional<ResizeSkinsValues> resizeSkins(const ResizeSkinsValues& current) override;
    // Answers with custom("packIslands", PackIslandsValues or
    // std::optional<PackIslandsValues>); keeps what the dialog was shown.
    std::optional<PackIslandsValues> packIslands(const PackIslandsShown& dialog) override;
    PackIslandsShown packShown;

    // Answers with custom("preferences", X) where X is PreferencesValues (OK
    // with them), std::optional<PreferencesValues> (empty: Cancel) or a
    // PreferencesScript that can press the browse buttons first.
    using PreferencesScript = std::function<std::optional<PreferencesValues>(
        const PreferencesValues& shown, const PreferencesBrowsers& browsers)>;
    std::optional<PreferencesValues> editPreferences(const PreferencesValues& current,
                                                     const PreferencesBrowsers& browsers) override;

    // Answers with custom("mapFromView", MapFromViewOptions or
    // std::optional<MapFromViewOptions>); an empty optional is Cancel.
    std::optional<MapFromViewOptions> mapFromView(const MapFromViewOptions& defaults) override;
    // Answers with custom("retroMapPadding", int or std::optional<int>).
    std::optional<int> retroMapPadding(int current) override;
    // Answers with custom("snapshot", SnapshotOptions or
    // std::optional<SnapshotOptions>); records the initial size it was given.
    std::optional<SnapshotOptions> snapshotOptions(const SnapshotOptions& initial) override;
    // Answers with custom("chooseFromList", std::string) or
    // std::optional<std::string> (empty: Cancel); records "chooseFromList: <title>"
    // and keeps the entries offered.
    std::optional<std::string> chooseFromList(const std::string& title,
                                              const std::vector<std::string>& entries) override;
    std::vector<std::string> listOffered;

    // Runs the work at once and records its title in `progressTitles`; with
    // `cancelProgress` the Cancel is pressed before the work starts, from the
    // run numbered `cancelFrom` on (counting from 0).
    bool runWithProgress(const std::string& title, const ProgressWork& work) override {
        progressTitles.push_back(title);
        Progress progress;
        if (cancelProgress && progressTitles.size() > cancelFrom) progress.stop();
        work(progress);
        return !progress.stopped();
    }
    std::vector<std::string> progressTitles;
    bool cancelProgress = false;
    std::size_t cancelFrom = 0;

    // The About box needs no answer: it records "about" in `shown` and keeps the rows.
    void aboutStatistics(const std::vector<StatisticsRow>& rows) override;
    std::vector<StatisticsRow> aboutRows;

    // For Ui implementations of custom dialogs in later code: takes the next
    // step, which must be a custom step of `kind`, or fails the test.
    std::any takeCustom(const std::string& kind, const std::string& description);

private:
    struct Step {
        enum Kind { Question, Open, Save, Folder, Custom } kind = Question;
        Answer answer = Answer::Cancel;
        std::optional<FileDialogResult> file;
        std::optional<std::string> folder;
        std::string customKind;
        std::any value;
    };
    // Appends a prepared answer of `kind` for the caller to fill in.
    Step& queue(Step::Kind kind);
    std::optional<Step> take(Step::Kind kind, const std::string& what);
    std::deque<Step> steps_;
};

}  // namespace tarn::test

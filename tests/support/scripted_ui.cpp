#include "scripted_ui.h"

#include <gtest/gtest.h>

namespace tarn::test {

namespace {
const char* kindName(int k) {
    static const char* names[] = {"question", "open dialog", "save dialog", "folder browser", "custom dialog"};
    return names[k];
}
}  // namespace

ScriptedUi::~ScriptedUi() {
    if (!steps_.empty())
        ADD_FAILURE() << steps_.size() << " prepared answer(s) were never asked for; first is a "
                      << kindName(steps_.front().kind);
}

ScriptedUi::Step& ScriptedUi::queue(Step::Kind kind) {
    Step& s = steps_.emplace_back();
    s.kind = kind;
    return s;
}

ScriptedUi& ScriptedUi::answer(Answer a) {
    queue(Step::Question).answer = a;
    return *this;
}

ScriptedUi& ScriptedUi::openFile(std::optional<FileDialogResult> r) {
    queue(Step::Open).file = std::move(r);
    return *this;
}

ScriptedUi& ScriptedUi::saveFile(std::optional<FileDialogResult> r) {
    queue(Step::Save).file = std::move(r);
    return *this;
}

ScriptedUi& ScriptedUi::folder(std::optional<std::string> path) {
    queue(Step::Folder).folder = std::move(path);
    return *this;
}

ScriptedUi& ScriptedUi::custom(const std::string& kind, std::any value) {
    Step& s = queue(Step::Custom);
    s.customKind = kind;
    s.value = std::move(value);
    return *this;
}

std::vector<std::string> ScriptedUi::messages() const {
    std::vector<std::string> out;
    const std::string prefix = "message: ";
    for (const auto& s : shown)
        if (s.rfind(prefix, 0) == 0) out.push_back(s.substr(prefix.size()));
    return out;
}

std::optional<ScriptedUi::Step> ScriptedUi::take(Step::Kind kind, const std::string& what) {
    if (steps_.empty()) {
        ADD_FAILURE() << "Unprepared " << kindName(kind) << " appeared: " << what;
        return std::nullopt;
    }
    if (steps_.front().kind != kind) {
        ADD_FAILURE() << "A " << kindName(kind) << " appeared (" << what << ") where the test prepared a "
                      << kindName(steps_.front().kind);
        return std::nullopt;
    }
    Step s = steps_.front();
    steps_.pop_front();
    return s;
}

void ScriptedUi::message(const std::string& text) { shown.push_back("message: " + text); }

Answer ScriptedUi::ask(const std::string& text, QuestionKind kind) {
    shown.push_back("question: " + text);
    questionKinds.push_back(kind);
    auto s = take(Step::Question, text);
    if (!s) return kind == QuestionKind::YesNo ? Answer::No : Answer::Cancel;
    return s->answer;
}

std::optional<FileDialogResult> ScriptedUi::openFile(const FileDialogRequest& request) {
    shown.push_back("open: " + request.filter);
    fileRequests.push_back(request);
    auto s = take(Step::Open, request.filter);
    return s ? s->file : std::nullopt;
}

std::optional<FileDialogResult> ScriptedUi::saveFile(const FileDialogRequest& request) {
    shown.push_back("save: " + request.filter);
    fileRequests.push_back(request);
    auto s = take(Step::Save, request.filter);
    return s ? s->file : std::nullopt;
}

std::optional<std::string> ScriptedUi::browseFolder(const std::string& title) {
    shown.push_back("folder: " + title);
    auto s = take(Step::Folder, title);
    return s ? s->folder : std::nullopt;
}

namespace {

// A custom dialog's prepared answer: the record itself (OK with it) or an
// optional of it (empty: Cancel); anything else is Cancel.
template <class T>
std::optional<T> answerOf(const std::any& value) {
    if (const auto* plain = std::any_cast<T>(&value)) return *plain;
    const auto* answer = std::any_cast<std::optional<T>>(&value);
    return answer ? *answer : std::nullopt;
}

}  // namespace

std::any ScriptedUi::takeCustom(const std::string& kind, const std::string& description) {
    shown.push_back(kind + ": " + description);
    auto s = take(Step::Custom, kind + ": " + description);
    if (!s) return {};
    if (s->customKind != kind) {
        ADD_FAILURE() << "Custom dialog " << kind << " appeared where the test prepared " << s->customKind;
        return {};
    }
    return s->value;
}

std::optional<CompanionOffsets> ScriptedUi::offsetCompanionModel(const CompanionOffsets& current) {
    const std::any value =
        takeCustom("offsetCompanionModel", std::to_string(current.x) + " " +
                                               std::to_string(current.y) + " " +
                                               std::to_string(current.z));
    return answerOf<CompanionOffsets>(value);
}

std::optional<MapFromViewOptions> ScriptedUi::mapFromView(const MapFromViewOptions& defaults) {
    const std::any value = takeCustom("mapFromView", defaults.parallel ? "parallel" : "perspective");
    return answerOf<MapFromViewOptions>(value);
}

std::optional<ResizeSkinsValues> ScriptedUi::resizeSkins(const ResizeSkinsValues& current) {
    const std::any value = takeCustom("resizeSkins", std::to_string(current.width) + " x " +
                                                         std::to_string(current.height));
    return answerOf<ResizeSkinsValues>(value);
}

std::optional<PackIslandsValues> ScriptedUi::packIslands(const PackIslandsShown& dialog) {
    packShown = dialog;
    return answerOf<PackIslandsValues>(takeCustom("packIslands", std::to_string(dialog.wastedBefore) + "%"));
}

std::optional<SnapshotOptions> ScriptedUi::snapshotOptions(const SnapshotOptions& initial) {
    const std::any value = takeCustom("snapshot", std::to_string(initial.width) + "x" + std::to_string(initial.height));
    return answerOf<SnapshotOptions>(value);
}

std::optional<std::string> ScriptedUi::chooseFromList(const std::string& title,
                                                      const std::vector<std::string>& entries) {
    listOffered = entries;
    const std::any value = takeCustom("chooseFromList", title);
    return answerOf<std::string>(value);
}

std::optional<PreferencesValues> ScriptedUi::editPreferences(const PreferencesValues& current,
                                                             const PreferencesBrowsers& browsers) {
    const std::any value = takeCustom("preferences", current.palettePath);
    if (const auto* script = std::any_cast<PreferencesScript>(&value)) return (*script)(current, browsers);
    return answerOf<PreferencesValues>(value);
}

std::optional<int> ScriptedUi::retroMapPadding(int current) {
    return answerOf<int>(takeCustom("retroMapPadding", std::to_string(current)));
}

void ScriptedUi::aboutStatistics(const std::vector<StatisticsRow>& rows) {
    shown.push_back("about");
    aboutRows = rows;
}

}  // namespace tarn::test

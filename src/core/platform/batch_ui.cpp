#include "platform/batch_ui.h"

#include <utility>

#include <ostream>

namespace tarn {

namespace {
const char* answerName(Answer a) {
    switch (a) {
    case Answer::Ok: return "OK";
    case Answer::Yes: return "Yes";
    case Answer::No: return "No";
    case Answer::Cancel: return "Cancel";
    }
    return "?";
}
}  // namespace

BatchUi::BatchUi(std::ostream& out, std::string prefix) : out_(out), prefix_(std::move(prefix)) {}

void BatchUi::message(const std::string& text) {
    messages_.push_back(text);
    out_ << prefix_ << text << '\n';
}

Answer BatchUi::ask(const std::string& text, QuestionKind kind) {
    Answer a = kind == QuestionKind::YesNo ? yesNo : yesNoCancel;
    messages_.push_back(text);
    out_ << prefix_ << text << " [" << answerName(a) << "]\n";
    return a;
}

std::optional<FileDialogResult> BatchUi::openFile(const FileDialogRequest&) { return std::nullopt; }
std::optional<FileDialogResult> BatchUi::saveFile(const FileDialogRequest&) { return std::nullopt; }
std::optional<std::string> BatchUi::browseFolder(const std::string&) { return std::nullopt; }

}  // namespace tarn

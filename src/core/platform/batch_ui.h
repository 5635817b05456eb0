#pragma once
// A Ui that never waits: every text goes to a stream (stderr for tarn-cli) and
// every question takes a fixed default answer. Dialogs are cancelled.
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace tarn {

class BatchUi final : public Ui {
public:
    // Every text is written after `prefix` ("tarn-cli resave: "), so that each
    // line says which command it comes from.
    explicit BatchUi(std::ostream& out, std::string prefix = {});

    // Yes/No questions answer `yesNo` (default No); Yes/No/Cancel questions
    // answer `yesNoCancel` (default No: keep going without saving anything).
    Answer yesNo = Answer::No;
    Answer yesNoCancel = Answer::No;

    void message(const std::string& text) override;
    Answer ask(const std::string& text, QuestionKind kind) override;
    std::optional<FileDialogResult> openFile(const FileDialogRequest& request) override;
    std::optional<FileDialogResult> saveFile(const FileDialogRequest& request) override;
    std::optional<std::string> browseFolder(const std::string& title) override;

    const std::vector<std::string>& messages() const { return messages_; }

private:
    std::ostream& out_;
    std::string prefix_;
    std::vector<std::string> messages_;
};

}  // namespace tarn

#include "qt_ui.h"

#include <QFileDialog>
#include <QMessageBox>

#include "about_dialog.h"
#include "map_from_view_dialog.h"
#include "list_dialog.h"
#include "offset_dialog.h"
#include "resize_dialog.h"
#include "preferences_dialog.h"
#include "snapshot_dialog.h"
#include "platform/dialogs.h"

namespace tarn {

namespace {
const QString kTitle = QStringLiteral("TARN");
}

void QtUi::message(const std::string& text) {
    QMessageBox::information(parent_, kTitle, QString::fromStdString(text));
}

Answer QtUi::ask(const std::string& text, QuestionKind kind) {
    QMessageBox box(parent_);
    box.setWindowTitle(kTitle);
    box.setText(QString::fromStdString(text));
    if (kind == QuestionKind::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setIcon(QMessageBox::Warning);
    } else {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setIcon(kind == QuestionKind::YesNoCancelIcon ? QMessageBox::Question : QMessageBox::NoIcon);
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return kind == QuestionKind::YesNo ? Answer::No : Answer::Cancel;
    }
}

std::optional<FileDialogResult> QtUi::runFileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(parent_, QString::fromStdString(request.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile
                            : (request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
    QStringList filters;
    for (const auto& f : toQtNameFilters(request.filter)) filters << QString::fromStdString(f);
    dialog.setNameFilters(filters);
    if (!request.startFolder.empty()) dialog.setDirectory(QString::fromStdString(request.startFolder));
    // A wildcard initial name is the Windows way of pre-selecting a filter; Qt
    // would take it literally as a file name.
    if (!request.initialName.empty() && request.initialName.find('*') == std::string::npos)
        dialog.selectFile(QString::fromStdString(request.initialName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    FileDialogResult r;
    r.path = QDir::toNativeSeparators(dialog.selectedFiles().first()).toStdString();
    r.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (r.filterIndex < 1) r.filterIndex = 1;
    return r;
}

std::optional<FileDialogResult> QtUi::openFile(const FileDialogRequest& request) {
    return runFileDialog(request, false);
}

std::optional<FileDialogResult> QtUi::saveFile(const FileDialogRequest& request) {
    return runFileDialog(request, true);
}

std::optional<std::string> QtUi::browseFolder(const std::string& title) {
    QString dir = QFileDialog::getExistingDirectory(parent_, QString::fromStdString(title));
    if (dir.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(dir).toStdString();
}

std::optional<CompanionOffsets> QtUi::offsetCompanionModel(const CompanionOffsets& current) {
    OffsetDialog dialog(current, parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.offsets();
}

std::optional<MapFromViewOptions> QtUi::mapFromView(const MapFromViewOptions& defaults) {
    MapFromViewDialog dialog(defaults, parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.options();
}

std::optional<SnapshotOptions> QtUi::snapshotOptions(const SnapshotOptions& initial) {
    SnapshotDialog dialog(initial, parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.options();
}

std::optional<ResizeSkinsValues> QtUi::resizeSkins(const ResizeSkinsValues& current) {
    ResizeDialog dialog(current, parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.values();
}

std::optional<std::string> QtUi::chooseFromList(const std::string& title, const std::vector<std::string>& entries) {
    QStringList items;
    for (const std::string& e : entries) items << QString::fromStdString(e);
    ListDialog dialog(QString::fromStdString(title), items, parent_);
    if (dialog.exec() != QDialog::Accepted || dialog.chosen().isEmpty()) return std::nullopt;
    return dialog.chosen().toStdString();
}

void QtUi::aboutStatistics(const std::vector<StatisticsRow>& rows) {
    AboutDialog dialog(rows, parent_);
    dialog.exec();
}

std::optional<PreferencesValues> QtUi::editPreferences(const PreferencesValues& current,
                                                       const PreferencesBrowsers& browsers) {
    PreferencesDialog dialog(current, browsers, parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.values();
}

}  // namespace tarn

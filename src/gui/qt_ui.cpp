#include "qt_ui.h"

#include <memory>

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMessageBox>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <QRegularExpression>

#include "about_dialog.h"
#include "map_from_view_dialog.h"
#include "list_dialog.h"
#include "offset_dialog.h"
#include "layout_dialog.h"
#include "pack_dialog.h"
#include "resize_dialog.h"
#include "preferences_dialog.h"
#include "snapshot_dialog.h"
#include "edit/seam_padding.h"
#include "platform/dialogs.h"

namespace tarn {

namespace {
const QString kTitle = QStringLiteral("TARN");

// Qt's own file dialog enables Open for a typed name only when its list shows
// that file, so a full path typed from another folder, or a file the chosen
// type hides, could not be opened at all. An open dialog that needs an
// existing file therefore takes any name and checks it on Open itself, as the
// Windows dialog does.
class OpenDialog : public QFileDialog {
public:
    OpenDialog(QWidget* parent, const QString& title) : QFileDialog(parent, title) {
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::AnyFile);
    }

protected:
    void accept() override {
        const QStringList files = selectedFiles();
        if (!files.isEmpty() && !found(files.first())) {
            QMessageBox::warning(this, kTitle,
                                 QDir::toNativeSeparators(files.first()) +
                                     "\nFile not found.\nCheck the file name and try again.");
            return;
        }
        QFileDialog::accept();  // a folder is opened in the dialog, as before
    }

private:
    // The name as typed, or with the chosen type's extension, which the
    // commands add to a name that has none.
    bool found(const QString& path) const {
        const QFileInfo typed(path);
        if (typed.exists()) return true;
        static const QRegularExpression extension(QStringLiteral(R"(\*(\.[^\s;)*]+))"));
        const QRegularExpressionMatch m = extension.match(selectedNameFilter());
        return typed.suffix().isEmpty() && m.hasMatch() && QFileInfo(path + m.captured(1)).isFile();
    }
};
}  // namespace

void QtUi::message(const std::string& text) {
    QMessageBox::information(parent_, kTitle, QString::fromStdString(text));
}

Answer QtUi::ask(const std::string& text, QuestionKind kind) {
    QMessageBox box(parent_);
    box.setWindowTitle(kTitle);
    box.setText(QString::fromStdString(text));
    if (kind == QuestionKind::SaveDiscardCancel) {
        box.setStandardButtons(QMessageBox::SaveAll | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::SaveAll);
        box.setIcon(QMessageBox::Question);
        switch (box.exec()) {
        case QMessageBox::SaveAll: return Answer::Yes;
        case QMessageBox::Discard: return Answer::No;
        default: return Answer::Cancel;
        }
    }
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
    const QString title = QString::fromStdString(request.title);
    std::unique_ptr<QFileDialog> owned;
    if (!save && request.mustExist) owned = std::make_unique<OpenDialog>(parent_, title);
    else owned = std::make_unique<QFileDialog>(parent_, title);
    QFileDialog& dialog = *owned;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
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

std::optional<int> QtUi::retroMapPadding(int current) {
    bool ok = false;
    const int padding = QInputDialog::getInt(parent_, QStringLiteral("Retro-Map"),
                                             QStringLiteral("Padding around the islands (texels):"), current, 0,
                                             kMaxSeamPadding, 1, &ok);
    if (!ok) return std::nullopt;
    return padding;
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

std::optional<PackIslandsValues> QtUi::packIslands(const PackIslandsShown& shown) {
    PackDialog dialog(shown, parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.values();
}

std::optional<LayoutChoices> QtUi::layoutChoices(const LayoutChoices& initial) {
    LayoutDialog dialog(initial, parent_);
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

void QtUi::showTable(const std::string& title, const std::vector<std::string>& rows) {
    QDialog dialog(parent_);
    dialog.setWindowTitle(QString::fromStdString(title));
    auto* layout = new QVBoxLayout(&dialog);
    auto* table = new QTableWidget(static_cast<int>(rows.size()), 2, &dialog);
    table->setObjectName(QStringLiteral("table"));
    table->setHorizontalHeaderLabels({QStringLiteral("Command"), QStringLiteral("Keys")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const QStringList columns = QString::fromStdString(rows[std::size_t(r)]).split(QLatin1Char('\t'));
        for (int col = 0; col < 2 && col < columns.size(); ++col)
            table->setItem(r, col, new QTableWidgetItem(columns[col]));
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(560, 640);
    dialog.exec();
}

bool QtUi::openDocument(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

std::optional<PreferencesValues> QtUi::editPreferences(const PreferencesValues& current,
                                                       const PreferencesBrowsers& browsers) {
    PreferencesDialog dialog(current, browsers, parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.values();
}

}  // namespace tarn

// Long work on a thread of its own while the window stays live: the window
// keeps painting, and after a short while a progress dialog with Cancel
// shows how far the work got. Until the dialog shows, clicks and keys wait,
// so nothing can start or change under the work.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <exception>
#include <thread>

#include "qt_ui.h"

namespace tarn {

namespace {
// Work done sooner than this shows no dialog.
constexpr int kQuietMs = 250;
constexpr int kPollMs = 20;
// QProgressDialog counts in int: totals are scaled into this.
constexpr int kBarSteps = 1000;
}  // namespace

bool QtUi::runWithProgress(const std::string& title, const ProgressWork& work) {
    Progress progress;
    std::atomic<bool> finished{false};
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        finished.store(true);
    });

    QProgressDialog dialog(QString::fromStdString(title) + QStringLiteral("..."), QStringLiteral("Cancel"), 0, 0,
                           parent_);
    dialog.setWindowTitle(QStringLiteral("TARN"));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    dialog.setMinimumDuration(std::numeric_limits<int>::max());  // shown here, not by Qt's own clock
    dialog.setObjectName(QStringLiteral("progressDialog"));
    QObject::connect(&dialog, &QProgressDialog::canceled, [&] {
        progress.stop();
        dialog.setLabelText(QStringLiteral("Cancelling..."));
    });

    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    poll.setInterval(kPollMs);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (finished.load()) {
            loop.quit();
            return;
        }
        if (!dialog.isVisible() && clock.elapsed() >= kQuietMs) {
            dialog.show();
            loop.quit();  // on again without holding back the user's input, which now meets the dialog
            return;
        }
        const long long total = progress.total();
        if (total > 0) {
            dialog.setMaximum(kBarSteps);
            dialog.setValue(static_cast<int>(std::min<long long>(progress.done(), total) * kBarSteps / total));
        }
    });
    poll.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!finished.load()) loop.exec();
    poll.stop();
    worker.join();
    dialog.hide();
    if (failure) std::rethrow_exception(failure);
    return !progress.stopped();
}

}  // namespace tarn

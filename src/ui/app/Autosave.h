#pragma once
// Recovery copies of the main window's unsaved work. While the project has
// unsaved changes a copy is written every interval (the "AutosaveSeconds"
// setting) and once more about five seconds after the last change of a
// burst. The window's thread only copies the workspace; one worker thread
// writes the copies (core's RecoveryWriter) and removes them, in the order
// asked. The copy goes when the project counts as unchanged again (saved,
// replaced, undone back to its files) and when the window closes.
//
// Nothing happens until enable() names the recovery folder: the editor's
// start does that with the application data folder of the platform; tests
// give a folder of their own.

#include "core/project/Recovery.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <mutex>

class QThreadPool;

namespace qm::ui {

class CMainFrame;

class Autosave : public QObject {
    Q_OBJECT
public:
    static constexpr int BURST_DELAY_MS = 5000;

    explicit Autosave(CMainFrame& frame);
    ~Autosave() override;

    // Starts keeping copies under root, one every intervalSeconds; with 0
    // none are written, but copies left by other runs are still offered and
    // removed. The folder of the platform is standardRoot().
    void enable(const QString& root, int intervalSeconds);
    static QString standardRoot();
    bool enabled() const { return writer_ != nullptr; }
    QString root() const { return root_; }
    // The editor's own copy folder; empty while it has none.
    QString folder();

    // The project's change flags changed: restarts the burst timer while it
    // has unsaved changes, removes the copy when it has none.
    void projectChanged();
    // Copies the workspace now and has the worker write it.
    void writeNow();
    // Removes the copy (close, exit, discarded changes).
    void removeCopy();
    // Waits until the worker has done everything asked of it.
    void waitForWorker();

    // At start: asks about each copy left by an editor that is gone (after
    // telling of damaged ones), opens the first one answered Yes as the
    // project, deletes those answered No. True when one was opened.
    bool offerRecovery();

    QTimer& intervalTimer() { return interval_; }
    QTimer& burstTimer() { return burst_; }

signals:
    // From the worker: a copy could not be written (for the status bar).
    void writeFailed(const QString& message);

private:
    void post(std::function<void(RecoveryWriter&)> job);

    CMainFrame& frame_;
    QString root_;
    bool writing_ = false;
    QTimer interval_;
    QTimer burst_;
    std::shared_ptr<RecoveryWriter> writer_;
    QThreadPool* worker_ = nullptr;
    // The latest copy waiting for the worker (older ones are skipped).
    std::mutex pendingLock_;
    std::shared_ptr<const Workspace> pending_;
};

} // namespace qm::ui

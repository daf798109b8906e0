#include "ui/app/Autosave.h"

#include "ui/app/CMainFrame.h"
#include "ui/app/ProjectDialogs.h"

#include <QDir>
#include <QStandardPaths>
#include <QThreadPool>

#include <algorithm>
#include <ctime>

namespace qm::ui {

Autosave::Autosave(CMainFrame& frame) : QObject(&frame), frame_(frame)
{
    burst_.setSingleShot(true);
    burst_.setInterval(BURST_DELAY_MS);
    for (QTimer* timer : {&interval_, &burst_})
        connect(timer, &QTimer::timeout, this, [this] {
            if (frame_.project().changeFlags != 0)
                writeNow();
        });
}

Autosave::~Autosave()
{
    // The copy stays: only a clean save or close removes it.
    waitForWorker();
}

QString Autosave::standardRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery");
}

void Autosave::enable(const QString& root, int intervalSeconds)
{
    if (writer_)
        return;
    root_ = root;
    writing_ = intervalSeconds > 0;
    writer_ = std::make_shared<RecoveryWriter>(toCorePath(root));
    worker_ = new QThreadPool(this);
    worker_->setMaxThreadCount(1);
    worker_->setExpiryTimeout(-1);
    interval_.setInterval(std::max(intervalSeconds, 1) * 1000);
    projectChanged();
}

QString Autosave::folder()
{
    if (!writer_)
        return {};
    waitForWorker(); // the worker owns the writer while it runs
    return fromCorePath(writer_->folder());
}

void Autosave::post(std::function<void(RecoveryWriter&)> job)
{
    if (!worker_)
        return;
    worker_->start([writer = writer_, job = std::move(job)] { job(*writer); });
}

void Autosave::projectChanged()
{
    if (!writer_)
        return;
    if (frame_.project().changeFlags == 0) {
        interval_.stop();
        burst_.stop();
        removeCopy();
        return;
    }
    if (!writing_)
        return;
    if (!interval_.isActive())
        interval_.start();
    burst_.start();
}

void Autosave::writeNow()
{
    if (!writer_)
        return;
    auto copy = std::make_shared<Workspace>(frame_.workspace());
    copy->project.onFlagsChanged = nullptr;
    {
        const std::lock_guard<std::mutex> hold(pendingLock_);
        pending_ = std::move(copy);
    }
    const std::int64_t time = static_cast<std::int64_t>(std::time(nullptr));
    post([this, time](RecoveryWriter& writer) {
        std::shared_ptr<const Workspace> ws;
        {
            const std::lock_guard<std::mutex> hold(pendingLock_);
            ws.swap(pending_);
        }
        if (!ws)
            return; // a later request took the copy
        if (const Result r = writer.write(*ws, time); !r)
            QMetaObject::invokeMethod(this, [this, text = QString::fromStdString(r.text())] { emit writeFailed(text); },
                                      Qt::QueuedConnection);
    });
}

void Autosave::removeCopy()
{
    {
        const std::lock_guard<std::mutex> hold(pendingLock_);
        pending_.reset();
    }
    post([](RecoveryWriter& writer) { writer.remove(); });
}

void Autosave::waitForWorker()
{
    if (worker_)
        worker_->waitForDone();
}

bool Autosave::offerRecovery()
{
    if (!writer_)
        return false;
    std::vector<std::string> damaged;
    const std::vector<RecoveryCopy> copies = findRecoveryCopies(toCorePath(root_), &damaged);
    Prompter& prompter = frame_.prompter();
    for (const std::string& message : damaged)
        prompter.inform(message);
    for (const RecoveryCopy& copy : copies) {
        if (prompter.ask(recoveryQuestion(copy), Buttons::YesNo) != Answer::Yes) {
            discardRecoveryCopy(copy);
            continue;
        }
        const Result r = openRecoveryCopy(copy, frame_.workspace(), frame_.progress());
        if (!r) {
            prompter.inform(r.text());
            continue;
        }
        waitForWorker();
        writer_->adopt(copy);
        frame_.projectReplaced();
        // The rest stay for the next start: one project is open at a time.
        return true;
    }
    return false;
}

} // namespace qm::ui

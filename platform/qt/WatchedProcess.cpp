#include "WatchedProcess.h"

#include <QProcess>

namespace platform {

void startWatched(const QString& program, const QStringList& arguments, std::function<void()> failed)
{
    // No parent, and deleted only once it has ended: deleting a running QProcess kills it,
    // and a viewer must outlive the window that started it. Queued, so that even a failed
    // start is told from the event loop and never inside the caller.
    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::errorOccurred, process, [process, failed](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;  // a crash also ends in finished()
        failed();
        process->deleteLater();
    }, Qt::QueuedConnection);
    QObject::connect(process, &QProcess::finished, process,
                     [process, failed](int exitCode, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || exitCode != 0)
                             failed();
                         process->deleteLater();
                     },
                     Qt::QueuedConnection);
    process->start();
}

}  // namespace platform

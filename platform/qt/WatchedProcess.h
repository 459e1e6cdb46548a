#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace platform {

/// Starts the program with the arguments, without a shell and without waiting for it. `failed`
/// runs from the event loop when it cannot start, crashes or exits with a non-zero status.
void startWatched(const QString& program, const QStringList& arguments, std::function<void()> failed);

}  // namespace platform

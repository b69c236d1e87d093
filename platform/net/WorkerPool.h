#pragma once

#include <QThreadPool>

namespace pelbrook {

/// The library's own worker thread, for work too slow for the GUI thread (reading a long bank
/// list). Kept apart from QThreadPool::globalInstance(): the library's work neither queues
/// behind the host's pooled work nor counts in the host's waitForDone().
QThreadPool &workerPool();

} // namespace pelbrook

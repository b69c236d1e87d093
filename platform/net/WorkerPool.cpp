#include "platform/net/WorkerPool.h"

namespace pelbrook {

namespace {

struct OwnPool : QThreadPool {
    OwnPool()
    {
        setObjectName(QStringLiteral("pelbrook.checkout.workers"));
        // One thread is plenty for the little the library hands off, and costs nothing idle:
        // it ends after the pool's expiry time without work.
        setMaxThreadCount(1);
    }
};

Q_GLOBAL_STATIC(OwnPool, ownPool)

} // namespace

QThreadPool &workerPool()
{
    return *ownPool();
}

} // namespace pelbrook

#pragma once

#include <pelbrook/pelbrook_export.h>

#include <QString>

namespace pelbrook {

/**
 * Implemented by the host to receive the payment result.
 *
 * onPaymentResult() is called on the main thread, once per result the gateway hands back,
 * while the checkout is still on screen; the checkout closes right after it returns. The
 * result is the gateway's text, passed on unchanged; getResult() already returns it during the
 * call. The checkout holds the delegate by a strong reference (std::shared_ptr).
 */
class PELBROOK_EXPORT ResultDelegate
{
public:
    virtual ~ResultDelegate() = default;
    virtual void onPaymentResult(const QString &result) = 0;
};

} // namespace pelbrook

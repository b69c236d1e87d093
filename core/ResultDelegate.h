#pragma once

#include <pelbrook/pelbrook_export.h>

#include <QString>

namespace pelbrook {

/**
 * @headerfile ResultDelegate.h <pelbrook/ResultDelegate.h>
 * Implemented by the host to receive the payment result.
 *
 * onPaymentResult() is called on the GUI thread, once per payment the gateway hands back with a
 * result, while the checkout is still on screen; then PGTabBarViewController::paymentResult is
 * emitted and the checkout closes. The result is the gateway's text, passed on unchanged;
 * PGTabBarViewController::getResult() already returns it during the call. A checkout the buyer
 * closes without paying, or a hand-back without a readable result, calls nothing.
 *
 * Set it with PGTabBarViewController::setResultDelegate(). The checkout and its screens hold
 * the delegate by a strong reference (std::shared_ptr): it lives at least as long as they do,
 * or until it is replaced.
 *
 * @code
 * struct Receipt : pelbrook::ResultDelegate {
 *     void onPaymentResult(const QString &result) override { qInfo("paid: %s", qPrintable(result)); }
 * };
 * checkout->setResultDelegate(std::make_shared<Receipt>());
 * @endcode
 */
class PELBROOK_EXPORT ResultDelegate
{
public:
    virtual ~ResultDelegate() = default;
    /// Receives the gateway's @p result for one payment. The checkout may be closed, and even
    /// deleted with deleteLater(), from here.
    virtual void onPaymentResult(const QString &result) = 0;
};

} // namespace pelbrook

#pragma once

namespace pelbrook {

class PaymentScreen;

/// What the checkout's container does to its screens beyond their public interface.
namespace screenControl {

/// Turns the buyer's hints on or off on @p screen; a built screen makes room for the line at once.
void setShowsInputHints(PaymentScreen *screen, bool shows);
/// Stops listening to @p screen's payment page, for a checkout that is closing. Returns whether
/// a payment form had gone to the gateway with no result back: its outcome is then unknown.
bool abandonPaymentPage(PaymentScreen *screen);

} // namespace screenControl

} // namespace pelbrook

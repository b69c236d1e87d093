#pragma once

#include <string>

namespace sandbox {

/// What a gateway page shows of the payment.
struct PageOrder {
    std::string paymentId;
    std::string orderId;
    std::string amount;   // currency and amount, as shown
    std::string method;   // "Card", "UPI", ...
    std::string detail;   // a masked card number, a UPI address, a bank or wallet code
};

/// A whole page in the sandbox's look around @p content (HTML). @p title is plain text.
std::string page(const std::string &title, const std::string &content, const std::string &head = {});

/// "Confirm payment": the order, and Approve and Decline.
std::string confirmPage(const PageOrder &order);
/// "Payment refused": why, and a button that hands back FAILED.
std::string refusedPage(const std::string &paymentId, const std::string &reason);
/// The bank's one-time-password page; @p error is shown above the field when not empty.
std::string oneTimePasswordPage(const PageOrder &order, const std::string &error);
/// A page that waits, with "Expires in m:ss" counting down from @p secondsLeft when
/// @p countdown, and asks /sandbox/continue/<payment> again after @p refreshAfter seconds.
std::string waitingPage(const PageOrder &order, const std::string &heading, const std::string &text,
                        int refreshAfter, bool countdown = false, int secondsLeft = 0);
/// The gateway's own error page.
std::string errorPage();
/// GET /sandbox/: what the sandbox offers and the scenario table.
std::string indexPage();

/// A card number as a page may show it: its last four digits.
std::string maskedCard(const std::string &number);

} // namespace sandbox

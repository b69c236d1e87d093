#pragma once

#include "Pages.h"

#include <chrono>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace sandbox {

enum class Scenario; // Scenarios.h

/// A posted form's fields in the order they came, repeated names included.
using Form = std::vector<std::pair<std::string, std::string>>;

/// One HTTP answer.
struct Reply {
    int status = 200;
    std::string contentType = "text/html; charset=utf-8";
    std::string body;
    std::string location; // for redirects
    bool noAnswer = false; // send nothing: the request hangs until the client gives up
};

/// How the gateway hands the result back to the checkout.
enum class HandBack { Redirect, Script };

struct GatewayOptions {
    std::set<std::string> appIds = {"sandbox-app"};
    std::string secret;          // signs the tokens; random when empty
    bool autoApprove = false;    // answer the form post with the hand-back at once
    HandBack handBack = HandBack::Redirect;
    int bankCount = 0;           // serve a generated list of this many banks; 0 for the sample list
    std::string hostile;         // answer every form with this kind of misbehaviour (HostilePages.h)
    int upiExpirySeconds = 30;   // how long a UPI request waits for the buyer's app
};

/// The outcome handed back to the checkout.
struct PaymentOutcome {
    std::string orderId;
    std::string orderAmount;
    std::string status; // "SUCCESS" or "FAILED"; for an order also "PENDING" or "CANCELLED"
    std::string referenceId;
    std::string message;
};

/// The first value of the field @p name in @p form, or an empty string.
std::string field(const Form &form, const std::string &name);

// Pure helpers, exposed for tests.
bool passesLuhn(const std::string &digits);
std::string escapeHtml(const std::string &text);
std::string percentEncode(const std::string &text);
std::string outcomeJson(const PaymentOutcome &outcome);
std::string handBackAddress(const PaymentOutcome &outcome);

/**
 * A stand-in for the payment gateway, the merchant's token server and the bank list publisher.
 * Thread-safe: the HTTP server calls it from its worker threads.
 */
class Gateway
{
public:
    explicit Gateway(GatewayOptions options);

    /// The token for an order, as the token endpoint issues it.
    std::string tokenFor(const std::string &appId, const std::string &orderId, const std::string &orderAmount) const;

    /// POST /token with a JSON body.
    Reply issueToken(const std::string &jsonBody) const;
    /// POST to either checkout path with the form.
    Reply submitTransparent(const Form &form);
    /// POST /sandbox/decision: the buyer's Approve or Decline.
    Reply decide(const Form &form);
    /// GET /sandbox/bank/<payment>: the bank's one-time-password page.
    Reply bankPage(const std::string &paymentId);
    /// POST /sandbox/otp: a code typed on the bank's page, or its Cancel.
    Reply enterCode(const Form &form);
    /// GET /sandbox/continue/<payment>: where a waiting page goes once its time is up.
    Reply continueAfterWait(const std::string &paymentId);
    /// GET /sandbox/orders/<orderId>: the order's state, as a merchant's server asks for it.
    Reply orderStatus(const std::string &orderId);
    /// GET /pg/iosbanks.json.
    Reply bankList() const;
    /// GET /sandbox/last-form: the last checkout form received, as a JSON array of
    /// {"name", "value"} objects in form order (a development aid).
    Reply lastForm() const;

    /// Why a checkout form is refused, or an empty string when it is acceptable.
    std::string checkForm(const Form &form) const;

private:
    using Clock = std::chrono::steady_clock;
    struct Payment {
        // The order's state as GET /sandbox/orders/ tells it: PENDING until the payment ends.
        PaymentOutcome outcome;
        Scenario scenario{}; // Confirm, the first, unless a valid form chose another
        PageOrder shown;
        bool open = true; // the buyer may still act on its page, or it has a result to hand back
        // A page that waits ends by itself at this time, with this status and message.
        Clock::time_point settlesAt{};
        std::string settledStatus;
        std::string settledMessage;
        Clock::time_point expiresAt{}; // of a UPI request
        int wrongCodes = 0;
    };
    /// The payment still waiting on a page of @p scenario, or null.
    Payment *openPayment(const std::string &paymentId, Scenario scenario);
    static void end(Payment &payment, const std::string &status, const std::string &message);
    static void settle(Payment &payment);
    Reply handBackReply(const PaymentOutcome &order) const;
    Reply waitingReply(const Payment &payment) const;

    GatewayOptions m_options;
    mutable std::mutex m_mutex;
    std::map<std::string, Payment> m_payments; // by payment id
    std::map<std::string, std::string> m_orders; // order id to its latest payment's id
    std::vector<std::pair<std::string, std::string>> m_lastForm;
    unsigned m_sequence = 0;
};

} // namespace sandbox

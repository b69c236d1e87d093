#include "Gateway.h"

#include "BankList.h"
#include "HostilePages.h"
#include "Pages.h"
#include "Scenarios.h"

#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>

namespace sandbox {

namespace {

bool has(const Form &form, const std::string &name)
{
    for (const auto &entry : form) {
        if (entry.first == name)
            return true;
    }
    return false;
}

std::string jsonString(const std::string &text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out += char(c);
            }
        }
    }
    return out + "\"";
}

// Reads one string member of a flat JSON object; enough for the token request's shape.
bool jsonMember(const std::string &json, const std::string &name, std::string &value)
{
    const std::string key = "\"" + name + "\"";
    size_t at = json.find(key);
    if (at == std::string::npos)
        return false;
    at = json.find(':', at + key.size());
    if (at == std::string::npos)
        return false;
    at = json.find_first_not_of(" \t\r\n", at + 1);
    if (at == std::string::npos || json[at] != '"')
        return false;
    value.clear();
    for (size_t i = at + 1; i < json.size(); ++i) {
        if (json[i] == '"')
            return true;
        if (json[i] == '\\' && i + 1 < json.size()) {
            ++i;
            switch (json[i]) {
            case 'n': value += '\n'; break;
            case 't': value += '\t'; break;
            case 'r': value += '\r'; break;
            case 'u': return false; // not produced by the checkout for plain order values
            default: value += json[i];
            }
            continue;
        }
        value += json[i];
    }
    return false;
}

} // namespace

std::string field(const Form &form, const std::string &name)
{
    for (const auto &[n, value] : form) {
        if (n == name)
            return value;
    }
    return {};
}

bool passesLuhn(const std::string &digits)
{
    if (digits.size() < 12 || digits.size() > 19)
        return false;
    int sum = 0;
    bool doubled = false;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (!std::isdigit(static_cast<unsigned char>(*it)))
            return false;
        int d = *it - '0';
        if (doubled) {
            d *= 2;
            if (d > 9)
                d -= 9;
        }
        sum += d;
        doubled = !doubled;
    }
    return sum % 10 == 0;
}

std::string escapeHtml(const std::string &text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string percentEncode(const std::string &text)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += char(c);
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

std::string outcomeJson(const PaymentOutcome &o)
{
    return "{\"orderId\":" + jsonString(o.orderId) + ",\"orderAmount\":" + jsonString(o.orderAmount)
        + ",\"status\":" + jsonString(o.status) + ",\"referenceId\":" + jsonString(o.referenceId)
        + ",\"message\":" + jsonString(o.message) + "}";
}

std::string handBackAddress(const PaymentOutcome &outcome)
{
    return "ios-sdk://payment-result#" + percentEncode(outcomeJson(outcome));
}

Gateway::Gateway(GatewayOptions options)
    : m_options(std::move(options))
{
    if (m_options.secret.empty()) {
        unsigned char random[32];
        RAND_bytes(random, sizeof random);
        m_options.secret.assign(reinterpret_cast<char *>(random), sizeof random);
    }
}

std::string Gateway::tokenFor(const std::string &appId, const std::string &orderId, const std::string &orderAmount) const
{
    const std::string message = appId + '\n' + orderId + '\n' + orderAmount;
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    HMAC(EVP_sha256(), m_options.secret.data(), int(m_options.secret.size()),
         reinterpret_cast<const unsigned char *>(message.data()), message.size(), digest, &size);
    static const char digits[] = "0123456789abcdef";
    std::string token = "sbx_";
    for (unsigned int i = 0; i < size; ++i) {
        token += digits[digest[i] >> 4];
        token += digits[digest[i] & 15];
    }
    return token;
}

Reply Gateway::issueToken(const std::string &jsonBody) const
{
    std::string appId, orderId, orderAmount;
    Reply reply;
    reply.contentType = "application/json";
    if (!jsonMember(jsonBody, "appId", appId) || !jsonMember(jsonBody, "orderId", orderId)
        || !jsonMember(jsonBody, "orderAmount", orderAmount) || orderId.empty() || orderAmount.empty()) {
        reply.status = 400;
        reply.body = "{\"status\":\"ERROR\",\"message\":\"appId, orderId and orderAmount are required\"}";
        return reply;
    }
    if (!m_options.appIds.count(appId)) {
        reply.status = 403;
        reply.body = "{\"status\":\"ERROR\",\"message\":\"unknown appId\"}";
        return reply;
    }
    reply.body = "{\"status\":\"OK\",\"checksum\":" + jsonString(tokenFor(appId, orderId, orderAmount)) + "}";
    return reply;
}

std::string Gateway::checkForm(const Form &form) const
{
    const std::string appId = field(form, "appId");
    if (!m_options.appIds.count(appId))
        return "Unknown app id.";
    const std::string orderId = field(form, "orderId");
    const std::string orderAmount = field(form, "orderAmount");
    if (orderId.empty() || orderAmount.empty())
        return "The order id and amount are required.";
    if (field(form, "paymentToken") != tokenFor(appId, orderId, orderAmount))
        return "The payment token was not issued for this order and amount.";
    for (const char *name : {"customerName", "orderNote", "customerPhone", "customerEmail", "orderCurrency", "source", "notifyUrl"}) {
        if (!has(form, name))
            return std::string("The field ") + name + " is missing.";
    }
    const std::string option = field(form, "paymentOption");
    std::vector<std::string> required;
    if (option == "card")
        required = {"card_number", "card_holder", "card_expiryMonth", "card_expiryYear", "card_cvv"};
    else if (option == "upi")
        required = {"upi_vpa"};
    else if (option == "wallet")
        required = {"wallet_code"};
    else if (option == "nb")
        required = {"nb_code"};
    else
        return "Unknown payment option.";
    for (const std::string &name : required) {
        if (field(form, name).empty())
            return "The field " + name + " is missing or empty.";
    }
    if (option == "card" && !passesLuhn(field(form, "card_number")))
        return "The card number is not valid.";
    if (option == "upi" && field(form, "upi_vpa").find('@') == std::string::npos)
        return "The UPI address has no handle.";
    return {};
}

namespace {

Reply html(int status, const std::string &body)
{
    return Reply{status, "text/html; charset=utf-8", body, {}};
}

constexpr int ProcessingSeconds = 5;

Reply unknownPayment()
{
    return html(404, page("Unknown payment", "<header>Pelbrook Sandbox Gateway</header><main><p>This payment is not "
                                             "waiting for anything.</p></main>"));
}

} // namespace

Gateway::Payment *Gateway::openPayment(const std::string &paymentId, Scenario scenario)
{
    auto it = m_payments.find(paymentId);
    return it != m_payments.end() && it->second.open && it->second.scenario == scenario ? &it->second : nullptr;
}

void Gateway::end(Payment &payment, const std::string &status, const std::string &message)
{
    payment.outcome.status = status;
    payment.outcome.message = message;
    payment.open = false;
}

void Gateway::settle(Payment &payment)
{
    // The order's state moves on at its time; the page still hands the result back once.
    if (payment.outcome.status == "PENDING" && payment.settlesAt != Clock::time_point{} && Clock::now() >= payment.settlesAt) {
        payment.outcome.status = payment.settledStatus;
        payment.outcome.message = payment.settledMessage;
    }
}

Reply Gateway::handBackReply(const PaymentOutcome &order) const
{
    // The checkout knows two results: a cancelled order is a payment that failed.
    PaymentOutcome outcome = order;
    if (outcome.status == "CANCELLED")
        outcome.status = "FAILED";
    Reply reply;
    const std::string address = handBackAddress(outcome);
    if (m_options.handBack == HandBack::Redirect) {
        reply.status = 302;
        reply.location = address;
        reply.body = "Returning to the merchant.";
        reply.contentType = "text/plain";
    } else {
        // The address is percent-encoded ASCII, so it is safe inside a script string.
        reply.body = page("Returning", "<main><p>Returning to the merchant&hellip;</p><script>window.location.href = "
                                           + jsonString(address) + ";</script></main>");
    }
    return reply;
}

Reply Gateway::waitingReply(const Payment &payment) const
{
    const int left = std::max<int>(1, int(std::chrono::ceil<std::chrono::seconds>(payment.settlesAt - Clock::now()).count()));
    if (payment.scenario == Scenario::Processing)
        return html(200, waitingPage(payment.shown, "Processing your payment",
                                     "Your bank is confirming the payment. This takes a few seconds.", left));
    const int expiresIn = std::max<int>(0, int(std::chrono::ceil<std::chrono::seconds>(payment.expiresAt - Clock::now()).count()));
    return html(200, waitingPage(payment.shown, "Approve the request in your UPI app",
                                 "A payment request was sent to " + payment.shown.detail
                                     + ". Open your UPI app and approve it before it expires.",
                                 left, true, expiresIn));
}

Reply Gateway::submitTransparent(const Form &form)
{
    const std::string problem = checkForm(form);
    const std::string option = field(form, "paymentOption");
    std::lock_guard lock(m_mutex);
    m_lastForm.assign(form.begin(), form.end());
    const std::string paymentId = "SBX" + std::to_string(100000 + ++m_sequence);
    Payment &payment = m_payments[paymentId];
    // A form the gateway refuses (another order's token, say) is no payment of the order.
    if (problem.empty())
        m_orders[field(form, "orderId")] = paymentId;
    payment.outcome = {field(form, "orderId"), field(form, "orderAmount"), "PENDING", paymentId, "Awaiting the buyer"};
    std::string currency = field(form, "orderCurrency");
    payment.shown = {paymentId, field(form, "orderId"), (currency.empty() ? "" : currency + " ") + field(form, "orderAmount"),
                     methodName(option), {}};
    if (option == "card")
        payment.shown.detail = maskedCard(field(form, "card_number"));
    else if (option == "upi")
        payment.shown.detail = field(form, "upi_vpa");
    else if (option == "wallet")
        payment.shown.detail = "Wallet code " + field(form, "wallet_code");
    else
        payment.shown.detail = "Bank code " + field(form, "nb_code");

    if (!problem.empty())
        end(payment, "FAILED", problem);
    if (!m_options.hostile.empty()) {
        if (problem.empty())
            end(payment, "SUCCESS", "Approved by the sandbox");
        if (std::optional<Reply> reply = hostileReply(m_options.hostile, payment.outcome))
            return *reply;
    }
    if (!problem.empty()) {
        if (m_options.autoApprove)
            return handBackReply(payment.outcome);
        // Still open: its page's button hands the failure back.
        payment.open = true;
        return html(200, refusedPage(paymentId, problem));
    }

    payment.scenario = scenarioFor(form);
    const auto waitFor = [&](int seconds, const std::string &status, const std::string &message) {
        payment.settlesAt = Clock::now() + std::chrono::seconds(seconds);
        payment.settledStatus = status;
        payment.settledMessage = message;
        return waitingReply(payment);
    };
    const int expiry = m_options.upiExpirySeconds;
    // Approved or declined in the app a few seconds in, always before the request expires.
    const int decidedAfter = std::max(1, std::min(5, expiry - 1));
    switch (payment.scenario) {
    case Scenario::Confirm:
        if (m_options.autoApprove) {
            end(payment, "SUCCESS", "Approved by the sandbox");
            return handBackReply(payment.outcome);
        }
        return html(200, confirmPage(payment.shown));
    case Scenario::CardDeclined:
        end(payment, "FAILED", "Card declined");
        return handBackReply(payment.outcome);
    case Scenario::InsufficientFunds:
        end(payment, "FAILED", "Insufficient funds");
        return handBackReply(payment.outcome);
    case Scenario::BankUnavailable:
        end(payment, "FAILED", "Bank unavailable");
        return handBackReply(payment.outcome);
    case Scenario::WalletDeclined:
        end(payment, "FAILED", "Wallet declined");
        return handBackReply(payment.outcome);
    case Scenario::OneTimePassword: {
        // As a bank's pages do: the gateway sends the browser on to the bank's own page.
        Reply reply = html(303, "See the bank's page.");
        reply.location = "/sandbox/bank/" + paymentId;
        return reply;
    }
    case Scenario::Processing:
        payment.outcome.message = "Processing";
        return waitFor(ProcessingSeconds, "SUCCESS", "Approved after processing");
    case Scenario::GatewayError:
        end(payment, "FAILED", "Gateway error");
        return html(500, errorPage());
    case Scenario::NoAnswer: {
        payment.outcome.message = "Awaiting the gateway";
        Reply reply;
        reply.noAnswer = true;
        return reply;
    }
    case Scenario::UpiApproved:
    case Scenario::UpiDeclined:
    case Scenario::UpiExpired:
        payment.expiresAt = Clock::now() + std::chrono::seconds(expiry);
        payment.outcome.message = "Awaiting approval in the UPI app";
        if (payment.scenario == Scenario::UpiApproved)
            return waitFor(decidedAfter, "SUCCESS", "Approved in the UPI app");
        if (payment.scenario == Scenario::UpiDeclined)
            return waitFor(decidedAfter, "FAILED", "Declined in the UPI app");
        return waitFor(expiry, "FAILED", "UPI request expired");
    }
    return unknownPayment();
}

Reply Gateway::decide(const Form &form)
{
    std::lock_guard lock(m_mutex);
    Payment *const waiting = openPayment(field(form, "payment"), Scenario::Confirm);
    if (!waiting)
        return unknownPayment();
    Payment &payment = *waiting;
    payment.open = false;
    if (payment.outcome.status == "PENDING") {
        if (field(form, "decision") == "approve")
            end(payment, "SUCCESS", "Approved by the buyer");
        else
            end(payment, "FAILED", "Declined by the buyer");
    }
    return handBackReply(payment.outcome);
}

Reply Gateway::bankPage(const std::string &paymentId)
{
    std::lock_guard lock(m_mutex);
    Payment *const waiting = openPayment(paymentId, Scenario::OneTimePassword);
    return waiting ? html(200, oneTimePasswordPage(waiting->shown, {})) : unknownPayment();
}

Reply Gateway::enterCode(const Form &form)
{
    std::lock_guard lock(m_mutex);
    Payment *const waiting = openPayment(field(form, "payment"), Scenario::OneTimePassword);
    if (!waiting)
        return unknownPayment();
    Payment &payment = *waiting;
    if (field(form, "action") == "cancel") {
        end(payment, "CANCELLED", "Cancelled by buyer");
    } else if (field(form, "code") == "123456") {
        end(payment, "SUCCESS", "Approved by the bank");
    } else if (++payment.wrongCodes >= 3) {
        end(payment, "FAILED", "Incorrect code entered three times");
    } else {
        const int left = 3 - payment.wrongCodes;
        return html(200, oneTimePasswordPage(payment.shown, "Incorrect code. " + std::to_string(left)
                                                                + (left == 1 ? " attempt" : " attempts") + " left."));
    }
    return handBackReply(payment.outcome);
}

Reply Gateway::continueAfterWait(const std::string &paymentId)
{
    std::lock_guard lock(m_mutex);
    auto it = m_payments.find(paymentId);
    if (it == m_payments.end() || it->second.settlesAt == Clock::time_point{} || !it->second.open)
        return unknownPayment();
    Payment &payment = it->second;
    settle(payment);
    if (payment.outcome.status == "PENDING")
        return waitingReply(payment);
    payment.open = false;
    return handBackReply(payment.outcome);
}

Reply Gateway::orderStatus(const std::string &orderId)
{
    std::lock_guard lock(m_mutex);
    PaymentOutcome order{orderId, {}, "NONE", {}, "No payment for this order"};
    if (auto known = m_orders.find(orderId); known != m_orders.end()) {
        Payment &payment = m_payments[known->second];
        settle(payment);
        order = payment.outcome;
    }
    return Reply{200, "application/json", outcomeJson(order), {}};
}

Reply Gateway::bankList() const
{
    return Reply{200, "application/json", m_options.bankCount > 0 ? generatedBankListJson(m_options.bankCount) : bankListJson(), {}};
}

Reply Gateway::lastForm() const
{
    std::lock_guard lock(m_mutex);
    // An array of pairs, since a form may carry a name twice.
    std::string json = "[";
    for (size_t i = 0; i < m_lastForm.size(); ++i) {
        // Appended piece by piece: g++ 12 at -O3 misreads a chain of temporaries here (-Wrestrict).
        json += i ? ",{\"name\":" : "{\"name\":";
        json += jsonString(m_lastForm[i].first);
        json += ",\"value\":";
        json += jsonString(m_lastForm[i].second);
        json += '}';
    }
    return Reply{200, "application/json", json + "]", {}};
}

} // namespace sandbox

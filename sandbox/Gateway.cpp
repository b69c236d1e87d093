#include "Gateway.h"

#include "BankList.h"
#include "HostilePages.h"

#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace sandbox {

namespace {

std::string field(const Form &form, const std::string &name)
{
    for (const auto &[n, value] : form) {
        if (n == name)
            return value;
    }
    return {};
}

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

std::string maskedCard(const std::string &number)
{
    if (number.size() < 4)
        return "****";
    return "**** " + number.substr(number.size() - 4);
}

std::string page(const std::string &title, const std::string &content)
{
    return "<!DOCTYPE html><html><head><meta charset='utf-8'>"
           "<meta name='viewport' content='width=device-width, initial-scale=1'>"
           "<title>" + escapeHtml(title) + "</title><style>"
           "body{font-family:'Helvetica Neue',Helvetica,Arial,sans-serif;margin:0;background:#f3f5f9;color:#1f2a44}"
           "header{background:#2f6fde;color:#fff;padding:16px 20px;font-size:18px;font-weight:bold}"
           "main{padding:20px}table{border-collapse:collapse;width:100%;margin-bottom:20px}"
           "td{padding:8px 4px;border-bottom:1px solid #dde3ee}td:first-child{color:#5b6478;width:40%}"
           "button{font-size:17px;padding:12px 0;width:100%;border:0;border-radius:8px;margin-top:10px;color:#fff}"
           ".approve{background:#1f9d55}.decline{background:#c53030}.back{background:#5b6478}"
           ".reason{background:#fde8e8;color:#9b1c1c;padding:12px;border-radius:8px}"
           "</style></head><body><header>Pelbrook Sandbox Gateway</header><main>" + content + "</main></body></html>";
}

std::string decisionButton(const std::string &paymentId, const std::string &decision,
                           const std::string &label, const std::string &cssClass)
{
    return "<form method='post' action='/sandbox/decision'>"
           "<input type='hidden' name='payment' value='" + escapeHtml(paymentId) + "'>"
           "<input type='hidden' name='decision' value='" + decision + "'>"
           "<button id='" + decision + "' class='" + cssClass + "' type='submit'>" + label + "</button></form>";
}

const char *methodName(const std::string &option)
{
    if (option == "card") return "Card";
    if (option == "nb") return "Net banking";
    if (option == "wallet") return "Wallet";
    if (option == "upi") return "UPI";
    return "Unknown";
}

} // namespace

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

Reply Gateway::handBackReply(const PaymentOutcome &outcome) const
{
    Reply reply;
    const std::string address = handBackAddress(outcome);
    if (m_options.handBack == HandBack::Redirect) {
        reply.status = 302;
        reply.location = address;
        reply.body = "Returning to the merchant.";
        reply.contentType = "text/plain";
    } else {
        // The address is percent-encoded ASCII, so it is safe inside a script string.
        reply.body = page("Returning", "<p>Returning to the merchant&hellip;</p><script>window.location.href = "
                                           + jsonString(address) + ";</script>");
    }
    return reply;
}

Reply Gateway::submitTransparent(const Form &form)
{
    const std::string problem = checkForm(form);
    PaymentOutcome outcome{field(form, "orderId"), field(form, "orderAmount"), "FAILED", {}, problem};
    std::string paymentId;
    {
        std::lock_guard lock(m_mutex);
        m_lastForm.assign(form.begin(), form.end());
        paymentId = "SBX" + std::to_string(100000 + ++m_sequence);
        outcome.referenceId = paymentId;
    }
    if (!m_options.hostile.empty()) {
        if (problem.empty()) {
            outcome.status = "SUCCESS";
            outcome.message = "Approved by the sandbox.";
        }
        if (std::optional<Reply> reply = hostileReply(m_options.hostile, outcome))
            return *reply;
    }
    if (m_options.autoApprove) {
        if (problem.empty()) {
            outcome.status = "SUCCESS";
            outcome.message = "Approved by the sandbox.";
        }
        return handBackReply(outcome);
    }
    {
        std::lock_guard lock(m_mutex);
        m_pending[paymentId] = outcome;
    }
    const std::string option = field(form, "paymentOption");
    std::string content;
    if (!problem.empty()) {
        content = "<h2>Payment refused</h2><p id='reason' class='reason'>" + escapeHtml(problem) + "</p>"
            + decisionButton(paymentId, "fail", "Return to merchant", "back");
        return Reply{200, "text/html; charset=utf-8", page("Payment refused", content), {}};
    }
    std::string detail;
    if (option == "card")
        detail = maskedCard(field(form, "card_number"));
    else if (option == "upi")
        detail = field(form, "upi_vpa");
    else if (option == "wallet")
        detail = "Wallet code " + field(form, "wallet_code");
    else
        detail = "Bank code " + field(form, "nb_code");
    content = "<h2>Confirm payment</h2><table>"
              "<tr><td>Order</td><td id='order'>" + escapeHtml(field(form, "orderId")) + "</td></tr>"
              "<tr><td>Amount</td><td id='amount'>" + escapeHtml(field(form, "orderCurrency")) + " "
              + escapeHtml(field(form, "orderAmount")) + "</td></tr>"
              "<tr><td>Method</td><td id='method'>" + methodName(option) + "</td></tr>"
              "<tr><td>Details</td><td id='detail'>" + escapeHtml(detail) + "</td></tr></table>"
        + decisionButton(paymentId, "approve", "Approve", "approve")
        + decisionButton(paymentId, "decline", "Decline", "decline");
    return Reply{200, "text/html; charset=utf-8", page("Confirm payment", content), {}};
}

Reply Gateway::decide(const Form &form)
{
    PaymentOutcome outcome;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_pending.find(field(form, "payment"));
        if (it == m_pending.end())
            return Reply{404, "text/html; charset=utf-8", page("Unknown payment", "<p>This payment is not pending.</p>"), {}};
        outcome = it->second;
        m_pending.erase(it);
    }
    const std::string decision = field(form, "decision");
    if (decision == "approve" && outcome.message.empty()) {
        outcome.status = "SUCCESS";
        outcome.message = "Approved by the buyer.";
    } else if (outcome.message.empty()) {
        outcome.message = "Declined by the buyer.";
    }
    return handBackReply(outcome);
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
        json += (i ? "," : "") + std::string("{\"name\":") + jsonString(m_lastForm[i].first)
            + ",\"value\":" + jsonString(m_lastForm[i].second) + "}";
    }
    return Reply{200, "application/json", json + "]", {}};
}

} // namespace sandbox

#include "Scenarios.h"

#include <algorithm>
#include <cctype>

namespace sandbox {

namespace {

struct Entry {
    const char *method;   // the form's paymentOption
    const char *field;    // the form field that chooses it
    const char *value;    // what the buyer enters
    const char *shown;    // the same as the buyer types it
    Scenario scenario;
    const char *outcome;  // what happens, for the tables
};

// One table serves the choice, --help and the /sandbox/ page, so they cannot disagree. Every
// card number passes the Luhn check, as a real one would.
const Entry Entries[] = {
    {"card", "card_number", "4111111111111111", "4111 1111 1111 1111", Scenario::Confirm,
     "\"Confirm payment\" page: Approve hands back SUCCESS, Decline FAILED (any other valid card too)"},
    {"card", "card_number", "4000000000000002", "4000 0000 0000 0002", Scenario::CardDeclined,
     "FAILED at once, \"Card declined\""},
    {"card", "card_number", "4000000000009995", "4000 0000 0000 9995", Scenario::InsufficientFunds,
     "FAILED at once, \"Insufficient funds\""},
    {"card", "card_number", "4000000000003063", "4000 0000 0000 3063", Scenario::OneTimePassword,
     "the bank's one-time-password step (below)"},
    {"card", "card_number", "4000000000000077", "4000 0000 0000 0077", Scenario::Processing,
     "\"Processing your payment\" page, then SUCCESS by itself after 5 s"},
    {"card", "card_number", "4000000000000119", "4000 0000 0000 0119", Scenario::GatewayError,
     "HTTP 500 error page, no hand-back; the order is FAILED"},
    {"card", "card_number", "4000000000000259", "4000 0000 0000 0259", Scenario::NoAnswer,
     "no answer at all until the buyer closes; the order stays PENDING"},
    {"nb", "nb_code", "3001", "3001 (Amberline Bank)", Scenario::OneTimePassword, "the bank's one-time-password step (below)"},
    {"nb", "nb_code", "3002", "3002 (Bayview Cooperative Bank)", Scenario::BankUnavailable, "FAILED at once, \"Bank unavailable\""},
    {"upi", "upi_vpa", "approve@sandbox", "approve@sandbox", Scenario::UpiApproved,
     "\"Approve the request in your UPI app\" page with a countdown, then SUCCESS after 5 s (sooner with a short --upi-expiry)"},
    {"upi", "upi_vpa", "decline@sandbox", "decline@sandbox", Scenario::UpiDeclined,
     "the same page, then FAILED, \"Declined in the UPI app\", as above"},
    {"upi", "upi_vpa", "expire@sandbox", "expire@sandbox", Scenario::UpiExpired,
     "the same page until the request expires (30 s, --upi-expiry), then FAILED, \"UPI request expired\""},
    {"wallet", "wallet_code", "4003", "4003 (Ola Money)", Scenario::WalletDeclined, "FAILED at once, \"Wallet declined\""},
};

const char *const OneTimePasswordNote =
    "The one-time-password step: a 6-digit field on the bank's page. 123456 hands back SUCCESS;\n"
    "a wrong code shows \"Incorrect code\", and the third wrong code hands back FAILED; \"Cancel\"\n"
    "hands back FAILED, \"Cancelled by buyer\" (the order is CANCELLED). Any other bank, wallet or\n"
    "UPI address gets the \"Confirm payment\" page.";

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

} // namespace

const char *methodName(const std::string &paymentOption)
{
    if (paymentOption == "card") return "Card";
    if (paymentOption == "nb") return "Net banking";
    if (paymentOption == "wallet") return "Wallet";
    if (paymentOption == "upi") return "UPI";
    return "Unknown";
}

Scenario scenarioFor(const Form &form)
{
    // Read as the form's checks read it: the first of a repeated field.
    const std::string method = field(form, "paymentOption");
    for (const Entry &entry : Entries) {
        // UPI addresses are not case-sensitive.
        if (method == entry.method && lowered(field(form, entry.field)) == entry.value)
            return entry.scenario;
    }
    return Scenario::Confirm;
}

std::string scenarioTableText()
{
    std::string text;
    for (const Entry &entry : Entries) {
        std::string line = "  " + std::string(methodName(entry.method));
        line.resize(15, ' ');
        line += entry.shown;
        // The outcome wraps at word boundaries to keep the help within 100 columns.
        std::string outcome = entry.outcome;
        while (!outcome.empty()) {
            line.resize(48, ' ');
            size_t cut = outcome.size() <= 52 ? outcome.size() : outcome.rfind(' ', 52);
            if (cut == std::string::npos || cut == 0)
                cut = std::min<size_t>(outcome.size(), 52);
            text += line + outcome.substr(0, cut) + '\n';
            const size_t next = outcome.find_first_not_of(' ', cut);
            outcome.erase(0, next == std::string::npos ? outcome.size() : next);
            line.clear();
        }
    }
    return text + '\n' + OneTimePasswordNote + '\n';
}

std::string scenarioTableHtml()
{
    std::string html = "<table id='scenarios'><tr><th>Method</th><th>Enter</th><th>What happens</th></tr>";
    for (const Entry &entry : Entries) {
        html += "<tr><td>" + std::string(methodName(entry.method)) + "</td><td><code>" + escapeHtml(entry.shown)
            + "</code></td><td>" + escapeHtml(entry.outcome) + "</td></tr>";
    }
    return html + "</table><p>" + escapeHtml(OneTimePasswordNote) + "</p>";
}

} // namespace sandbox

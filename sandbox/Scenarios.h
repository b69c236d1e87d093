#pragma once

#include "Gateway.h"

#include <string>

namespace sandbox {

/// What the sandbox does with a valid payment, chosen by what the buyer entered.
enum class Scenario {
    Confirm,           ///< the "Confirm payment" page: the buyer approves or declines
    CardDeclined,      ///< handed back FAILED at once
    InsufficientFunds, ///< handed back FAILED at once
    OneTimePassword,   ///< the bank's one-time-password step
    Processing,        ///< a "processing" page, handed back SUCCESS after a few seconds
    GatewayError,      ///< an HTTP 500 page with no hand-back
    NoAnswer,          ///< the form's post never gets an answer
    BankUnavailable,   ///< handed back FAILED at once
    UpiApproved,       ///< the UPI request page, then approved in the buyer's app
    UpiDeclined,       ///< the UPI request page, then declined in the buyer's app
    UpiExpired,        ///< the UPI request page until the request expires
    WalletDeclined,    ///< handed back FAILED at once
};

/// The scenario a valid checkout form asks for.
Scenario scenarioFor(const Form &form);

/// How a page names a form's paymentOption ("Card" for "card").
const char *methodName(const std::string &paymentOption);

/// The scenarios as plain text columns, for --help.
std::string scenarioTableText();

/// The scenarios as an HTML table.
std::string scenarioTableHtml();

} // namespace sandbox

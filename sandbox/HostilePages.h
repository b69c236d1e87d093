#pragma once

#include "Gateway.h"

#include <optional>
#include <string>

namespace sandbox {

/**
 * Answers to a checkout form from a gateway that misbehaves, for testing how the checkout
 * copes. Each kind answers every form the same way, whatever its outcome:
 * - "repeat": hands back five times: from four frames at once, and from the page itself a
 *   moment later;
 * - "frame": hands back from an inner frame;
 * - "huge": hands back with a result of over a megabyte;
 * - "bad-escape": hands back with an escape that is not two hex digits;
 * - "not-utf8": hands back with escapes that are not UTF-8;
 * - "javascript", "file", "data": tries to leave for such an address from a script;
 * - "redirect-file": redirects to a local file;
 * - "http": redirects to plain HTTP.
 */
std::optional<Reply> hostileReply(const std::string &kind, const PaymentOutcome &outcome);

/// Whether @p kind is one of hostileReply()'s kinds.
bool isHostileKind(const std::string &kind);

} // namespace sandbox

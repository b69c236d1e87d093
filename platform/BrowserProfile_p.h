#pragma once

class QWebEngineProfile;

namespace pelbrook {

/// The scheme through which the gateway hands the payment back.
inline constexpr char HandBackScheme[] = "ios-sdk";

/// The library's browser profile: off the record, with a handler for the hand-back scheme.
/// Created on first use on the main thread and destroyed with the application.
QWebEngineProfile *browserProfile();

} // namespace pelbrook

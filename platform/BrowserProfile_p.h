#pragma once

#include <QByteArray>
#include <QUrl>

class QWebEngineProfile;

namespace pelbrook {

/// The scheme through which the gateway hands the payment back.
inline constexpr char HandBackScheme[] = "ios-sdk";

/// The scheme through which the library's own pages too large for a data address are loaded.
inline constexpr char PageScheme[] = "pelbrook-page";

/// Keeps @p html until the library's profile is asked for it, once, at the address returned.
QUrl servePageOnce(const QByteArray &html);
/// Drops a page kept by servePageOnce() that was never asked for.
void forgetPage(const QUrl &url);

/// The library's browser profile: off the record, with a handler for the hand-back scheme.
/// Created on first use on the main thread and destroyed with the application.
QWebEngineProfile *browserProfile();
/// Whether browserProfile() has been made (and with it the browser engine started).
bool browserProfileExists();

} // namespace pelbrook

#pragma once

#include <QByteArray>
#include <QUrl>

class QWebEngineProfile;

namespace pelbrook {

/// The scheme through which the gateway hands the payment back.
inline constexpr char HandBackScheme[] = "ios-sdk";

/// The scheme through which the library's own pages too large for a data address are loaded.
inline constexpr char PageScheme[] = "pelbrook-page";

/// Keeps @p html until a library profile is asked for it, once, at the address returned.
QUrl servePageOnce(const QByteArray &html);
/// Drops a page kept by servePageOnce() that was never asked for.
void forgetPage(const QUrl &url);

/**
 * A new browser profile for one page: off the record, with nothing shared with any
 * other page (cookies, storage, service workers, permissions), handlers for the hand-back and
 * the library's page schemes, and downloads refused. Whatever the engine still writes for it
 * goes to a private folder, removed with the profile. The caller deletes the profile once its
 * page has gone; the application deletes it at the latest. Main thread only.
 */
QWebEngineProfile *makePageProfile();
/// Whether a library profile has been made in this process (and with it the engine started).
bool browserEngineStarted();
/// The library's profiles alive now.
int livePageProfiles();

} // namespace pelbrook

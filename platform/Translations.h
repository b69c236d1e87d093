#pragma once

#include <pelbrook/pelbrook_export.h>

namespace pelbrook {

/**
 * Turns the checkout's own translations on or off; on by default.
 *
 * While on, every checkout and every payment screen shows its texts (the tab titles, labels,
 * placeholders, the pay button, the hints, and the names screen readers read) in the language
 * of the default QLocale when it was created, where the library ships a translation (Hindi,
 * for "hi"), and in English otherwise. That holds for the texts it makes later too (a tab's
 * when it is first shown, a hint when pay is pressed), whatever the default locale is by then,
 * and for the screens a checkout makes each time it is presented. The library installs one
 * QTranslator of its own on the QCoreApplication for that, once. The debug log stays in
 * English, and the gateway's pages are the gateway's.
 *
 * Turning it off makes the checkouts created afterwards English (or what a translator the host
 * installs itself gives); those that already exist keep their language.
 *
 * GUI thread only, with a QCoreApplication in place.
 */
PELBROOK_EXPORT void setTranslationsEnabled(bool enabled);

/// Whether the checkout loads its translations; see setTranslationsEnabled().
PELBROOK_EXPORT bool translationsEnabled();

} // namespace pelbrook

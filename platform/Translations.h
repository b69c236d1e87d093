#pragma once

#include <pelbrook/pelbrook_export.h>

namespace pelbrook {

/**
 * Turns the checkout's own translations on or off; on by default.
 *
 * While on, every checkout and every payment screen, when it is created, shows its texts (the
 * tab titles, labels, placeholders, the pay button, the hints, and the names screen readers
 * read) in the language of the default QLocale, where the library ships a translation
 * (Hindi, for "hi"), and in English otherwise. The library installs one QTranslator of its own
 * on the QCoreApplication for that, and replaces it when the default locale has changed by the
 * next creation. The debug log stays in English, and the gateway's pages are the gateway's.
 *
 * Turning it off removes that translator at once, and later checkouts show English (or what a
 * translator the host installs itself gives). Screens that already exist keep their texts.
 *
 * GUI thread only, with a QCoreApplication in place.
 */
PELBROOK_EXPORT void setTranslationsEnabled(bool enabled);

/// Whether the checkout loads its translations; see setTranslationsEnabled().
PELBROOK_EXPORT bool translationsEnabled();

} // namespace pelbrook

#pragma once

namespace pelbrook {

/// Installs the library's translation for the default QLocale on the QCoreApplication, or
/// replaces it when that locale has changed since the last call (removing it where the new
/// one has no translation). Does nothing when translations are off or nothing changed. Called
/// before a checkout or a screen makes its texts; GUI thread only.
void loadTranslations();

} // namespace pelbrook

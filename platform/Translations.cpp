#include <pelbrook/Translations.h>

#include "platform/Translations_p.h"

#include <QCoreApplication>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

#include <optional>

namespace pelbrook {

namespace {

// Where the build embeds the compiled translations (pelbrook_<language>.qm).
constexpr auto TranslationsDirectory = ":/com.pelbrook.translations";

struct TranslationState {
    bool enabled = true;
    // The application and the locale of the last load, found or not: a locale without a
    // translation is not searched again at every screen.
    QPointer<QCoreApplication> application;
    std::optional<QLocale> locale;
    // Owned by the application, so it goes with it.
    QPointer<QTranslator> translator;
};

TranslationState &state()
{
    static TranslationState s;
    return s;
}

void removeTranslator(TranslationState &s)
{
    if (s.translator) {
        QCoreApplication::removeTranslator(s.translator);
        delete s.translator.data();
    }
    s.locale.reset();
}

} // namespace

void loadTranslations()
{
    TranslationState &s = state();
    QCoreApplication *application = QCoreApplication::instance();
    const QLocale locale;
    if (!s.enabled || !application || (s.application == application && s.locale == locale))
        return;
    removeTranslator(s);
    s.application = application;
    s.locale = locale;
    auto *translator = new QTranslator(application);
    if (!translator->load(locale, QStringLiteral("pelbrook"), QStringLiteral("_"), QLatin1String(TranslationsDirectory))) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
    s.translator = translator;
}

void setTranslationsEnabled(bool enabled)
{
    TranslationState &s = state();
    s.enabled = enabled;
    if (!enabled)
        removeTranslator(s);
}

bool translationsEnabled()
{
    return state().enabled;
}

} // namespace pelbrook

#pragma once

#include <pelbrook/ViewController.h>

#include "platform/Translations_p.h"

namespace pelbrook {

/// The language @p screen was created in. The library's code that makes a screen's texts later
/// (the views a host's call needs before the screen is shown, a hint at a pay press) opens a
/// LanguageScope with it; the screen's own building and showing already run in it.
Language screenLanguage(const ViewController *screen);

} // namespace pelbrook

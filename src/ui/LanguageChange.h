#pragma once

#include <functional>

class QWidget;

// The language-changed notification is the toolkit's own LanguageChange event:
// a widget that receives it passes it on to all its children, so every control
// of a window hears it, shown or hidden.

// Tells every top-level widget, and through them every widget, that the language
// changed. Runs the listeners at once, before it returns (user-interface thread).
void AnnounceLanguageChange();

// Runs `whenChanged` each time `widget` hears that the language changed. The
// listener belongs to the widget and goes with it.
void WatchLanguage(QWidget& widget, std::function<void()> whenChanged);

#pragma once

#include <functional>
#include <string>

// Modal message boxes. Tests install a handler so that no dialog opens;
// the handler sees every prompt in the order it was shown.
enum class PromptKind { Information, Exclamation };

struct PromptRequest {
    PromptKind kind;
    std::string title;  // empty: the application's name
    std::string text;
    std::string details;  // a copyable list shown below the text; empty for none
};

using PromptHandler = std::function<void(const PromptRequest&)>;

// Replaces the handler; an empty handler restores the real message boxes.
// Returns the handler that was installed before.
PromptHandler SetPromptHandler(PromptHandler handler);

// An information box with one "OK" button.
void PromptOK(const std::string& text);
// An information box whose details (one item a line) sit in a read-only, copyable text box.
void PromptDetails(const std::string& text, const std::string& details);
// A warning box (with the system's beep) with one "OK" button.
void Exclamation(const std::string& text, const std::string& title = {});

#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMessageBox;

// Modal message boxes. Tests install a handler so that no dialog opens;
// the handler sees every prompt in the order it was shown.
enum class PromptKind { Information, Exclamation, Question };

struct PromptRequest {
    PromptKind kind;
    std::string title;  // empty: the application's name
    std::string text;
    std::string details;  // a copyable list shown below the text; empty for none
    std::vector<std::string> buttons;  // a question's buttons; empty: one "OK"
};

using PromptHandler = std::function<void(const PromptRequest&)>;
// Chooses a question's button by index, as the user would.
using PromptAnswer = std::function<int(const PromptRequest&)>;

// Replaces the handler; an empty handler restores the real message boxes.
// Returns the handler that was installed before.
PromptHandler SetPromptHandler(PromptHandler handler);
// Answers questions while a handler is installed (each question is seen by the
// handler first). Without one, every question is closed unanswered.
PromptAnswer SetPromptAnswer(PromptAnswer answer);

// The box a request opens when no handler is installed: the kind's icon, the
// title (the application's name when empty), the text as rich text in which
// "&" starts a new paragraph, and one "OK" button.
std::unique_ptr<QMessageBox> MakePromptBox(const PromptRequest& request);

// An information box (with the system's beep) with one "OK" button.
void PromptOK(const std::string& text);
// An information box whose details (one item a line) sit in a read-only, copyable text box.
void PromptDetails(const std::string& text, const std::string& details);
// A warning box (with the system's beep) with one "OK" button.
void Exclamation(const std::string& text, const std::string& title = {});
// A question box with one button per text, the first being the default. Gives
// the chosen button's index, or `closed` when the box is closed without one.
int Question(const std::string& text, const std::vector<std::string>& buttons, int closed,
             const std::string& title = {});

// Questions and messages to the user go through one replaceable prompter, so tests can
// answer them without a modal window.
#pragma once

#include <QString>

class QWidget;

class IPrompter {
public:
    enum class Icon { Information, Warning, Question, Error };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~IPrompter() = default;
    // Shows text with caption, icon and buttons; returns the button chosen (Cancel when
    // the box is closed without one).
    virtual Answer Show(QWidget* parent, const QString& caption, const QString& text, Icon icon,
                        Buttons buttons) = 0;
};

// The prompter in use; a message-box prompter unless a test installed another.
IPrompter& Prompter();
// Installs prompter (null restores the message boxes); returns the previous one.
IPrompter* SetPrompter(IPrompter* prompter);

// A warning with an OK button, captioned with the application title: how the program
// reports every failure and every refused input.
void ShowWarning(QWidget* parent, const QString& text);

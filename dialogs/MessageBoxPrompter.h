// The prompter of the running program: a modal QMessageBox.
#pragma once

#include "Prompter.h"

class CMessageBoxPrompter : public IPrompter {
public:
    Answer Show(QWidget* parent, const QString& caption, const QString& text, Icon icon,
                Buttons buttons) override;
};

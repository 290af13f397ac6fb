// What the command box touches: point placement and drawing (through editing), the command
// text box, the command list and the command box panel.
#pragma once

#include "editing/EditingContext.h"

#include <QListWidget>

struct CommandContext {
    EditingContext& editing;
    QLineEdit& txtCommand;
    QListWidget& lstCommand;
    QWidget& picCommand;
};

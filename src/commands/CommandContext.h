// What the command box touches: point placement and drawing (through editing), the command
// list and whether the command box shows.
#pragma once

#include "editing/EditingContext.h"

#include <QStringList>

struct CommandContext {
    EditingContext& editing;
    // The list's command words, in order, as start-up fills it.
    QStringList& lstCommand;
    // Whether the command box panel (picCommand) shows.
    bool& picCommandVisible;
};

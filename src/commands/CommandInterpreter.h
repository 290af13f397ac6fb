// The typed command language of the command box: PutPoint, ResetPoint, ObjectDepth,
// GetPointCoords and ManualSet, one command per line.
#pragma once

#include "commands/CommandContext.h"

// The title of every message about the command box: a refused line and a command's help.
inline const QString CommandBoxTitle = QStringLiteral("Command Box");

// What a command line gave: the answer that replaces the command box's text (GetPointCoords
// only), or the refusal the user was told; neither when the command simply ran.
struct CommandResult {
    std::optional<QString> answer;
    Refusal refused;
};

// Runs one command line. The line is split at every single space; the first word is the
// command word (matched with case) and the last word holds the arguments, separated by
// commas. Every argument is checked before anything is written: a malformed line changes
// nothing and tells the user, in a "Command Box" message, the form the command expects and
// which value was wrong. Called by cmdExecute_Click; keeps nothing between calls.
CommandResult ExecuteCommand(CommandContext& ctx, const QString& line);

// The Execute Command button, given the command box's text: runs it. The box keeps its text
// unless the result holds an answer.
CommandResult cmdExecute_Click(CommandContext& ctx, const QString& txtCommand);

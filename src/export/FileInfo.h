// What an object or workspace file holds, told readably for people or as JSON for scripts.
#pragma once

#include "export/InputFiles.h"

#include <QByteArray>

// Text from a file or a command line as a terminal shows it without obeying it: each control
// character (C0 with the line end, DEL, C1) as \xHH, each character that reorders the text
// around it (the bidirectional marks, embeddings, overrides and isolates) as \uHHHH. Called
// by describeText and by the tool for its messages; describeJson escapes the same in JSON's
// \uHHHH form.
QString shownPlainly(const QString& text);

// A colour of the files (0x00BBGGRR) as web colour text, "#rrggbb".
QString colourText(ColorRef colour);

// The description of a file read by readInputFile, headed by its path. An object: its point
// count and points (twips, screen axes), its depth as stored (with its type) and as the
// extruded drawing takes it, its dimension and grid state. A workspace: its four colours,
// the point radius and the grid state. JSON uses the files' own value names (see
// docs/file-format.md). Called by the tool's info command.
QByteArray describeText(const QString& path, const InputFile& file);
QByteArray describeJson(const QString& path, const InputFile& file);

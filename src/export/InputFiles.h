// The files the command-line tool is given, read as the window reads them and refused with
// the window's own messages.
#pragma once

#include "files/ObjectFile.h"
#include "files/WorkspaceFile.h"

#include <QString>
#include <variant>

// Why something the tool was asked to do did not happen: an input file that is missing,
// malformed or holds nothing (Input), or a line, drawing or export the program refuses.
struct Failure {
    enum class Kind { Input, Refused } kind;
    QString message;
};

// The tool's message for a file that holds nothing (which the window opens silently, loading
// nothing). Ftype as for OpenFile.
QString holdsNothingText(const QString& path, int Ftype);

// What a file held: an object, a workspace, or nothing (empty, or a record of type 0).
struct InputFile {
    enum class Kind { Object, Workspace, Nothing } kind = Kind::Nothing;
    ObjectFileValues object;
    WorkspaceFileValues workspace;
};

// Reads the file at path as File > Open Object or Open Workspace reads it, whichever kind it
// holds, without drawing anything. A missing file gives the window's "cannot be found"
// message; one that is neither kind gives the window's format message for the kind its
// extension names (".wks" workspace, anything else object).
std::variant<InputFile, Failure> readInputFile(const QString& path);

// The object of an object file; a workspace file or one holding nothing is refused as an
// Input failure too. Called by the exports that need no drawing.
std::variant<ObjectFileValues, Failure> readObjectInput(const QString& path);

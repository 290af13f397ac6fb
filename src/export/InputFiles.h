// The files the command-line tool is given, read whole (a path, or "-" for standard input)
// and refused with the reason the reader knows, named after the file.
#pragma once

#include "files/ObjectFile.h"
#include "files/WorkspaceFile.h"

#include <QString>
#include <optional>
#include <variant>

// Why something the tool was asked to do did not happen: an input file that is missing,
// unreadable, malformed or holds nothing (Input), or a line, drawing or export the program
// refuses (Refused). message: for Input "<file>: <reason>"; for Refused the window's message.
struct Failure {
    enum class Kind { Input, Refused } kind;
    QString message;
};

// The window's message for a file that holds nothing (which the window opens silently,
// loading nothing). Ftype as for OpenFile. Called by HeadlessSession.
QString holdsNothingText(const QString& path, int Ftype);

// How the tool names an input in its messages: "standard input" for "-", else the path.
QString inputName(const QString& path);
// An input refused for reason, named as inputName names it: "<file>: <reason>".
Failure inputFailure(const QString& path, const QString& reason);

// Called first by the tool's main: each of standard input, output and error that the tool
// was started without (closed) is opened on /dev/null, so that no file the tool opens later
// takes its place, and is remembered as closed.
void guardStandardStreams();
// Whether the stream (STDIN_FILENO, STDOUT_FILENO) was closed when the tool started.
bool standardStreamClosed(int fd);

// What an input of the tool holds, for the size it may have.
enum class InputContents { ProgramFile, Script, Drawing };

// All the bytes of path, or of standard input for "-", read as cat reads them (a pipe or a
// device too). nullopt with *why set when they cannot be had: the system's reason ("No such
// file or directory", "Permission denied"), "is a folder", or a size no object, workspace or
// script the tool takes reaches. Standard input and any other file that is not a regular
// file (a pipe, a device) are read once: a later call for the same path gives the same
// bytes. Called for every input of the tool.
std::optional<QByteArray> readWholeInput(const QString& path, QString* why, InputContents contents = InputContents::ProgramFile);

// What a file held: an object, a workspace, or nothing (empty, or a record of type 0).
struct InputFile {
    enum class Kind { Object, Workspace, Nothing } kind = Kind::Nothing;
    ObjectFileValues object;
    WorkspaceFileValues workspace;
};

// Reads path (or "-") as File > Open Object or Open Workspace reads it, whichever kind it
// holds, without drawing anything. A file that is neither kind is refused with the reader's
// reason for the kind its extension names (".wks" workspace, anything else object).
std::variant<InputFile, Failure> readInputFile(const QString& path);

// The object of an object file; a workspace file or one holding nothing is refused as an
// Input failure too. Called by the exports that need no drawing.
std::variant<ObjectFileValues, Failure> readObjectInput(const QString& path);

// The workspace of a workspace file; an object file or one holding nothing is refused as an
// Input failure. Called by the picture exports.
std::variant<WorkspaceFileValues, Failure> readWorkspaceInput(const QString& path);

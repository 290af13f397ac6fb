// The solid as a 3MF package (written through lib3mf): its unit named, the object named,
// every filled part with vertices of its own.
#pragma once

#include "export/Mesh.h"

#include <QByteArray>
#include <QString>
#include <variant>

// Whether 3MF names the unit (millimetres and inches; it has no twips).
bool threeMfHasUnit(LengthUnit unit);

// The mesh as one 3MF model in unit (one threeMfHasUnit accepts): one object named name,
// placed once on the build plate, the program named as the application in the model's
// metadata. Each of the mesh's parts (Mesh::partStarts) gets copies of its own corners, so
// that every part is closed and manifold on its own where parts touch, and a part touching
// itself at a corner a copy for each fan of triangles there. The library's
// reason as a phrase when it fails. Called by the tool's 3MF export.
std::variant<QByteArray, QString> threeMfPackage(const Mesh& mesh, const QString& name, LengthUnit unit);

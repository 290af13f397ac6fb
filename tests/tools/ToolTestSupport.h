// What the tests of brondelwick-tool share: running the built tool (and the programs users
// open its files with) as a user does, and object files written for them.
#pragma once

#include "fakes/TestSupport.h"
#include "files/ObjectFile.h"
#include "files/WorkspaceFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

Q_DECLARE_METATYPE(std::vector<PointRecord>)

// What a finished program did: its exit status and both output streams.
struct Ran {
    int status = -1;
    QString out, err;
};

// Runs a program in a folder (empty: the test's own), with input on its standard input.
inline Ran runProgram(const QString& program, const QStringList& arguments, const QByteArray& input = {},
                      const QString& folder = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

inline Ran runTool(const QStringList& arguments, const QByteArray& input = {}, const QString& folder = {})
{
    return runProgram(QStringLiteral(BRONDELWICK_TOOL), arguments, input, folder);
}

// Writes an object file as the window saves it.
inline void writeObject(const QString& path, const std::vector<PointRecord>& points, const TaggedValue& depth,
                        std::int16_t dimension = 3)
{
    WorkspaceState s;
    s.pPoints = points.empty() ? std::vector<PointRecord>{PointRecord{}} : points;
    s.PointCount = std::int16_t(points.size());
    s.Depth = depth;
    s.Dimension = dimension;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(writeObjectFile(s));
}

// Writes a workspace file of the test colours workspace's colours (tests/data/colours.wks)
// with another point radius (twips).
inline void writeWorkspace(const QString& path, std::int16_t radius)
{
    WorkspaceFileValues values{0x0000FF, 0x00FF00, 0xFF0000, 0x123456, radius, 0};
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(writeWorkspaceFile(values));
}

// The points of a ring of n points around (cx, cy), rounded to whole twips.
inline std::vector<PointRecord> ring(int n, double radius, double cx = 2500, double cy = 2500)
{
    std::vector<PointRecord> points;
    for (int i = 0; i < n; ++i)
        points.push_back({std::int32_t(std::lround(cx + radius * std::cos(2 * M_PI * i / n))),
                          std::int32_t(std::lround(cy + radius * std::sin(2 * M_PI * i / n)))});
    return points;
}

// A pentagram: five points of a circle, each joined to the next but one.
inline std::vector<PointRecord> pentagram()
{
    std::vector<PointRecord> points;
    for (int i = 0; i < 5; ++i)
        points.push_back({std::int32_t(std::lround(2500 + 2000 * std::sin(4 * M_PI * i / 5))),
                          std::int32_t(std::lround(2500 - 2000 * std::cos(4 * M_PI * i / 5)))});
    return points;
}

inline const TaggedValue NoDepth;
inline TaggedValue depthOf(int twips) { return TaggedValue(std::int16_t(twips)); }

// A file list over one folder and pattern: the data source behind the browser's buttons.
#pragma once

#include <QString>
#include <QStringList>

// Holds the names of the folder's matching regular files as of its last reading, sorted as
// a file list shows them (by name, letter case ignored). A missing folder lists nothing.
class FileList {
public:
    explicit FileList(QString pattern) : pattern_(std::move(pattern)) {}

    // Points the list at a folder and reads it.
    void setPath(const QString& folder);
    void Refresh();

    int ListCount() const { return int(entries_.size()); }
    // The i-th entry, a file name without folder; precondition 0 <= i < ListCount().
    QString List(int i) const { return entries_.at(i); }

private:
    QString path_;
    QString pattern_;
    QStringList entries_;
};

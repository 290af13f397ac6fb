// Named, typed values kept in the order first written, with a compact checked binary form;
// object and workspace files store one bag each.
#pragma once

#include "platform/TaggedValue.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// A PropertyBag maps names to TaggedValues. SaveFile (files/FileCommands) fills one and saves
// Contents() inside a file record (filerecord::encode); OpenFile hands the record's data to
// setContents() and reads the values back by name. Lookup by name goes through index_.
//
// Invariants: names are unique, non-empty and at most 65535 bytes in UTF-8, and contain no
// unpaired surrogate; index_ maps every name to its position in entries_ and holds nothing
// else; a Text value holds no unpaired surrogate and is at most 4294967295 bytes in UTF-8. Contents() of any bag is
// accepted by setContents() and gives back an equal bag, bit for bit in the numbers
// (NaN payloads and the sign of zero included).
class PropertyBag {
public:
    // Stores value under name. A name already present keeps its position and gets the new
    // value; a new name goes after all others. Each unpaired surrogate in a text is stored
    // as U+FFFD. A name that breaks the invariants above, or a text too long to store, is
    // refused with a warning and the bag is left unchanged.
    void WriteProperty(const QString& name, const TaggedValue& value);

    // The value stored under name, or exactly defaultValue when there is none. The kind
    // is the one written: callers that need a number or a text use the value's readings.
    TaggedValue ReadProperty(const QString& name, const TaggedValue& defaultValue) const;

    // The serialised bag, values in the order first written. The layout is described in
    // docs/file-format.md.
    QByteArray Contents() const;

    // Replaces the bag with the one serialised in bytes. Returns false when bytes are not
    // exactly a bag's serialised form (damaged, cut short, extended, or from a later format
    // version) or hold more than mostValues values; the bag is then empty and *error, when
    // error is given, holds a short reason. Never allocates more than the size of bytes on
    // account of lengths in it; mostValues bounds what many tiny values cost beyond that.
    bool setContents(const QByteArray& bytes, QString* error = nullptr, qsizetype mostValues = 0xFFFFFFFF);

    // The number of distinct names stored.
    int count() const;
    // Whether a value is stored under name (a hash lookup).
    bool contains(const QString& name) const { return index_.contains(name); }
    // Makes room for that many values, so that writing a large object does not regrow.
    void reserve(qsizetype values);

private:
    struct Entry {
        QString name;
        TaggedValue value;
    };

    QList<Entry> entries_;
    QHash<QString, qsizetype> index_;
};

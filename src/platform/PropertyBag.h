// Named, typed values kept in the order first written, with a compact checked binary form;
// object and workspace files store one bag each.
#pragma once

#include "platform/TaggedValue.h"

#include <QByteArray>
#include <QByteArrayView>
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

    // Replaces the bag with the one serialised in bytes (read by PropertyBagScanner). Returns false when bytes are not
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

// Writes a bag's serialised form value by value into one growing buffer, without building a
// bag: PropertyBag::Contents() goes through it, and so do writers of large files that know
// their names are valid and distinct (writeObjectFile). The bytes are those of a bag holding
// the same values written in the same order.
// Invariant: the buffer holds the headroom, the header for the announced count, then the
// values added.
class PropertyBagWriter {
public:
    // Starts a bag of exactly count values after headroom bytes left for the caller (a file
    // record's header, so that the file is not copied once more); roomHint is the bag's
    // expected size in bytes, so that a good hint means one allocation.
    PropertyBagWriter(quint32 count, qsizetype roomHint, qsizetype headroom = 0);

    // Appends one value, each unpaired surrogate of a text as U+FFFD. Precondition: name is
    // valid and new to this bag, and a text fits its length field, as WriteProperty ensures.
    void add(QStringView name, const TaggedValue& value);
    // Appends a text value whose name and text are plain ASCII given as bytes; otherwise as add.
    void addAsciiText(QByteArrayView name, QByteArrayView text);

    // Appends the checksum and hands over the headroom, still to be filled, then the bag.
    // Precondition: exactly count values were added. The writer is then spent.
    QByteArray finish();

private:
    char* room(qsizetype bytes);

    QByteArray out_;
    qsizetype start_;
    qsizetype used_;
};

// Walks a bag's serialised form value by value without building a bag: the one parser of the
// form. setContents builds a bag on it; the object file's reader reads large files through it
// without a QString or an allocation per value. It checks up front the signature, version,
// count within mostValues and checksum, and for each value that its bytes are there, its
// name is not empty and its type code is known. It leaves to its caller that names and texts
// are UTF-8 (takeName, take) and that names are distinct, and words every failure, the caller's
// through refuse(), as setContents reports it.
// Invariant: once error() is set, the scanner gives nothing more.
class PropertyBagScanner {
public:
    // One value as found: text holds a Text value's raw bytes, number every other kind's value.
    struct Value {
        ValueKind kind = ValueKind::Empty;
        QByteArrayView text;
        TaggedValue number;
    };

    PropertyBagScanner(QByteArrayView bytes, qsizetype mostValues);

    // Whether the whole passed the up-front checks; error() says why not.
    bool valid() const { return valid_; }
    // The number of values the bag declares. Precondition: valid().
    quint32 count() const { return count_; }
    // Reads the next value's name; false when every value was read, or when the name is cut
    // short or empty (error() then says so).
    bool nextName(QByteArrayView* name);
    // Reads the value whose name nextName just gave; false, with error(), when its type or its
    // payload is cut short or its type code is unknown.
    bool nextValue(Value* out);
    // The name just read as text; false (the value refused) when it is not UTF-8.
    bool takeName(QByteArrayView bytes, QString* out);
    // The value just read, a text decoded; false (the value refused) for a text that is not
    // UTF-8.
    bool take(const Value& value, TaggedValue* out);
    // Records the caller's reason for refusing the value just named and gives false.
    bool refuse(const QString& reason);
    // After the last value: false, with error(), when a failure was met or bytes are left over.
    bool finish();
    const QString& error() const { return error_; }

private:
    bool fail(const QString& reason);

    const char* data_ = nullptr;
    qsizetype pos_ = 0;
    qsizetype end_ = 0;
    quint32 count_ = 0;
    quint32 read_ = 0;  // values read whole
    quint32 named_ = 0; // the value whose name was read last
    bool valid_ = false;
    QString error_;
};

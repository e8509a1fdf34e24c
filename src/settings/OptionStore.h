#pragma once
// The options store: small INI text files ("[Section]" lines followed by
// "key=value" lines) in Windows-1252 with CR LF line ends. Sections and keys
// are matched without regard to letter case, so "Vson" and "VSon" are one entry.
// Every call names its file and stands alone; nothing is cached, so a value
// written is what the very next read returns.

#include "settings/FileResult.h"

#include <QString>

#include <optional>

// What a read gives back: the stored text, or the empty value when the file,
// the section or the key does not exist. The readers convert without error
// handling of their own, so the empty value has one fixed reading per kind.
class OptionValue {
public:
    OptionValue() = default;  // the empty value
    explicit OptionValue(const QString &text) : m_text(text) {}

    bool isEmpty() const { return m_text.isEmpty(); }
    // The text; "" for the empty value.
    QString toText() const { return m_text; }
    // The whole number; 0 for the empty value and for text that is not one.
    qint32 toNumber() const { return number().value_or(0); }
    // False for the empty value; true for a non-zero number or "true".
    bool toBoolean() const;
    // The design's "compared with the number n": the empty value equals 0.
    bool equalsNumber(qint32 n) const;
    // Only a value that really is a whole number; nothing for the empty value.
    std::optional<qint32> number() const;

private:
    QString m_text;
};

class OptionStore {
public:
    OptionValue ReadValue(const QString &key, const QString &section, const QString &file) const;

    // Creates the file, the section and the key as needed and replaces an
    // earlier value; the rest of the file stays as it was. Fails, leaving the
    // file untouched, when it cannot be read or written, or when the key,
    // section or value holds a line break, "=" / "]" where they would end the
    // name, or a character the 8-bit file cannot hold.
    FileResult WriteValue(const QString &key, const QString &section, const QString &value,
                          const QString &file);
};

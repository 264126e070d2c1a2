// In-memory INI document: the text format of the setting files, "Set.Dat" and
// the language files.
//
// Text layout written: "[Section]" headers, items as "Key = Value", every line
// ended by CR LF, one empty line after the last item of every section.
// Reading skips a leading UTF-8 byte-order mark, accepts blanks around keys,
// "=" and values, empty lines anywhere, LF-only line ends, values in double
// quotes, and joins runs of items named "Key Line0001", "Key Line0002", ...
// back into one item "Key". Values longer than 80 characters are written as
// such runs. Section names and keys are compared without regard to ASCII
// letter case and surrounding blanks. No byte-order mark is written, except
// in front of a first line that begins with the mark's bytes itself.
//
// Updating keeps what it does not touch: comments (lines starting with ";"),
// unknown items and sections stay where they were, byte for byte.
//
// Text is handled as 8-bit bytes and passed through unchanged.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <unordered_set>

class IniFile {
public:
  // Longest piece of a value on one line; longer values become a run.
  static constexpr int kMaxValueLine = 80;

  // Replaces the document by the file's content. Returns 0, or -1 when the
  // file cannot be read (the document is then empty).
  int LoadFile(const QString &path);
  // Replaces the document by the given text.
  void LoadText(const QByteArray &text);

  // The document as file text.
  QByteArray ToText() const;
  // Writes the document to path through a temporary file in the same folder
  // that replaces the target only when completely written. Returns 0, or -1
  // when anything failed (the old file then stays as it was).
  int SaveFile(const QString &path) const;

  void Clear();

  bool HasSection(QByteArrayView section) const;
  bool HasItem(QByteArrayView section, QByteArrayView key) const;
  // The value of the first item with that key, without enclosing quotes.
  std::optional<QByteArray> GetString(QByteArrayView section, QByteArrayView key) const;
  // The value as a signed 32-bit decimal integer; nullopt when the item is
  // missing, empty or not such a number.
  std::optional<int32_t> GetInt(QByteArrayView section, QByteArrayView key) const;

  // Sets an item: an existing one is replaced in place (and further items of
  // that key in the section are removed), a new one is appended at the end of
  // its section, a new section at the end of the document. The key is written
  // as given here.
  void SetString(QByteArrayView section, QByteArrayView key, const QByteArray &value);
  void SetInt(QByteArrayView section, QByteArrayView key, int32_t value);
  // Removes every item of that key in the section; returns how many.
  int RemoveItem(QByteArrayView section, QByteArrayView key);

  // Section names in document order (the unnamed part before the first header
  // is not listed), and the item keys of one section in order.
  QList<QByteArray> Sections() const;
  QList<QByteArray> Keys(QByteArrayView section) const;

  // Strict decimal parse: optional sign, digits, blanks around; must fit
  // in a signed 32-bit value.
  static std::optional<int32_t> ParseInt(QByteArrayView text);

private:
  // Section names and keys as look-up keys: trimmed, ASCII letters in either
  // case equal. A look-up by view allocates nothing.
  struct NameHash {
    using is_transparent = void;
    size_t operator()(QByteArrayView name) const;
  };
  struct NameEqual {
    using is_transparent = void;
    bool operator()(QByteArrayView a, QByteArrayView b) const;
  };
  template <typename Value>
  using NameMap = std::unordered_map<QByteArray, Value, NameHash, NameEqual>;
  using NameSet = std::unordered_set<QByteArray, NameHash, NameEqual>;

  struct Entry {
    bool IsItem = false;
    QByteArray Key;        // items: the key as written, trimmed
    QByteArray Value;      // items: the value, unquoted and joined
    QList<QByteArray> Raw; // the original lines, written back while unchanged
  };
  struct Section {
    bool HasHeader = true; // false only for the part before the first header
    QByteArray Name;
    QByteArray RawHeader;
    QList<Entry> Entries;
    // Position of the first item of every key, made on the first look-up
    // after a change that moved entries.
    mutable NameMap<qsizetype> KeyIndex;
    mutable NameSet RepeatedKeys; // keys of more than one item
    mutable bool KeyIndexValid = false;
  };

  Section *FindSection(QByteArrayView name);
  const Section *FindSection(QByteArrayView name) const;
  static qsizetype FindEntryIndex(const Section &section, QByteArrayView key);
  static void AppendEntryText(QByteArray &out, const Entry &entry);

  Section &AppendSection(bool hasHeader, QByteArray name, QByteArray rawHeader);

  QList<Section> Sections_;
  // Position in Sections_ of every named section: a look-up costs the same
  // however many sections a file has.
  NameMap<qsizetype> Index_;
};

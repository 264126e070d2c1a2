#include "storage/IniFile.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace {

const QByteArray kLineEnd = "\r\n";
constexpr QByteArrayView kRunMarker = " Line";
constexpr QByteArrayView kByteOrderMark = "\xEF\xBB\xBF";
constexpr int kRunDigits = 4;

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(QByteArrayView a, QByteArrayView b) {
  a = a.trimmed();
  b = b.trimmed();
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

QByteArray Unquote(QByteArrayView text) {
  const QByteArrayView value = text.trimmed();
  if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
    return value.sliced(1, value.size() - 2).toByteArray();
  return value.toByteArray();
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// Appends a value so that reading it back gives it unchanged: it goes in
// quotes only when it has blanks at either end or quotes at both ends. Line
// breaks cannot be held by one line and become blanks.
void AppendValue(QByteArray &out, QByteArrayView value) {
  const bool quote = !value.isEmpty() &&
                     (IsBlank(value.front()) || IsBlank(value.back()) || value.front() == '\r' ||
                      value.front() == '\n' || value.back() == '\r' || value.back() == '\n' ||
                      (value.size() >= 2 && value.front() == '"' && value.back() == '"'));
  if (quote)
    out += '"';
  const qsizetype at = out.size();
  out += value;
  for (qsizetype i = at; i < out.size(); ++i)
    if (out[i] == '\r' || out[i] == '\n')
      out[i] = ' ';
  if (quote)
    out += '"';
}

// "Key Line0001" -> base "Key" and counter 1; nullopt for any other key.
std::optional<int> RunCounter(QByteArrayView key, QByteArrayView *base) {
  const qsizetype at = key.size() - kRunDigits - kRunMarker.size();
  if (at <= 0)
    return std::nullopt;
  if (key.sliced(at, kRunMarker.size()).compare(kRunMarker, Qt::CaseInsensitive) != 0)
    return std::nullopt;
  int counter = 0;
  for (const char c : key.last(kRunDigits)) {
    if (c < '0' || c > '9')
      return std::nullopt;
    counter = counter * 10 + (c - '0');
  }
  *base = key.first(at).trimmed();
  if (base->isEmpty())
    return std::nullopt;
  return counter;
}

QByteArray RunKey(const QByteArray &base, int counter) {
  return base + kRunMarker.toByteArray() +
         QByteArray::number(counter).rightJustified(kRunDigits, '0');
}

} // namespace

void IniFile::Clear() {
  Sections_.clear();
  Index_.clear();
}

size_t IniFile::NameHash::operator()(QByteArrayView name) const {
  // FNV-1a over the trimmed name in lower case.
  uint64_t hash = 14695981039346656037ull;
  for (const char c : name.trimmed())
    hash = (hash ^ static_cast<unsigned char>(AsciiLower(c))) * 1099511628211ull;
  return static_cast<size_t>(hash);
}

bool IniFile::NameEqual::operator()(QByteArrayView a, QByteArrayView b) const {
  return SameName(a, b);
}

IniFile::Section &IniFile::AppendSection(bool hasHeader, QByteArray name, QByteArray rawHeader) {
  if (hasHeader)
    Index_.emplace(name, Sections_.size());
  Section &section = Sections_.emplace_back();
  section.HasHeader = hasHeader;
  section.Name = std::move(name);
  section.RawHeader = std::move(rawHeader);
  return section;
}

int IniFile::LoadFile(const QString &path) {
  Clear();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return -1;
  const QByteArray text = file.readAll();
  if (file.error() != QFileDevice::NoError)
    return -1;
  LoadText(text);
  return 0;
}

void IniFile::LoadText(const QByteArray &text) {
  Clear();
  Section *current = nullptr;
  auto currentSection = [&]() -> Section & {
    if (current == nullptr) {
      current = &AppendSection(false, {}, {});
    }
    return *current;
  };

  const QByteArrayView all(text);
  // Some editors begin a UTF-8 file with a byte-order mark: it is no text.
  qsizetype start = all.startsWith(kByteOrderMark) ? kByteOrderMark.size() : 0;
  while (start < all.size()) {
    qsizetype end = all.indexOf('\n', start);
    if (end < 0)
      end = all.size();
    QByteArrayView line = all.sliced(start, end - start);
    start = end + 1;
    if (line.endsWith('\r'))
      line.chop(1);
    const QByteArrayView trimmed = line.trimmed();
    if (trimmed.isEmpty())
      continue;

    if (trimmed.startsWith('[') && trimmed.endsWith(']')) {
      const QByteArrayView name = trimmed.sliced(1, trimmed.size() - 2).trimmed();
      // A section that appears twice is one section: later items join it.
      current = FindSection(name);
      if (current == nullptr)
        current = &AppendSection(true, name.toByteArray(), line.toByteArray());
      continue;
    }

    Entry entry;
    const qsizetype eq = trimmed.indexOf('=');
    if (!trimmed.startsWith(';') && eq > 0) {
      const QByteArrayView key = trimmed.first(eq).trimmed();
      const QByteArrayView value = trimmed.sliced(eq + 1).trimmed();
      entry.Key = key.toByteArray();
      entry.Value = Unquote(value);
      entry.IsItem = !key.isEmpty();
      // A line exactly as this class writes it needs no copy of its own.
      // A carriage return inside the value would be written as a blank.
      const bool canonical = entry.IsItem && entry.Value.size() == value.size() &&
                             !value.contains('\r') && value.size() <= kMaxValueLine &&
                             line.size() == key.size() + 3 + value.size() && line.startsWith(key) &&
                             line.sliced(key.size(), 3) == " = ";
      if (!canonical)
        entry.Raw.append(line.toByteArray());
    } else {
      // Comments and lines that are neither items nor headers are kept as
      // they are.
      entry.Raw.append(line.toByteArray());
    }
    currentSection().Entries.append(std::move(entry));
  }

  // Join "Key Line0001", "Key Line0002", ... into one item "Key".
  auto rawLines = [](const Entry &entry) {
    return entry.Raw.isEmpty() ? QList<QByteArray>{entry.Key + " = " + entry.Value} : entry.Raw;
  };
  // The entries are moved into a new list in one pass, so a section of many
  // runs costs no more than one of plain items.
  for (Section &section : Sections_) {
    QList<Entry> &entries = section.Entries;
    QList<Entry> kept;
    kept.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size();) {
      QByteArrayView base;
      if (!entries[i].IsItem || RunCounter(entries[i].Key, &base) != 1) {
        kept.append(std::move(entries[i++]));
        continue;
      }
      Entry joined{true, base.toByteArray(), entries[i].Value, rawLines(entries[i])};
      qsizetype next = i + 1;
      int counter = 2;
      QByteArrayView nextBase;
      while (next < entries.size() && entries[next].IsItem &&
             RunCounter(entries[next].Key, &nextBase) == counter && SameName(nextBase, base)) {
        joined.Value += entries[next].Value;
        joined.Raw += rawLines(entries[next]);
        ++next;
        ++counter;
      }
      kept.append(std::move(joined));
      i = next;
    }
    entries = std::move(kept);
  }
}

void IniFile::AppendEntryText(QByteArray &out, const Entry &entry) {
  if (!entry.Raw.isEmpty()) {
    for (const QByteArray &line : entry.Raw)
      out.append(line).append(kLineEnd);
    return;
  }
  if (entry.Value.size() <= kMaxValueLine) {
    out.append(entry.Key).append(" = ");
    AppendValue(out, entry.Value);
    out.append(kLineEnd);
    return;
  }
  int counter = 1;
  for (qsizetype at = 0; at < entry.Value.size(); at += kMaxValueLine, ++counter) {
    out.append(RunKey(entry.Key, counter)).append(" = ");
    AppendValue(out, QByteArrayView(entry.Value)
                         .sliced(at, std::min<qsizetype>(kMaxValueLine, entry.Value.size() - at)));
    out.append(kLineEnd);
  }
}

QByteArray IniFile::ToText() const {
  QByteArray out;
  for (const Section &section : Sections_) {
    if (!section.HasHeader && section.Entries.isEmpty())
      continue;
    if (section.HasHeader) {
      if (section.RawHeader.isEmpty())
        out.append('[').append(section.Name).append(']');
      else
        out.append(section.RawHeader);
      out.append(kLineEnd);
    }
    for (const Entry &entry : section.Entries)
      AppendEntryText(out, entry);
    out.append(kLineEnd);
  }
  // A first line that begins with the byte-order mark's bytes (it followed
  // empty lines, which are not written) gets a mark in front for the
  // reader to take away, or it would lose them.
  if (out.startsWith(kByteOrderMark))
    out.prepend(kByteOrderMark);
  return out;
}

int IniFile::SaveFile(const QString &path) const {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return -1;
  const QByteArray text = ToText();
  if (file.write(text) != text.size()) {
    file.cancelWriting();
    file.commit(); // removes the temporary file
    return -1;
  }
  return file.commit() ? 0 : -1;
}

IniFile::Section *IniFile::FindSection(QByteArrayView name) {
  const auto found = Index_.find(name);
  return found == Index_.end() ? nullptr : &Sections_[found->second];
}

const IniFile::Section *IniFile::FindSection(QByteArrayView name) const {
  return const_cast<IniFile *>(this)->FindSection(name);
}

qsizetype IniFile::FindEntryIndex(const Section &section, QByteArrayView key) {
  if (!section.KeyIndexValid) {
    section.KeyIndex.clear();
    section.RepeatedKeys.clear();
    for (qsizetype i = 0; i < section.Entries.size(); ++i) {
      if (!section.Entries[i].IsItem)
        continue;
      const QByteArray &name = section.Entries[i].Key;
      if (!section.KeyIndex.emplace(name, i).second)
        section.RepeatedKeys.insert(name);
    }
    section.KeyIndexValid = true;
  }
  const auto found = section.KeyIndex.find(key);
  return found == section.KeyIndex.end() ? -1 : found->second;
}

bool IniFile::HasSection(QByteArrayView section) const { return FindSection(section) != nullptr; }

bool IniFile::HasItem(QByteArrayView section, QByteArrayView key) const {
  return GetString(section, key).has_value();
}

std::optional<QByteArray> IniFile::GetString(QByteArrayView section, QByteArrayView key) const {
  const Section *found = FindSection(section);
  if (found == nullptr)
    return std::nullopt;
  const qsizetype i = FindEntryIndex(*found, key);
  if (i < 0)
    return std::nullopt;
  return found->Entries[i].Value;
}

std::optional<int32_t> IniFile::GetInt(QByteArrayView section, QByteArrayView key) const {
  const std::optional<QByteArray> text = GetString(section, key);
  if (!text)
    return std::nullopt;
  return ParseInt(*text);
}

void IniFile::SetString(QByteArrayView section, QByteArrayView key, const QByteArray &value) {
  Section *target = FindSection(section);
  if (target == nullptr)
    target = &AppendSection(true, section.trimmed().toByteArray(), {});
  Entry entry{true, key.trimmed().toByteArray(), value, {}};
  QList<Entry> &entries = target->Entries;
  const qsizetype i = FindEntryIndex(*target, key);
  if (i < 0) {
    target->KeyIndex.emplace(entry.Key, entries.size());
    entries.append(std::move(entry));
    return;
  }
  entries[i] = std::move(entry);
  if (!target->RepeatedKeys.contains(key))
    return;
  for (qsizetype j = entries.size() - 1; j > i; --j)
    if (entries[j].IsItem && SameName(entries[j].Key, key))
      entries.remove(j);
  target->KeyIndexValid = false;
}

void IniFile::SetInt(QByteArrayView section, QByteArrayView key, int32_t value) {
  SetString(section, key, QByteArray::number(value));
}

int IniFile::RemoveItem(QByteArrayView section, QByteArrayView key) {
  Section *target = FindSection(section);
  if (target == nullptr)
    return 0;
  target->KeyIndexValid = false;
  return static_cast<int>(target->Entries.removeIf(
      [&](const Entry &entry) { return entry.IsItem && SameName(entry.Key, key); }));
}

QList<QByteArray> IniFile::Sections() const {
  QList<QByteArray> names;
  for (const Section &section : Sections_)
    if (section.HasHeader)
      names.append(section.Name);
  return names;
}

QList<QByteArray> IniFile::Keys(QByteArrayView section) const {
  QList<QByteArray> keys;
  if (const Section *found = FindSection(section))
    for (const Entry &entry : found->Entries)
      if (entry.IsItem)
        keys.append(entry.Key);
  return keys;
}

std::optional<int32_t> IniFile::ParseInt(QByteArrayView text) {
  text = text.trimmed();
  bool negative = false;
  if (!text.isEmpty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text = text.sliced(1);
  }
  if (text.isEmpty())
    return std::nullopt;
  int64_t magnitude = 0;
  for (const char c : text) {
    if (c < '0' || c > '9')
      return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > int64_t{INT32_MAX} + 1)
      return std::nullopt;
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX)
    return std::nullopt;
  return static_cast<int32_t>(value);
}

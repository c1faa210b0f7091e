// The registry accessor on an INI file: typed values in text form, keys as groups; a
// damaged file is moved aside before anything could write over it.
#include "platform/Registry.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <bit>
#include <cstdint>

#include "platform/MessageBox.h"

namespace {

// A key without values still exists in the registry; a group of an INI file exists only
// while something is stored in it, so an empty key holds this entry, which is no value.
const QString kKeyMarker = QStringLiteral(".key");

const QString kIntegerPrefix = QStringLiteral("dword:");
const QString kStringPrefix = QStringLiteral("sz:");
const QString kBinaryPrefix = QStringLiteral("hex:");

constexpr int kRealBytes = 8;
constexpr int kIntegerBytes = 4;

// Opens a group of the settings for the life of the scope.
class TGroupScope {
public:
  TGroupScope(QSettings& settings, const QStringList& groups) : FSettings(settings)
  {
    if (!groups.isEmpty())
      FSettings.beginGroup(groups.join(QLatin1Char('/')));
    FOpened = !groups.isEmpty();
  }
  ~TGroupScope()
  {
    if (FOpened)
      FSettings.endGroup();
  }
  TGroupScope(const TGroupScope&) = delete;
  TGroupScope& operator=(const TGroupScope&) = delete;

private:
  QSettings& FSettings;
  bool FOpened;
};

QString FullKey(const QStringList& groups, const QString& name)
{
  return groups.isEmpty() ? name : groups.join(QLatin1Char('/')) + QLatin1Char('/') + name;
}

// The settings file separates groups with slashes and reads backslashes as slashes, so
// neither may stand inside a name.
bool IsValidName(const QString& name)
{
  return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

bool IsValidValueName(const QString& name)
{
  return IsValidName(name) && name.compare(kKeyMarker, Qt::CaseInsensitive) != 0;
}

std::optional<QString> FindIgnoringCase(const QStringList& names, const QString& name)
{
  for (const QString& candidate : names)
    if (candidate.compare(name, Qt::CaseInsensitive) == 0)
      return candidate;
  return std::nullopt;
}

// A stored value split into its type and its content.
struct TTypedValue {
  TRegDataType Type = TRegDataType::Unknown;
  qint32 Integer = 0;
  QString Text;
  QByteArray Bytes;
};

bool IsAsciiDigit(QChar ch) { return ch >= QLatin1Char('0') && ch <= QLatin1Char('9'); }

bool IsAsciiHexDigit(QChar ch)
{
  return IsAsciiDigit(ch) || (ch >= QLatin1Char('a') && ch <= QLatin1Char('f')) ||
         (ch >= QLatin1Char('A') && ch <= QLatin1Char('F'));
}

// Two ASCII hex digits per byte; a comma may stand between two bytes, as in an exported
// registry file.
std::optional<QByteArray> ParseHex(const QString& text)
{
  QByteArray digits;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const bool betweenBytes = i > 0 && IsAsciiHexDigit(text[i - 1]) && digits.size() % 2 == 0 && i + 1 < text.size();
    if (text[i] == QLatin1Char(',') && betweenBytes)
      continue;
    if (!IsAsciiHexDigit(text[i]))
      return std::nullopt;
    digits.append(char(text[i].unicode()));
  }
  if (digits.size() % 2 != 0)
    return std::nullopt;
  return QByteArray::fromHex(digits);
}

// A decimal integer, optionally negative, in ASCII digits and nothing else.
std::optional<qlonglong> ParseDecimal(const QString& text)
{
  const qsizetype first = text.startsWith(QLatin1Char('-')) ? 1 : 0;
  constexpr qsizetype kLongestDigits = 10;  // 4294967295
  if (text.size() == first || text.size() - first > kLongestDigits)
    return std::nullopt;
  qlonglong number = 0;
  for (qsizetype i = first; i < text.size(); ++i) {
    if (!IsAsciiDigit(text[i]))
      return std::nullopt;
    number = number * 10 + (text[i].unicode() - '0');
  }
  return first ? -number : number;
}

TTypedValue ParseTyped(const QString& raw)
{
  TTypedValue typed;
  typed.Text = raw;
  if (raw.startsWith(kIntegerPrefix)) {
    // A DWORD is unsigned; a signed spelling is read as well, so a hand-edited -1 works.
    const std::optional<qlonglong> number = ParseDecimal(raw.mid(kIntegerPrefix.size()));
    if (number && *number >= INT32_MIN && *number <= static_cast<qlonglong>(UINT32_MAX)) {
      typed.Type = TRegDataType::Integer;
      typed.Integer = static_cast<qint32>(static_cast<quint32>(*number));
    }
  } else if (raw.startsWith(kStringPrefix)) {
    typed.Type = TRegDataType::String;
    typed.Text = raw.mid(kStringPrefix.size());
  } else if (raw.startsWith(kBinaryPrefix)) {
    if (std::optional<QByteArray> bytes = ParseHex(raw.mid(kBinaryPrefix.size()))) {
      typed.Type = TRegDataType::Binary;
      typed.Bytes = *bytes;
    }
  }
  return typed;
}

// Whether the INI reader takes every line of text as it stands. It silently skips a line
// without "=" and a section line without its "]", runs an unclosed quote or a line that
// ends in a backslash on into the lines below, and replaces bytes that are not UTF-8; a
// file rewritten after any of these has lost what it held.
bool ReadsWhole(QByteArray text)
{
  if (text.startsWith("\xEF\xBB\xBF"))
    text.remove(0, 3);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  (void)QString(utf8.decode(text));
  if (utf8.hasError())
    return false;
  for (QByteArray line : text.split('\n')) {
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
      continue;
    if (line.startsWith('[')) {
      if (!line.endsWith(']'))
        return false;
      continue;
    }
    const qsizetype equals = line.indexOf('=');
    if (equals <= 0)
      return false;
    bool quoted = false;
    for (qsizetype i = equals + 1; i < line.size(); ++i) {
      if (line[i] == '\\') {
        if (++i == line.size())
          return false;  // continues on the next line
      } else if (line[i] == '"') {
        quoted = !quoted;
      }
    }
    if (quoted)
      return false;
  }
  return true;
}

// Files this process has already reported as damaged, so that the user hears of each once.
QSet<QString>& ReportedFiles()
{
  static QSet<QString> files;
  return files;
}

// A name beside file that nothing uses yet: file.<yyyyMMdd-hhmmss>.bak, numbered if needed.
QString BackupName(const QString& file)
{
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
  QString name = file + QLatin1Char('.') + stamp + QStringLiteral(".bak");
  for (int n = 2; QFileInfo::exists(name); ++n)
    name = file + QLatin1Char('.') + stamp + QLatin1Char('-') + QString::number(n) + QStringLiteral(".bak");
  return name;
}

// Moves a file that cannot be read whole aside and tells the user where it went. False
// when it stays where it is: then it must not be written.
bool MoveDamagedAside(const QString& file)
{
  const QFileInfo info(file);
  if (!info.exists() || info.isDir())
    return true;
  QFile reading(file);
  if (reading.open(QIODevice::ReadOnly) && ReadsWhole(reading.readAll()))
    return true;
  reading.close();
  const QString backup = BackupName(file);
  const bool moved = QFile::rename(file, backup);
  if (!ReportedFiles().contains(file)) {
    ReportedFiles().insert(file);
    const QString where = QDir::toNativeSeparators(file);
    ShowMessage(TMessageKind::Error,
                moved ? QStringLiteral("The settings file %1 could not be read whole.\rIt is kept as %2, and the "
                                       "settings start afresh.")
                            .arg(where, QDir::toNativeSeparators(backup))
                      : QStringLiteral("The settings file %1 could not be read whole, nor be moved aside.\rIt is "
                                       "kept as it is, and no settings are saved.")
                            .arg(where));
  }
  return moved;
}

// What a write killed half way leaves beside the file: its lock file, and on file systems
// without unnamed temporary files a copy named file.XXXXXX. Only while the lock can be
// taken, so a write of another copy of the program that is going on is left alone.
void RemoveLeftovers(const QString& file)
{
  QLockFile lock(file + QStringLiteral(".lock"));
  if (!lock.tryLock(0))
    return;
  const QFileInfo info(file);
  const QRegularExpression temporary(QLatin1Char('^') + QRegularExpression::escape(info.fileName()) +
                                     QStringLiteral("\\.[A-Za-z0-9]{6}$"));
  const QDir folder = info.absoluteDir();
  for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
    if (temporary.match(name).hasMatch())
      QFile::remove(folder.filePath(name));
}

}  // namespace

// --- TRegistry helpers ---------------------------------------------------------------

QByteArray EncodeRealBinary(Real value)
{
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(static_cast<double>(value));
  QByteArray data(kRealBytes, '\0');
  for (int i = 0; i < kRealBytes; ++i)
    data[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  return data;
}

std::optional<Real> DecodeRealBinary(const QByteArray& data)
{
  if (data.size() != kRealBytes)
    return std::nullopt;
  std::uint64_t bits = 0;
  for (int i = 0; i < kRealBytes; ++i)
    bits |= static_cast<std::uint64_t>(static_cast<unsigned char>(data[i])) << (8 * i);
  return static_cast<Real>(std::bit_cast<double>(bits));
}

std::optional<bool> TRegistry::ReadBool(const QString& name) const
{
  if (const std::optional<qint32> value = ReadInteger(name))
    return *value != 0;
  return std::nullopt;
}

bool TRegistry::WriteBool(const QString& name, bool value) { return WriteInteger(name, value ? 1 : 0); }

std::optional<Real> TRegistry::ReadReal(const QString& name) const
{
  if (const std::optional<QByteArray> data = ReadBinary(name))
    return DecodeRealBinary(*data);
  return std::nullopt;
}

bool TRegistry::WriteReal(const QString& name, Real value) { return WriteBinary(name, EncodeRealBinary(value)); }

// --- TSettingsRegistry ---------------------------------------------------------------

TSettingsRegistry::TSettingsRegistry() : TSettingsRegistry(DefaultFileName()) {}

TSettingsRegistry::TSettingsRegistry(const QString& fileName)
{
  // Before the settings object reads the file: what it could not read, it would drop.
  // A lock taken here waits for nothing: no write of this process is going on now.
  RemoveLeftovers(fileName);
  FKeptAsItIs = !MoveDamagedAside(fileName);
  FSettings = std::make_unique<QSettings>(fileName, QSettings::IniFormat);
  // Each write replaces the whole file through a temporary one; never fall back to
  // writing in place, which could leave half a file after a crash.
  FSettings->setAtomicSyncRequired(true);
}

TSettingsRegistry::~TSettingsRegistry() { Flush(); }

QString TSettingsRegistry::DefaultFileName()
{
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Tamarek/registry.ini");
}

QString TSettingsRegistry::FileName() const { return FSettings->fileName(); }

bool TSettingsRegistry::Flush()
{
  if (FKeptAsItIs) {
    FError = QStringLiteral("the file could not be read whole and is kept as it is");
    return false;
  }
  FSettings->sync();
  if (FSettings->status() == QSettings::NoError)
    return true;
  // The status is the first error the object ever met and never clears: a file that had a
  // malformed line when it was read, or one write that failed. A fresh object on the same
  // file shares the pending changes and tells whether they are written now. The old one
  // goes only after the new one holds the file, so no pending change is dropped.
  auto fresh = std::make_unique<QSettings>(FSettings->fileName(), QSettings::IniFormat);
  fresh->setAtomicSyncRequired(true);
  FSettings.swap(fresh);
  fresh.reset();
  FSettings->sync();
  if (FSettings->status() == QSettings::NoError)
    return true;
  const QFileInfo file(FSettings->fileName());
  FError = file.isDir()                                   ? QStringLiteral("a folder of that name is in the way")
           : !QFileInfo(file.absolutePath()).isWritable() ? QStringLiteral("its folder cannot be written")
                                                           : QStringLiteral("the file cannot be written");
  return false;
}

std::optional<QStringList> TSettingsRegistry::ResolvePath(const QString& path) const
{
  QStringList groups = path.startsWith(QLatin1Char('\\')) || !FOpen ? QStringList() : FKey;
  for (const QString& part : path.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
    if (!IsValidName(part) || part.compare(kKeyMarker, Qt::CaseInsensitive) == 0)
      return std::nullopt;
    groups.append(part);
  }
  return StoredSpelling(groups);
}

QStringList TSettingsRegistry::StoredSpelling(const QStringList& groups) const
{
  QStringList spelled;
  for (int i = 0; i < groups.size(); ++i) {
    std::optional<QString> stored;
    {
      TGroupScope scope(*FSettings, spelled);
      stored = FindIgnoringCase(FSettings->childGroups(), groups[i]);
    }
    if (!stored) {
      spelled.append(groups.mid(i));
      break;
    }
    spelled.append(*stored);
  }
  return spelled;
}

bool TSettingsRegistry::GroupExists(const QStringList& groups) const
{
  if (groups.isEmpty())
    return true;
  TGroupScope scope(*FSettings, groups.mid(0, groups.size() - 1));
  return FSettings->childGroups().contains(groups.last());
}

bool TSettingsRegistry::GroupIsEmpty(const QStringList& groups) const
{
  TGroupScope scope(*FSettings, groups);
  return FSettings->childKeys().isEmpty() && FSettings->childGroups().isEmpty();
}

void TSettingsRegistry::MarkKey(const QStringList& groups)
{
  if (!groups.isEmpty())
    FSettings->setValue(FullKey(groups, kKeyMarker), QString());
}

bool TSettingsRegistry::OpenKey(const QString& path, bool canCreate)
{
  const std::optional<QStringList> groups = ResolvePath(path);
  if (!groups)
    return false;
  if (!GroupExists(*groups)) {
    if (!canCreate)
      return false;
    MarkKey(*groups);
    if (!Flush()) {
      FSettings->remove(FullKey(*groups, kKeyMarker));
      return false;
    }
  }
  CloseKey();
  FKey = *groups;
  FOpen = true;
  return true;
}

bool TSettingsRegistry::CloseKey()
{
  if (!FOpen)
    return true;
  FOpen = false;
  FKey.clear();
  return Flush();
}

QString TSettingsRegistry::CurrentPath() const
{
  return FOpen ? QLatin1Char('\\') + FKey.join(QLatin1Char('\\')) : QString();
}

bool TSettingsRegistry::KeyExists(const QString& path) const
{
  const std::optional<QStringList> groups = ResolvePath(path);
  return groups && GroupExists(*groups);
}

bool TSettingsRegistry::DeleteKey(const QString& path)
{
  const std::optional<QStringList> groups = ResolvePath(path);
  if (!groups || groups->isEmpty() || !GroupExists(*groups) || FKeptAsItIs)
    return false;
  // The open key goes with its ancestor.
  if (FOpen && FKey.mid(0, groups->size()) == *groups)
    CloseKey();
  FSettings->remove(groups->join(QLatin1Char('/')));
  // The parent key stays, as in the registry, even when this was all it held.
  const QStringList parent = groups->mid(0, groups->size() - 1);
  if (!parent.isEmpty() && GroupIsEmpty(parent))
    MarkKey(parent);
  return Flush();
}

std::optional<QString> TSettingsRegistry::StoredValueName(const QString& name) const
{
  if (!FOpen || !IsValidValueName(name))
    return std::nullopt;
  TGroupScope scope(*FSettings, FKey);
  return FindIgnoringCase(FSettings->childKeys(), name);
}

std::optional<QString> TSettingsRegistry::RawValue(const QString& name) const
{
  const std::optional<QString> stored = StoredValueName(name);
  if (!stored)
    return std::nullopt;
  const QVariant value = FSettings->value(FullKey(FKey, *stored));
  // An unquoted comma in a hand-edited file makes the INI reader split the text.
  if (value.typeId() == QMetaType::QStringList)
    return value.toStringList().join(QLatin1Char(','));
  return value.toString();
}

bool TSettingsRegistry::WriteRaw(const QString& name, const QString& text)
{
  if (!FOpen || !IsValidValueName(name) || FKeptAsItIs)
    return false;
  const QString stored = StoredValueName(name).value_or(name);
  FSettings->setValue(FullKey(FKey, stored), text);
  FSettings->remove(FullKey(FKey, kKeyMarker));
  return true;  // stored with the others when the key closes
}

bool TSettingsRegistry::ValueExists(const QString& name) const { return StoredValueName(name).has_value(); }

std::optional<TRegDataInfo> TSettingsRegistry::GetDataInfo(const QString& name) const
{
  const std::optional<QString> raw = RawValue(name);
  if (!raw)
    return std::nullopt;
  const TTypedValue typed = ParseTyped(*raw);
  switch (typed.Type) {
  case TRegDataType::Integer:
    return TRegDataInfo{typed.Type, kIntegerBytes};
  case TRegDataType::String:
    return TRegDataInfo{typed.Type, static_cast<int>(typed.Text.toUtf8().size()) + 1};
  case TRegDataType::Binary:
    return TRegDataInfo{typed.Type, static_cast<int>(typed.Bytes.size())};
  case TRegDataType::Unknown:
    break;
  }
  return TRegDataInfo{TRegDataType::Unknown, static_cast<int>(raw->toUtf8().size())};
}

bool TSettingsRegistry::DeleteValue(const QString& name)
{
  const std::optional<QString> stored = StoredValueName(name);
  if (!stored)
    return false;
  if (FKeptAsItIs)
    return false;
  FSettings->remove(FullKey(FKey, *stored));
  if (GroupIsEmpty(FKey))
    MarkKey(FKey);
  return true;  // stored when the key closes
}

std::optional<qint32> TSettingsRegistry::ReadInteger(const QString& name) const
{
  const std::optional<QString> raw = RawValue(name);
  if (!raw)
    return std::nullopt;
  const TTypedValue typed = ParseTyped(*raw);
  if (typed.Type != TRegDataType::Integer)
    return std::nullopt;
  return typed.Integer;
}

bool TSettingsRegistry::WriteInteger(const QString& name, qint32 value)
{
  return WriteRaw(name, kIntegerPrefix + QString::number(static_cast<quint32>(value)));
}

std::optional<QString> TSettingsRegistry::ReadString(const QString& name) const
{
  const std::optional<QString> raw = RawValue(name);
  if (!raw)
    return std::nullopt;
  const TTypedValue typed = ParseTyped(*raw);
  if (typed.Type != TRegDataType::String)
    return std::nullopt;
  return typed.Text;
}

bool TSettingsRegistry::WriteString(const QString& name, const QString& value)
{
  return WriteRaw(name, kStringPrefix + value);
}

std::optional<QByteArray> TSettingsRegistry::ReadBinary(const QString& name) const
{
  const std::optional<QString> raw = RawValue(name);
  if (!raw)
    return std::nullopt;
  const TTypedValue typed = ParseTyped(*raw);
  if (typed.Type != TRegDataType::Binary)
    return std::nullopt;
  return typed.Bytes;
}

bool TSettingsRegistry::WriteBinary(const QString& name, const QByteArray& data)
{
  return WriteRaw(name, kBinaryPrefix + QString::fromLatin1(data.toHex()));
}

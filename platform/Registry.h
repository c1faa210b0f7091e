// The settings store that plays the part of the user's registry: keys that hold typed
// values (integers, texts, binary data), opened and created by path. TRegistry is the
// accessor the windows and controls use; TSettingsRegistry keeps the keys in one INI file.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "coefficients/Real.h"

class QSettings;

// The type of a stored value.
enum class TRegDataType { Unknown, Integer, String, Binary };

// What a stored value is and how many bytes it holds.
struct TRegDataInfo {
  TRegDataType Type = TRegDataType::Unknown;
  int Size = 0;  // bytes: 4 for an integer, text bytes (UTF-8) plus a terminating zero, binary length
};

// An accessor on the current user's keys. At most one key is open at a time; values are
// read and written in the open key. Key paths use backslashes; a path that begins with a
// backslash starts at the root, any other starts at the open key. Names of keys and values
// compare without regard to letter case. Every operation reports failure by its result and
// leaves the stored values untouched when it fails. The values written while a key is open
// are stored together when it closes, and CloseKey tells whether that worked.
class TRegistry {
public:
  virtual ~TRegistry() = default;

  // Opens the key at path; creates it and its parents first when canCreate is set and it
  // is missing. False when it is missing (and may not be created) or cannot be stored.
  virtual bool OpenKey(const QString& path, bool canCreate) = 0;
  // Closes the open key and stores what was written in it, all at once; false when that
  // could not be stored (ErrorString says why). True when no key was open.
  virtual bool CloseKey() = 0;
  // Whether a key is open.
  virtual bool HasOpenKey() const = 0;
  // The path of the open key from the root, with a leading backslash; empty when none is open.
  virtual QString CurrentPath() const = 0;
  // Whether the key at path exists.
  virtual bool KeyExists(const QString& path) const = 0;
  // Deletes the key at path with all its values and subkeys; false when it did not exist.
  virtual bool DeleteKey(const QString& path) = 0;
  // Where the keys are kept and why the last store failed, for the user's message.
  virtual QString StoreName() const = 0;
  virtual QString ErrorString() const = 0;

  // Whether the open key holds a value of that name.
  virtual bool ValueExists(const QString& name) const = 0;
  // Type and size of the named value of the open key; empty when it does not exist.
  virtual std::optional<TRegDataInfo> GetDataInfo(const QString& name) const = 0;
  // Deletes the named value of the open key; false when it did not exist.
  virtual bool DeleteValue(const QString& name) = 0;

  // A 32-bit integer value; empty when missing or of another type.
  virtual std::optional<qint32> ReadInteger(const QString& name) const = 0;
  virtual bool WriteInteger(const QString& name, qint32 value) = 0;
  // A text value; empty when missing or of another type.
  virtual std::optional<QString> ReadString(const QString& name) const = 0;
  virtual bool WriteString(const QString& name, const QString& value) = 0;
  // A binary value; empty when missing or of another type.
  virtual std::optional<QByteArray> ReadBinary(const QString& name) const = 0;
  virtual bool WriteBinary(const QString& name, const QByteArray& data) = 0;

  // A flag: an integer value, non-zero meaning set.
  std::optional<bool> ReadBool(const QString& name) const;
  bool WriteBool(const QString& name, bool value);
  // A real: a binary value of exactly 8 bytes holding an IEEE-754 double, little-endian.
  std::optional<Real> ReadReal(const QString& name) const;
  bool WriteReal(const QString& name, Real value);
};

// The 8 bytes of a real stored as a little-endian IEEE-754 double.
QByteArray EncodeRealBinary(Real value);
// The real of 8 such bytes; empty for any other length.
std::optional<Real> DecodeRealBinary(const QByteArray& data);

// The registry of the current user kept in one INI file through QSettings: a key is a
// group ("\Software\Tamarek\Ravlen" is [Software/Tamarek/Ravlen]); a value keeps its type
// in its text: "dword:<decimal>", "sz:<text>" or "hex:<two hex digits per byte>", and a
// text that is not exactly that is no value of the type. Changes are written when the key
// is closed, when a key is created or deleted and when the accessor goes, each time by
// replacing the whole file, so a failed write never leaves half a file behind.
//
// A file that cannot be read whole (a line the INI reader would skip or run on past, bytes
// that are not UTF-8, or no read access) is never written over: the first accessor on it
// moves it aside to "<file>.<yyyyMMdd-hhmmss>.bak", says so once in an error box, and
// starts a fresh file. Where it cannot be moved, writes fail instead. The first accessor
// also removes what a write killed half way left beside the file (its lock file and a
// temporary copy), unless a write of another program is going on.
class TSettingsRegistry : public TRegistry {
public:
  // The user's store: <generic config location>/Tamarek/registry.ini.
  TSettingsRegistry();
  // A store kept in the given INI file.
  explicit TSettingsRegistry(const QString& fileName);
  ~TSettingsRegistry() override;
  TSettingsRegistry(const TSettingsRegistry&) = delete;
  TSettingsRegistry& operator=(const TSettingsRegistry&) = delete;

  // The file of the user's store.
  static QString DefaultFileName();
  // The file this accessor keeps its keys in.
  QString FileName() const;

  bool OpenKey(const QString& path, bool canCreate) override;
  bool CloseKey() override;
  bool HasOpenKey() const override { return FOpen; }
  QString CurrentPath() const override;
  bool KeyExists(const QString& path) const override;
  bool DeleteKey(const QString& path) override;
  QString StoreName() const override { return FileName(); }
  QString ErrorString() const override { return FError; }

  bool ValueExists(const QString& name) const override;
  std::optional<TRegDataInfo> GetDataInfo(const QString& name) const override;
  bool DeleteValue(const QString& name) override;

  std::optional<qint32> ReadInteger(const QString& name) const override;
  bool WriteInteger(const QString& name, qint32 value) override;
  std::optional<QString> ReadString(const QString& name) const override;
  bool WriteString(const QString& name, const QString& value) override;
  std::optional<QByteArray> ReadBinary(const QString& name) const override;
  bool WriteBinary(const QString& name, const QByteArray& data) override;

private:
  // A key path resolved against the open key: the group names, from the root.
  std::optional<QStringList> ResolvePath(const QString& path) const;
  // The stored spelling of a group path (letter case as found), the given spelling
  // where nothing is stored yet.
  QStringList StoredSpelling(const QStringList& groups) const;
  bool GroupExists(const QStringList& groups) const;
  bool GroupIsEmpty(const QStringList& groups) const;
  void MarkKey(const QStringList& groups);
  // The stored spelling of a value name in the open key; empty when it is not there.
  std::optional<QString> StoredValueName(const QString& name) const;
  std::optional<QString> RawValue(const QString& name) const;
  bool WriteRaw(const QString& name, const QString& text);
  bool Flush();

  std::unique_ptr<QSettings> FSettings;
  QStringList FKey;  // groups of the open key, from the root
  bool FOpen = false;
  bool FKeptAsItIs = false;  // a damaged file that could not be moved aside: no writes
  QString FError;
};

// Test helpers for the conditions dialogs: driving a modal dialog from inside its loop,
// typing an entry as the user commits it, and reading the settings store.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <optional>

#include "coefficients/Real.h"
#include "platform/Registry.h"

// Runs `inside` once the modal loop of `dialog` runs and `open` has been called to open it
// (Execute, or a command of the main window); `inside` closes the dialog. A dialog left
// open, because a check inside failed, is cancelled so that the test cannot hang.
inline void RunModal(QDialog& dialog, const std::function<void()>& open, const std::function<void()>& inside)
{
  QPointer<QDialog> guarded(&dialog);
  QTimer::singleShot(0, &dialog, [guarded, inside] {
    inside();
    if (guarded && guarded->isVisible())
      guarded->reject();
  });
  open();
}

// Types text into an edit and commits it with Enter, as the user does.
inline void Enter(QLineEdit* edit, const QString& text)
{
  edit->setFocus();
  edit->setText(text);
  QTest::keyClick(edit, Qt::Key_Return);
}

// The real stored under name in the key at path of the user's store; empty when missing.
inline std::optional<Real> StoredReal(const QString& path, const QString& name)
{
  TSettingsRegistry registry;
  if (!registry.OpenKey(path, false))
    return std::nullopt;
  const std::optional<Real> value = registry.ReadReal(name);
  registry.CloseKey();
  return value;
}

// Writes a real into the user's store, as an earlier run would have left it.
inline void StoreReal(const QString& path, const QString& name, Real value)
{
  TSettingsRegistry registry;
  QVERIFY(registry.OpenKey(path, true));
  QVERIFY(registry.WriteReal(name, value));
  registry.CloseKey();
}

// Empties the user's store: every test starts as a first start.
inline void ClearStore()
{
  TSettingsRegistry registry;
  registry.DeleteKey(QStringLiteral("\\Software"));
}

// The message-box service: QMessageBox for the user, a capture for tests.
#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {

// The service in force; null means the real boxes. Only tests replace it, on the
// user-interface thread, through TMessageCapture.
TMessageBoxes*& InstalledService()
{
  static TMessageBoxes* service = nullptr;
  return service;
}

QString Caption(TMessageKind kind)
{
  const QString application = QGuiApplication::applicationDisplayName();
  const QString what = kind == TMessageKind::Error ? QStringLiteral("Error") : QStringLiteral("Information");
  return application.isEmpty() ? what : application + QStringLiteral(" - ") + what;
}

}  // namespace

QString MessageTextForDisplay(const QString& text)
{
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

TMessageAnswer TQtMessageBoxes::Show(TMessageKind kind, const QString& text, TMessageButtons buttons)
{
  QMessageBox box(kind == TMessageKind::Error ? QMessageBox::Critical : QMessageBox::Information,
                  Caption(kind), MessageTextForDisplay(text),
                  buttons == TMessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                  QApplication::activeWindow());
  // Plain text: a value name or a path must never be read as markup.
  box.setTextFormat(Qt::PlainText);
  if (buttons == TMessageButtons::YesNo) {
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? TMessageAnswer::Yes : TMessageAnswer::No;
  }
  box.exec();
  return TMessageAnswer::Ok;
}

TMessageAnswer ShowMessage(TMessageKind kind, const QString& text, TMessageButtons buttons)
{
  if (TMessageBoxes* service = InstalledService())
    return service->Show(kind, text, buttons);
  TQtMessageBoxes boxes;
  return boxes.Show(kind, text, buttons);
}

TMessageCapture::TMessageCapture() : FPrevious(InstalledService()) { InstalledService() = this; }

TMessageCapture::~TMessageCapture() { InstalledService() = FPrevious; }

TMessageAnswer TMessageCapture::Show(TMessageKind kind, const QString& text, TMessageButtons buttons)
{
  FMessages.push_back({kind, text, buttons});
  return buttons == TMessageButtons::YesNo ? YesNoAnswer : TMessageAnswer::Ok;
}

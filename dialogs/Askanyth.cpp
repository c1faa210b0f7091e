// The value prompt.
#include "Askanyth.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <vector>

#include "GraphWinF.h"
#include "assets/Assets.h"
#include "controls/ToolsText.h"

namespace {

QString Formatted(int width, int decimals, Real value)
{
  return QString::fromStdString(FormatReal(width, decimals, true, value));
}

void SetStayOnTop(QWidget* window, bool on)
{
  // The graph window knows how to switch without telling its command it was hidden.
  if (auto* graph = qobject_cast<TGraphWin*>(window)) {
    graph->SetStayOnTop(on);
    return;
  }
  window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
  window->show();  // changing the flags hides a window
}

// The program's windows that stay on top, made ordinary while a prompt is open so that
// none of them covers it, and put back when it closes.
class TStayOnTopPause {
public:
  TStayOnTopPause()
  {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        FPaused.emplace_back(window);
        SetStayOnTop(window, false);
      }
  }
  ~TStayOnTopPause()
  {
    for (const QPointer<QWidget>& window : FPaused)
      if (window)
        SetStayOnTop(window, true);
  }
  TStayOnTopPause(const TStayOnTopPause&) = delete;
  TStayOnTopPause& operator=(const TStayOnTopPause&) = delete;

private:
  std::vector<QPointer<QWidget>> FPaused;
};

}  // namespace

TAskAny::TAskAny(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint)
{
  setObjectName(QStringLiteral("AskAny"));
  setWindowIcon(WindowIcon(TWindowIconKind::ValuePrompt));
  setFixedSize(476, 147);
  QFont bold = font();
  bold.setBold(true);
  setFont(bold);

  Label1 = new QLabel(tr("Enter the value"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(18, 18, 359, 73);
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setWordWrap(true);

  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setGeometry(134, 104, 121, 21);
  Edit1->installEventFilter(this);

  OKBtn = new QPushButton(tr("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setGeometry(390, 24, 77, 27);
  OKBtn->setDefault(true);
  connect(OKBtn, &QPushButton::clicked, this, [this] {
    CheckEntry();
    accept();
  });

  CancelBtn = new QPushButton(tr("Cancel"), this);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  CancelBtn->setGeometry(390, 58, 77, 27);
  connect(CancelBtn, &QPushButton::clicked, this, [this] {
    CheckEntry();
    reject();
  });
}

Real TAskAny::AskReal(const QString& caption, const QString& prompt, int width, int decimals, Real minimum,
                      Real maximum, Real defaultValue, Real& value)
{
  FWidth = width;
  FDecimals = decimals;
  FMinimum = minimum;
  FMaximum = maximum;
  FDefault = defaultValue;
  setWindowTitle(caption);
  Label1->setText(QString(prompt).replace(QLatin1Char('\r'), QLatin1Char('\n')));
  Edit1->setText(Formatted(width, decimals, value));
  Edit1->selectAll();
  int result;
  {
    TStayOnTopPause pause;
    result = exec();
  }
  const Real entered = SafeStrToReal(Edit1->text().toStdString());
  if (result == QDialog::Accepted)
    value = entered;
  return entered;
}

void TAskAny::CheckEntry()
{
  Real v = SafeStrToReal(Edit1->text().toStdString());
  if (v < FMinimum || !(v <= FMaximum))
    v = FDefault;
  Edit1->setText(Formatted(FWidth, FDecimals, v));
}

void TAskAny::showEvent(QShowEvent* event)
{
  QDialog::showEvent(event);
  Edit1->setFocus();
}

bool TAskAny::eventFilter(QObject* watched, QEvent* event)
{
  if (watched == Edit1 && event->type() == QEvent::FocusOut)
    CheckEntry();
  return QDialog::eventFilter(watched, event);
}

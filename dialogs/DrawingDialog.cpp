// The frame of the conditions dialogs: creation, modal showing, Cancel, the placement
// store and the arrangement of the controls when the dialog is resized.
#include "DrawingDialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "controls/EditF.h"
#include "controls/Pos.h"
#include "dialogs/SvgDrawing.h"
#include "platform/Registry.h"

namespace {

// The layout was drawn for an 11-pixel sans-serif font; the captions fit their spots on
// the drawing only at that size.
constexpr int kDialogFontPixels = 11;

}  // namespace

TDrawingDialog::TDrawingDialog(const TDrawingDialogDef& def, QWidget* parent)
    : QDialog(parent), FDef(def), FSpots(nullptr)
{
  setObjectName(QString::fromLatin1(def.Name));
  setWindowTitle(def.Caption);
  setWindowIcon(WindowIcon(def.Icon));
  QFont dialogFont = font();
  dialogFont.setPixelSize(kDialogFontPixels);
  setFont(dialogFont);
  setMinimumSize(def.MinimumClient);
  resize(def.Client);
  // Centred on the screen at first start; a stored placement takes over in FormCreate.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect centred(QPoint(0, 0), def.Client);
    centred.moveCenter(screen->availableGeometry().center());
    move(centred.topLeft());
  }

  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(def.Panel);
  Image2 = new TSvgDrawing(Panel1);
  Image2->setObjectName(QStringLiteral("Image2"));
  Image2->setGeometry(Panel1->rect());
  Image2->Load(QString::fromLatin1(def.Drawing));
  FSpots = TDrawingSpots(Panel1);

  OKBtn = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), tr("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setGeometry(def.OKBtn);
  CancelBtn = new QPushButton(tr("Cancel"), this);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  CancelBtn->setGeometry(def.CancelBtn);
  // Neither is a default button: Enter in an edit only commits that edit.
  for (QPushButton* button : {OKBtn, CancelBtn}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  Pos1 = new TPos(this);
  Pos1->setObjectName(QStringLiteral("Pos1"));
  Pos1->SetPath(QString::fromLatin1(def.SettingsPath));
  Pos1->SetValue(QString::fromLatin1(def.PlacementValue));
  Pos1->SetInitState(TShowCmd::swHide);
  Pos1->SetOnRead([this](TRegistry& registry) { Pos1Read(registry); });
  Pos1->SetOnWrite([this](TRegistry& registry) { Pos1Write(registry); });
}

TDrawingDialog::~TDrawingDialog() = default;

void TDrawingDialog::FormCreate()
{
  Pos1->ReadPlacement();
  ArrangeControls();
}

int TDrawingDialog::Execute() { return exec(); }

void TDrawingDialog::done(int result)
{
  // FormClose: whatever closed the dialog, its placement and values are stored.
  Pos1->WritePlacement();
  QDialog::done(result);
}

void TDrawingDialog::reject()
{
  // CancelBtnClick: the values the edits held when the dialog opened come back.
  RestoreEditValues(this);
  QDialog::reject();
}

void TDrawingDialog::closeEvent(QCloseEvent* e)
{
  // The close box is no Cancel: the values stay as they stand and are stored.
  if (isVisible())
    done(QDialog::Rejected);
  e->accept();
}

void TDrawingDialog::keyPressEvent(QKeyEvent* e)
{
  // Enter has committed the edit that has the focus; it closes nothing. On a button that
  // has the focus it presses that button.
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled())
      button->click();
    e->accept();
    return;
  }
  QDialog::keyPressEvent(e);
}

void TDrawingDialog::resizeEvent(QResizeEvent* e)
{
  QDialog::resizeEvent(e);
  ArrangeControls();
}

void TDrawingDialog::showEvent(QShowEvent* e)
{
  QDialog::showEvent(e);
  if (e->spontaneous())
    return;
  // FormShow: the values Cancel will put back.
  StoreEditValues(this);
  OKBtn->setFocus();
}

void TDrawingDialog::ArrangeControls()
{
  if (!Panel1)
    return;  // a resize while the frame is still being built
  const QSize client = size();
  const int dw = client.width() - FDef.Client.width();
  const int dh = client.height() - FDef.Client.height();
  Panel1->setGeometry(FDef.Panel.adjusted(0, 0, dw, dh));
  Image2->setGeometry(Panel1->rect());
  const bool right = FDef.ButtonCorner == Qt::TopRightCorner || FDef.ButtonCorner == Qt::BottomRightCorner;
  const bool bottom = FDef.ButtonCorner == Qt::BottomLeftCorner || FDef.ButtonCorner == Qt::BottomRightCorner;
  const QPoint shift(right ? dw : 0, bottom ? dh : 0);
  OKBtn->setGeometry(FDef.OKBtn.translated(shift));
  CancelBtn->setGeometry(FDef.CancelBtn.translated(shift));
  FSpots.Place();
  FormResize();
}

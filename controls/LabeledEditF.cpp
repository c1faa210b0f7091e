// The labelled edit: its two labels, the unit menu, the category and unit selection and
// the registry forms that carry the unit.
#include "controls/LabeledEditF.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>

#include "controls/EditFDlg.h"
#include "platform/Registry.h"

namespace {

std::vector<TLabeledEditF*>& LivingEdits()
{
  static std::vector<TLabeledEditF*> edits;
  return edits;
}

const QString kTypeSuffix = QStringLiteral("_ValDimType");
const QString kUnitSuffix = QStringLiteral("_ValDim");

}  // namespace

// --- the labels ----------------------------------------------------------------------

TBoundLabelLbl::TBoundLabelLbl(TLabeledEditF* owner) : TCaptionLabel(owner->parentWidget())
{
  setObjectName(QStringLiteral("SubLabel"));
  SetCaption(owner->objectName());
}

TBoundLabelDim::TBoundLabelDim(TLabeledEditF* owner)
    : TCaptionLabel(owner->parentWidget()), FEdit(owner), FMenu(new QMenu(this))
{
  setObjectName(QStringLiteral("SubLabelDim"));
  SetCaption(owner->objectName());
  setCursor(Qt::PointingHandCursor);
  connect(FMenu, &QMenu::triggered, this, &TBoundLabelDim::UnitPicked);
}

void TBoundLabelDim::ShowUnitMenu()
{
  FMenu->clear();
  if (!FEdit)
    return;
  const std::vector<TDimensionCategory>& table = Dimensions();
  const int category = FEdit->ValDimensionTypeIdx();
  if (category < 0 || category >= static_cast<int>(table.size()))
    return;
  const std::vector<TDimensionUnit>& units = table[category].Units;
  for (int j = 0; j < static_cast<int>(units.size()); ++j) {
    // "&" would make the next letter an accelerator; the caption must stay as it is.
    QAction* item = FMenu->addAction(QString(units[j].Description).replace(QLatin1Char('&'), QStringLiteral("&&")));
    item->setData(units[j].Description);
    item->setCheckable(true);
    item->setChecked(j == FEdit->ValDimensionIdx());
  }
  const QPoint corner = parentWidget() ? parentWidget()->mapToGlobal(pos()) : mapToGlobal(QPoint(0, 0));
  FMenu->popup(corner);
}

void TBoundLabelDim::AdjustBounds()
{
  TCaptionLabel::AdjustBounds();
  if (!AutoSize() || !text().isEmpty())
    return;
  const int clickable = fontMetrics().horizontalAdvance(QStringLiteral("mm"));
  if (width() >= clickable)
    return;
  if (alignment() & Qt::AlignRight)
    setGeometry(x() + width() - clickable, y(), clickable, height());
  else
    resize(clickable, height());
}

void TBoundLabelDim::UnitPicked(QAction* action)
{
  if (!FEdit)
    return;
  FEdit->SetValDimension(action->data().toString());
  FEdit->update();
}

void TBoundLabelDim::mousePressEvent(QMouseEvent* e)
{
  FPressed = e->button() == Qt::LeftButton;
  TCaptionLabel::mousePressEvent(e);
  // The press belongs to the label: the click is its own, not the window's.
  if (FPressed)
    e->accept();
}

void TBoundLabelDim::mouseReleaseEvent(QMouseEvent* e)
{
  const bool click = FPressed && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
  FPressed = false;
  TCaptionLabel::mouseReleaseEvent(e);
  if (!click)
    return;
  emit Clicked(this);
  ShowUnitMenu();
}

// --- the edit ------------------------------------------------------------------------

TLabeledEditF::TLabeledEditF(QWidget* parent) : TEditF(parent)
{
  LivingEdits().push_back(this);
  FValLabel = new TBoundLabelLbl(this);
  FValDimLabel = new TBoundLabelDim(this);
  // A caption that is still the edit's name follows a renaming of the edit (the unit
  // label's caption is the unit's abbreviation by then).
  FObjectName = objectName();
  connect(this, &QObject::objectNameChanged, this, [this](const QString& name) {
    if (FValLabel && FValLabel->Caption() == FObjectName)
      FValLabel->SetCaption(name);
    FObjectName = name;
  });
  LoadDimensions(*this, 0);
  SetValDimensionIdx(0);
}

TLabeledEditF::~TLabeledEditF()
{
  std::erase(LivingEdits(), this);
  delete FValLabel.data();
  delete FValDimLabel.data();
}

const std::vector<TLabeledEditF*>& TLabeledEditF::Instances() { return LivingEdits(); }

void TLabeledEditF::SetValLabelPosition(TLabelPosition position)
{
  if (FValLabel)
    FValLabelPosition = position;
  PlaceLabel();
}

void TLabeledEditF::SetValLabelSpacing(int spacing)
{
  FValLabelSpacing = spacing;
  PlaceLabel();
}

void TLabeledEditF::SetValDimPosition(TLabelPosition position)
{
  if (FValDimLabel)
    FValDimPosition = position;
  PlaceDimLabel();
}

void TLabeledEditF::SetValDimSpacing(int spacing)
{
  FValDimSpacing = spacing;
  PlaceDimLabel();
}

void TLabeledEditF::PlaceLabel()
{
  if (!FValLabel)
    return;
  FValLabel->AdjustBounds();
  const int lw = FValLabel->width(), lh = FValLabel->height(), s = FValLabelSpacing;
  int left = 0, top = 0;
  switch (FValLabelPosition) {
  case TLabelPosition::lpAbove:
    left = x() - (lw - width()) / 2;
    top = y() - lh - s;
    break;
  case TLabelPosition::lpBelow:
    left = x() - (lw - width()) / 2;
    top = y() + height() + s;
    break;
  case TLabelPosition::lpLeft:
    left = x() - lw - s;
    top = y() + (height() - lh) / 2;
    break;
  case TLabelPosition::lpRight:
    left = x() + width() + s;
    top = y() + (height() - lh) / 2;
    break;
  }
  FValLabel->move(left, top);
}

void TLabeledEditF::PlaceDimLabel()
{
  if (!FValDimLabel)
    return;
  const int dw = FValDimLabel->width(), dh = FValDimLabel->height(), s = FValDimSpacing;
  int left = 0, top = 0;
  switch (FValDimPosition) {
  case TLabelPosition::lpAbove:
    left = x();
    top = y() - dh - s;
    break;
  case TLabelPosition::lpBelow:
    left = x();
    top = y() + height() + s;
    break;
  case TLabelPosition::lpLeft:
    left = x() - dw - s;
    top = y() + (height() - dh) / 2;
    break;
  case TLabelPosition::lpRight:
    left = x() + width() + s;
    top = y() + (height() - dh) / 2;
    break;
  }
  FValDimLabel->move(left, top);
}

void TLabeledEditF::SetValDimensionTypeIdx(int index)
{
  if (index == FValDimensionTypeIdx)
    return;
  const std::vector<TDimensionCategory>& table = Dimensions();
  const int last = static_cast<int>(table.size()) - 1;
  if (last < 0)
    return;
  FValDimensionTypeIdx = std::clamp(index, 0, last);
  FValDimensionType = table[FValDimensionTypeIdx].Name;
  SetValDimensionIdx(0);
}

void TLabeledEditF::SetValDimensionIdx(int index)
{
  const std::vector<TDimensionCategory>& table = Dimensions();
  if (FValDimensionTypeIdx < 0 || FValDimensionTypeIdx >= static_cast<int>(table.size()))
    return;
  const std::vector<TDimensionUnit>& units = table[FValDimensionTypeIdx].Units;
  const int last = static_cast<int>(units.size()) - 1;
  if (last < 0)
    return;
  FValDimensionIdx = std::clamp(index, 0, last);
  const TDimensionUnit& unit = units[FValDimensionIdx];
  FValDimension = unit.Description;
  if (FValDimLabel)
    FValDimLabel->SetCaption(unit.Abbreviation);
  SetValMultiplier(unit.Multiplier);
}

void TLabeledEditF::SetValDimensionLangIdx(int index)
{
  if (index == FValDimensionLangIdx)
    return;
  const int count = UnitsCatalogue().LanguageCount();
  FValDimensionLangIdx = std::max(0, std::min(index, count - 1));
  FValDimensionLang = UnitsCatalogue().LanguageCode(FValDimensionLangIdx);
  LoadDimensions(*this, FValDimensionLangIdx);
}

void TLabeledEditF::SetValDimensionType(const QString& name)
{
  if (Initializing())
    return;
  const std::vector<TDimensionCategory>& table = Dimensions();
  const auto found = std::find_if(table.begin(), table.end(), [&](const TDimensionCategory& c) { return c.Name == name; });
  if (found == table.end())
    return;
  const int index = static_cast<int>(found - table.begin());
  if (index != FValDimensionTypeIdx)
    SetValDimensionTypeIdx(index);
}

void TLabeledEditF::SetValDimension(const QString& description)
{
  if (Initializing())
    return;
  const std::vector<TDimensionCategory>& table = Dimensions();
  if (FValDimensionTypeIdx < 0 || FValDimensionTypeIdx >= static_cast<int>(table.size()))
    return;
  const std::vector<TDimensionUnit>& units = table[FValDimensionTypeIdx].Units;
  const auto found =
      std::find_if(units.begin(), units.end(), [&](const TDimensionUnit& u) { return u.Description == description; });
  if (found == units.end())
    return;
  const int index = static_cast<int>(found - units.begin());
  if (index != FValDimensionIdx)
    SetValDimensionIdx(index);
}

void TLabeledEditF::SetValDimensionLang(const QString& code)
{
  if (Initializing() || code.isEmpty())
    return;
  const int count = UnitsCatalogue().LanguageCount();
  for (int i = 0; i < count; ++i)
    if (UnitsCatalogue().LanguageCode(i).startsWith(code)) {
      if (i != FValDimensionLangIdx)
        SetValDimensionLangIdx(i);
      return;
    }
}

void TLabeledEditF::ReapplyDimension()
{
  const int category = FValDimensionTypeIdx;
  const int unit = FValDimensionIdx;
  SetValDimensionTypeIdx(0);
  SetValDimensionTypeIdx(category);
  SetValDimensionIdx(unit);
}

void TLabeledEditF::AdoptLanguage(int languageIndex)
{
  FValDimensionLangIdx = languageIndex;
  FValDimensionLang = UnitsCatalogue().LanguageCode(languageIndex);
  ReapplyDimension();
}

Real TLabeledEditF::LoadFromRegistry(TRegistry& registry, const QString& name)
{
  Real value = Val();
  // Any value of the wrong type ends the reading; what was read of the number is dropped.
  const auto load = [&]() -> bool {
    Real stored = value;
    if (registry.ValueExists(name)) {
      const std::optional<Real> real = registry.ReadReal(name);
      if (!real)
        return false;
      stored = *real;
    }
    if (registry.ValueExists(name + kTypeSuffix)) {
      const std::optional<QString> type = registry.ReadString(name + kTypeSuffix);
      if (!type)
        return false;
      SetValDimensionType(*type);
    }
    if (registry.ValueExists(name + kUnitSuffix)) {
      const std::optional<QString> unit = registry.ReadString(name + kUnitSuffix);
      if (!unit)
        return false;
      SetValDimension(*unit);
    }
    value = stored;
    return true;
  };
  load();
  SetValue(value);
  return Val();
}

bool TLabeledEditF::SaveToRegistry(TRegistry& registry, const QString& name) const
{
  const bool real = TEditF::SaveToRegistry(registry, name);
  const bool type = registry.WriteString(name + kTypeSuffix, FValDimensionType);
  const bool unit = registry.WriteString(name + kUnitSuffix, FValDimension);
  return real && type && unit;
}

void TLabeledEditF::setVisible(bool visible)
{
  TEditF::setVisible(visible);
  for (QWidget* label : {static_cast<QWidget*>(FValLabel.data()), static_cast<QWidget*>(FValDimLabel.data())})
    if (label)
      label->setVisible(visible && label->parentWidget());
}

void TLabeledEditF::FollowParent()
{
  QWidget* parent = parentWidget();
  const bool hiddenOnPurpose = testAttribute(Qt::WA_WState_ExplicitShowHide) && testAttribute(Qt::WA_WState_Hidden);
  for (QWidget* label : {static_cast<QWidget*>(FValLabel.data()), static_cast<QWidget*>(FValDimLabel.data())}) {
    if (!label || label->parentWidget() == parent)
      continue;
    label->setParent(parent);
    // Without a parent a label would become a window of its own.
    if (parent && !hiddenOnPurpose)
      label->show();
  }
  PlaceLabel();
  PlaceDimLabel();
}

bool TLabeledEditF::event(QEvent* e)
{
  const bool result = TEditF::event(e);
  if (e->type() == QEvent::ParentChange)
    FollowParent();
  return result;
}

void TLabeledEditF::changeEvent(QEvent* e)
{
  TEditF::changeEvent(e);
  for (QWidget* label : {static_cast<QWidget*>(FValLabel.data()), static_cast<QWidget*>(FValDimLabel.data())}) {
    if (!label)
      continue;
    if (e->type() == QEvent::EnabledChange)
      label->setEnabled(isEnabled());
    else if (e->type() == QEvent::LayoutDirectionChange)
      label->setLayoutDirection(layoutDirection());
  }
}

void TLabeledEditF::moveEvent(QMoveEvent* e)
{
  TEditF::moveEvent(e);
  PlaceLabel();
  PlaceDimLabel();
}

void TLabeledEditF::resizeEvent(QResizeEvent* e)
{
  TEditF::resizeEvent(e);
  PlaceLabel();
  PlaceDimLabel();
}

// TLabeledEditF: the numeric edit with a caption label and a live unit label that travel
// with it. Clicking the unit label offers every unit of the edit's category from the units
// catalogue; picking one changes the display unit while the stored value stays. The edit
// remembers category, unit and catalogue language, and saves the unit with its value.
#pragma once

#include <QPointer>
#include <vector>

#include "controls/CaptionLabel.h"
#include "controls/EditF.h"

class QMenu;
class TLabeledEditF;

// Side of the edit where a label sits.
enum class TLabelPosition { lpAbove, lpBelow, lpLeft, lpRight };

// The caption label, "Water Density:". Object name "SubLabel"; its caption starts as the
// edit's object name.
class TBoundLabelLbl : public TCaptionLabel {
  Q_OBJECT

public:
  explicit TBoundLabelLbl(TLabeledEditF* owner);
};

// The unit label, "kg/m^3": a hand cursor, and a click opens the menu of the category's
// units. Object name "SubLabelDim"; its caption starts as the edit's object name.
class TBoundLabelDim : public TCaptionLabel {
  Q_OBJECT

public:
  explicit TBoundLabelDim(TLabeledEditF* owner);

  // The unit menu; its items are rebuilt on every click.
  QMenu* PopupMenu() const { return FMenu; }
  // Rebuilds the menu from the edit's category (the current unit checked) and opens it at
  // the label's top-left corner, without waiting for the choice.
  void ShowUnitMenu();
  // Fits the label to its caption; without one (a dimensionless unit) it keeps room for a
  // click that opens the menu again.
  void AdjustBounds() override;

signals:
  // The ordinary click, emitted before the menu opens.
  void Clicked(TBoundLabelDim* sender);

protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

private:
  void UnitPicked(QAction* action);

  QPointer<TLabeledEditF> FEdit;
  QMenu* FMenu;
  bool FPressed = false;
};

class TLabeledEditF : public TEditF {
  Q_OBJECT

public:
  explicit TLabeledEditF(QWidget* parent = nullptr);
  ~TLabeledEditF() override;

  // The caption label; null once it was destroyed on its own.
  TBoundLabelLbl* ValLabel() const { return FValLabel; }
  // Side and gap (pixels) of the caption label.
  TLabelPosition ValLabelPosition() const { return FValLabelPosition; }
  void SetValLabelPosition(TLabelPosition position);
  int ValLabelSpacing() const { return FValLabelSpacing; }
  void SetValLabelSpacing(int spacing);
  // The unit label; null once it was destroyed on its own.
  TBoundLabelDim* ValDimLabel() const { return FValDimLabel; }
  // Side and gap (pixels) of the unit label.
  TLabelPosition ValDimPosition() const { return FValDimPosition; }
  void SetValDimPosition(TLabelPosition position);
  int ValDimSpacing() const { return FValDimSpacing; }
  void SetValDimSpacing(int spacing);

  // The category by name ("Angle"); assigning a name selects the first category of that
  // name (outside initialisation; no match changes nothing).
  QString ValDimensionType() const { return FValDimensionType; }
  void SetValDimensionType(const QString& name);
  // The category by index; assigning clamps, names the category and selects its unit 0.
  int ValDimensionTypeIdx() const { return FValDimensionTypeIdx; }
  void SetValDimensionTypeIdx(int index);
  // The unit by description ("Degrees [deg]"); assigning selects the first unit of the
  // category with that description (outside initialisation; no match changes nothing).
  QString ValDimension() const { return FValDimension; }
  void SetValDimension(const QString& description);
  // The unit by index; assigning clamps, sets the description, the unit caption and the
  // multiplier (which redisplays the value).
  int ValDimensionIdx() const { return FValDimensionIdx; }
  void SetValDimensionIdx(int index);
  // The catalogue language by code ("ENU"); assigning selects the first language whose
  // code begins with the text (outside initialisation; an empty text matches nothing).
  QString ValDimensionLang() const { return FValDimensionLang; }
  void SetValDimensionLang(const QString& code);
  // The catalogue language by index; assigning clamps and loads that language.
  int ValDimensionLangIdx() const { return FValDimensionLangIdx; }
  void SetValDimensionLangIdx(int index);

  // Puts the caption label, fitted to its text, beside the edit.
  void PlaceLabel();
  // Puts the unit label beside the edit, keeping its size.
  void PlaceDimLabel();

  // Reads the value under name, the category under name + "_ValDimType" and the unit under
  // name + "_ValDim" (those two when present); any value of the wrong type stops the
  // reading and keeps the current value. Then SetValue, shown in the restored unit.
  Real LoadFromRegistry(TRegistry& registry, const QString& name) override;
  using TEditF::LoadFromRegistry;
  // Writes the value, the category name and the unit description.
  bool SaveToRegistry(TRegistry& registry, const QString& name) const override;
  using TEditF::SaveToRegistry;

  // Every labelled edit alive, oldest first.
  static const std::vector<TLabeledEditF*>& Instances();

  void setVisible(bool visible) override;

protected:
  bool event(QEvent* e) override;
  void changeEvent(QEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

private:
  friend void LoadDimensions(TLabeledEditF& edit, int languageIndex);
  // Selects category 0, then the current category, then the current unit again, so that
  // names, caption and multiplier come from the table as it is now.
  void ReapplyDimension();
  // Takes the language the shared table was loaded in and renames itself in it.
  void AdoptLanguage(int languageIndex);
  void FollowParent();

  QPointer<TBoundLabelLbl> FValLabel;
  TLabelPosition FValLabelPosition = TLabelPosition::lpLeft;
  int FValLabelSpacing = 3;
  QPointer<TBoundLabelDim> FValDimLabel;
  TLabelPosition FValDimPosition = TLabelPosition::lpRight;
  int FValDimSpacing = 3;
  QString FValDimensionType;
  int FValDimensionTypeIdx = 0;
  QString FValDimension;
  int FValDimensionIdx = 0;
  QString FValDimensionLang;
  int FValDimensionLangIdx = 0;
  QString FObjectName;  // the name the labels' first captions came from
};

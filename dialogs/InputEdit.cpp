// Numeric edits of the balance inputs.
#include "dialogs/InputEdit.h"

#include "controls/EditF.h"

void SetUpInputEdit(TEditF& edit, TInput input)
{
  const TInputDef& def = InputDef(input);
  edit.setObjectName(QString::fromLatin1(def.Name));
  {
    TEditFInit init(edit);
    edit.SetValMultiplier(def.Multiplier);
    edit.SetValMin(def.Min);
    edit.SetValMinIncl(def.MinIncl);
    edit.SetValMax(def.Max);
    edit.SetValMaxIncl(def.MaxIncl);
    edit.SetValPrecision(def.Decimals);
    edit.SetValDefault(def.Default);
    edit.SetValCheck(true);
  }
  edit.SetValue(def.Start);
}

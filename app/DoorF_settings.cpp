// What the main window keeps between runs: inputs, view switches and the solver factor
// in the settings store, the bar customization in "Ravlen.Ini" and the band rows in
// "RavlenB.Ini"; and Restore Defaults, which wipes them all at the end of the run. Files
// go into the working directory or into a folder of this user's own under the temporary
// folder, and no file the program did not make is ever opened for writing.
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>

#include "CommandBars.h"
#include "CommandTable.h"
#include "DoorF.h"
#include "InstallLayout.h"
#include "controls/EditF.h"
#include "controls/ToolsRegistry.h"
#include "controls/ToolsText.h"
#include "platform/MessageBox.h"
#include "platform/PrivateFolder.h"
#include "platform/Registry.h"

namespace {

const QString kCustomizationFile = QStringLiteral("Ravlen.Ini");
const QString kBandFile = QStringLiteral("RavlenB.Ini");

// The view switches kept between runs, in the order they are read and written.
const char* const kSwitches[] = {"ShowAxes", "ShowGridXY", "ShowGridXZ", "HideHull", "HideBracket",
                                 "ShowPerspective", "Transparent"};

// The range the solver factor's prompt accepts.
constexpr Real kSolverFactorMin = 5;
constexpr Real kSolverFactorMax = 10000;

// The folder for files the working directory cannot take: TEMP, then TMPDIR, then the
// system's temporary folder (never the root of the file system).
QString TemporaryFolder()
{
  const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* variable : {"TEMP", "TMPDIR"})
    if (const QString folder = env.value(QString::fromLatin1(variable)); !folder.isEmpty())
      return folder;
  return QDir::tempPath();
}

}  // namespace

void TFDoor::ChooseCustomizationPath()
{
  // Can the working directory take a file? A probe of a fresh name is made and removed;
  // a file that is already there, whatever its name, is never opened.
  FBarFolderIsPrivate = false;
  if (FolderTakesFiles(".")) {
    FCustomizationPath = kCustomizationFile;
    return;
  }
  // The temporary folder is every user's: a fixed name there could be a link someone
  // planted. The files go into a folder only this user may enter.
  const std::string folder = UserFolderPath(QFile::encodeName(TemporaryFolder()).toStdString());
  std::string error;
  if (!MakePrivateFolder(folder, error)) {
    FCustomizationPath.clear();
    ShowMessage(TMessageKind::Error, QStringLiteral("The tool bars cannot be kept between runs:\r%1")
                                         .arg(QFile::decodeName(error.c_str())));
    return;
  }
  FBarFolderIsPrivate = true;
  FCustomizationPath = QFile::decodeName(folder.c_str()) + QLatin1Char('/') + kCustomizationFile;
}

bool TFDoor::MayWriteBarFile(const QString& path) const
{
  // In the private folder only this program makes files; a link there is not one of them.
  return !path.isEmpty() && !(FBarFolderIsPrivate && IsSymbolicLink(QFile::encodeName(path).toStdString()));
}

void TFDoor::ReadCustomization()
{
  if (FBars->LoadCustomization(FCustomizationPath) != TCommandBars::TLoadResult::Unreadable)
    return;
  const QString text = QStringLiteral("Error loading previously saved settings file: %1\rWould you like to delete it?")
                           .arg(QDir::toNativeSeparators(QFileInfo(FCustomizationPath).absoluteFilePath()));
  if (ShowMessage(TMessageKind::Error, text, TMessageButtons::YesNo) == TMessageAnswer::Yes)
    QFile::remove(FCustomizationPath);
}

void TFDoor::Pos1Read(TRegistry& registry)
{
  TrawlResistance->LoadFromRegistry(registry);
  TrawlSpeed->LoadFromRegistry(registry);
  // The force scale takes any entry, but a stored one beyond the bounds it keeps (or not
  // a number) is damage: it is replaced and reported as the checked edits do.
  ForceScale->SetValCheck(true);
  ForceScale->LoadFromRegistry(registry);
  ForceScale->SetValCheck(false);

  const bool autoScale = RegReadBoolDef(registry, QStringLiteral("AutoForceScale"), AutoForceScale->isChecked());
  if (autoScale != AutoForceScale->isChecked()) {
    AutoForceScale->setChecked(autoScale);
    EvaluationCycle();  // what a click on the box does
  }
  for (const char* name : kSwitches) {
    QAction* command = ActionManager1->Find(QString::fromLatin1(name));
    TCommandTable::SetChecked(command, RegReadBoolDef(registry, command->objectName(), command->isChecked()));
  }
  // A factor the prompt would not take (0, NaN, a negative or a tiny one) makes every
  // balance run NaN or run away: it keeps the current one, with the edits' message.
  const Real factor = RegReadRealDef(registry, QStringLiteral("SolverFactor"), FModel.SolverFactor());
  if (factor >= kSolverFactorMin && factor <= kSolverFactorMax)
    FModel.SetSolverFactor(factor);
  else
    ShowMessage(TMessageKind::Error, QStringLiteral("SolverFactor\r\rValue is out of range: [%1..%2]")
                                         .arg(QString::fromStdString(FormatGeneral(kSolverFactorMin)),
                                              QString::fromStdString(FormatGeneral(kSolverFactorMax))));
  EvaluationCycle();

  // Each restored switch runs its handler once with its restored state. Animate is never
  // restored, so this steps the door once from its start attitude.
  for (QAction* command : ActionManager1->Commands())
    if (TCommandTable::IsAutoCheck(command) && TCommandTable::Tag(command) == 0) {
      command->setChecked(!command->isChecked());
      command->trigger();
    }

  if (FCustomizationPath.isEmpty())
    return;  // no safe place for the bar files: none is read or written
  // The band file lies beside the program, except in an installed tree, whose bin folder
  // belongs to the system (a user cannot write there, and a package leaves nothing behind
  // there): then it stays with the customization file.
  const QFileInfo customization(FCustomizationPath);
  const QString programFolder = QCoreApplication::applicationDirPath();
  FBandFileName = FCustomizationPath.contains(QLatin1Char('/')) || RunsInstalled(programFolder)
                      ? customization.absoluteDir().filePath(kBandFile)
                      : QDir(programFolder).filePath(kBandFile);
  FBars->LoadBandLayout(FBandFileName);
}

void TFDoor::Pos1Write(TRegistry& registry)
{
  for (TEditF* edit : {AngleX, AngleY, AngleZ, TrawlResistance, TrawlSpeed, ForceScale})
    edit->SaveToRegistry(registry);
  registry.WriteBool(QStringLiteral("AutoForceScale"), AutoForceScale->isChecked());
  for (const char* name : kSwitches)
    registry.WriteBool(QString::fromLatin1(name), ActionManager1->Find(QString::fromLatin1(name))->isChecked());
  registry.WriteReal(QStringLiteral("SolverFactor"), FModel.SolverFactor());
  if (MayWriteBarFile(FBandFileName))
    FBars->SaveBandLayout(FBandFileName);  // a file that cannot be written is skipped
}

void TFDoor::RestoreDefaultsExecute()
{
  ShowMessage(TMessageKind::Information, QStringLiteral("Defaults will be restored after restart the program"));
  FRestoreDefaults = true;
  if (!FCustomizationPath.isEmpty())
    QFile::remove(FCustomizationPath);
  if (!FBandFileName.isEmpty())
    QFile::remove(FBandFileName);
  FCustomizationPath.clear();
  FBandFileName.clear();
}

void TFDoor::FinishRun()
{
  if (FFinished)
    return;
  FFinished = true;
  if (FRestoreDefaults)
    TSettingsRegistry().DeleteKey(QString::fromLatin1(SettingsKey()));
  if (!FCustomizationPath.isEmpty() &&
      (!MayWriteBarFile(FCustomizationPath) || !FBars->SaveCustomization(FCustomizationPath)))
    ShowMessage(TMessageKind::Error, QStringLiteral("Unable to save settings"));
}

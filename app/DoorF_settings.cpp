// What the main window keeps between runs: inputs, view switches and the solver factor
// in the settings store, the bar customization in "Ravlen.Ini" and the band rows in
// "RavlenB.Ini"; and Restore Defaults, which wipes them all at the end of the run.
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
#include "platform/MessageBox.h"
#include "platform/Registry.h"

namespace {

const QString kCustomizationFile = QStringLiteral("Ravlen.Ini");
const QString kBandFile = QStringLiteral("RavlenB.Ini");

// The view switches kept between runs, in the order they are read and written.
const char* const kSwitches[] = {"ShowAxes", "ShowGridXY", "ShowGridXZ", "HideHull", "HideBracket",
                                 "ShowPerspective", "Transparent"};

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
  // Can the working directory take a file? Make one, close it and remove it again.
  QFile probe(QStringLiteral("testfile"));
  const bool writable = probe.open(QIODevice::WriteOnly) && (probe.close(), probe.remove());
  if (writable) {
    FCustomizationPath = kCustomizationFile;
  } else {
    QString folder = TemporaryFolder();
    if (!folder.endsWith(QLatin1Char('/')))
      folder += QLatin1Char('/');
    FCustomizationPath = folder + kCustomizationFile;
  }
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
  ForceScale->LoadFromRegistry(registry);

  const bool autoScale = RegReadBoolDef(registry, QStringLiteral("AutoForceScale"), AutoForceScale->isChecked());
  if (autoScale != AutoForceScale->isChecked()) {
    AutoForceScale->setChecked(autoScale);
    EvaluationCycle();  // what a click on the box does
  }
  for (const char* name : kSwitches) {
    QAction* command = ActionManager1->Find(QString::fromLatin1(name));
    TCommandTable::SetChecked(command, RegReadBoolDef(registry, command->objectName(), command->isChecked()));
  }
  FModel.SetSolverFactor(RegReadRealDef(registry, QStringLiteral("SolverFactor"), FModel.SolverFactor()));
  EvaluationCycle();

  // Each restored switch runs its handler once with its restored state. Animate is never
  // restored, so this steps the door once from its start attitude.
  for (QAction* command : ActionManager1->Commands())
    if (TCommandTable::IsAutoCheck(command) && TCommandTable::Tag(command) == 0) {
      command->setChecked(!command->isChecked());
      command->trigger();
    }

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
  if (!FBandFileName.isEmpty())
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
  if (!FCustomizationPath.isEmpty() && !FBars->SaveCustomization(FCustomizationPath))
    ShowMessage(TMessageKind::Error, QStringLiteral("Unable to save settings"));
}

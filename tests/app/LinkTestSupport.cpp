// Shared helpers of the balance link's process tests.
#include "LinkTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtGlobal>

#include <cmath>
#include <cstring>

namespace {

// Moments below the solver's convergence threshold are noise when two runs come from
// different inputs; they are compared absolutely, N*m.
constexpr double kMomentNoiseNm = 1e-4;

const char* const kKeys[] = {"attitude_deg", "moment_Nm", "force_N", "tow_point_m", "pair_upper_m", "pair_lower_m"};

}  // namespace

TRun RunTool(const QString& program, const QStringList& args)
{
  QProcess process;
  process.start(program, args);
  TRun run;
  if (!process.waitForFinished(kProcessWaitMs)) {
    process.kill();
    process.waitForFinished();
    run.Err = "timed out";
    return run;
  }
  run.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.Out = process.readAllStandardOutput();
  run.Err = process.readAllStandardError();
  return run;
}

TRun Link(const QStringList& args) { return RunTool(QStringLiteral(RAVLEN_LINK_PATH), args); }

TRun BalanceTool(QStringList args)
{
  args.removeAll(QStringLiteral("--async"));
  args.removeAll(QStringLiteral("--json"));
  return RunTool(QStringLiteral(RAVLEN_BALANCE_PATH), QStringList{QStringLiteral("--json")} + args);
}

TRun CClient(const QStringList& args) { return RunTool(QStringLiteral(LINK_C_CLIENT_PATH), args); }

std::array<double, 3> Vector(const QByteArray& json, const char* key)
{
  const QJsonArray a = QJsonDocument::fromJson(json).object().value(QLatin1String(key)).toArray();
  return {a.at(0).toDouble(), a.at(1).toDouble(), a.at(2).toDouble()};
}

bool SameResults(const QByteArray& a, const QByteArray& b, double attitudeTolerance, double relative)
{
  if (QJsonDocument::fromJson(a).isNull() || QJsonDocument::fromJson(b).isNull()) {
    qWarning("not JSON:\n%s\n%s", a.constData(), b.constData());
    return false;
  }
  for (const char* key : kKeys) {
    const auto u = Vector(a, key);
    const auto v = Vector(b, key);
    for (int i = 0; i < 3; ++i) {
      const bool attitude = std::strcmp(key, "attitude_deg") == 0;
      const bool moment = std::strcmp(key, "moment_Nm") == 0;
      const double tolerance = attitude ? attitudeTolerance
                               : moment ? (relative > 0 ? kMomentNoiseNm : 0)
                                        : relative * std::max(1.0, std::fabs(v[i]));
      if (!(std::fabs(u[i] - v[i]) <= tolerance)) {
        qWarning("%s[%d]: %.17g against %.17g", key, i, u[i], v[i]);
        return false;
      }
    }
  }
  return true;
}

TBlockView::TBlockView()
{
  if (Memory.Open(*LinkBlockName()) == TShmStatus::Ok)
    Block = reinterpret_cast<TBalanceBlock*>(Memory.Map(sizeof(TBalanceBlock)));
}

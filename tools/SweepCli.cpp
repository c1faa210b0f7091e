// The sweep's run and its two outputs. Varied values are written as the options take
// them (speed in m/s, resistance in kN, angles in degrees), so that any row can be
// balanced again on its own with the same numbers.
#include "SweepCli.h"

#include <ostream>

#include "CliFormat.h"
#include "ProgressBar.h"
#include "StaticsText.h"

namespace {

void PrintCsvHeader(std::ostream& out, const TSweepRequest& request)
{
  for (const std::string& name : request.Names)
    out << name << ",";
  out << "converged,evaluations,attitude_x_deg,attitude_y_deg,attitude_z_deg,heel_deg,pitch_deg,"
         "attack_angle_deg,resistance_force_kN,spreading_force_kN,vertical_force_kN,stable,warnings\n";
}

void PrintCsvRow(std::ostream& out, const TSweepRequest& request, const std::vector<int>& idx, const TSweepCase& c)
{
  const TBalanceOutcome& o = c.Outcome;
  for (std::size_t k = 0; k < idx.size(); ++k)
    out << request.Texts[k][idx[k]] << ",";
  out << (o.Converged ? "true" : "false") << "," << o.Evaluations << "," << CsvNumber(c.Attitude.X / kDegToRad) << ","
      << CsvNumber(c.Attitude.Y / kDegToRad) << "," << CsvNumber(c.Attitude.Z / kDegToRad) << ","
      << CsvNumber(o.HeelPitch.Heel / kDegToRad) << "," << CsvNumber(o.HeelPitch.Pitch / kDegToRad) << ","
      << CsvNumber(o.AttackAngle / kDegToRad) << "," << CsvNumber(c.Force.X / 1000) << ","
      << CsvNumber(c.Force.Y / 1000) << "," << CsvNumber(c.Force.Z / 1000) << "," << CsvStable(o) << ","
      << WarningWords(o.Warnings, ";") << "\n";
}

void PrintJsonRow(std::ostream& out, const TSweepRequest& request, const std::vector<int>& idx, const TSweepCase& c)
{
  const TBalanceOutcome& o = c.Outcome;
  out << "{";
  for (std::size_t k = 0; k < idx.size(); ++k)
    out << "\"" << request.Names[k] << "\": " << request.Texts[k][idx[k]] << ", ";
  out << "\"converged\": " << (o.Converged ? "true" : "false") << ", \"evaluations\": " << o.Evaluations
      << ", \"attitude_deg\": " << JsonVector(c.Attitude, kDegToRad)
      << ", \"heel_deg\": " << JsonNumber(o.HeelPitch.Heel / kDegToRad)
      << ", \"pitch_deg\": " << JsonNumber(o.HeelPitch.Pitch / kDegToRad)
      << ", \"attack_angle_deg\": " << JsonNumber(o.AttackAngle / kDegToRad) << ", \"force_N\": " << JsonVector(c.Force)
      << ", \"stable\": " << JsonStable(o) << ", \"warnings\": " << JsonWarnings(o.Warnings) << "}\n";
}

}  // namespace

int RunSweepCli(const TSweepRequest& request, const TCliContext& context, std::ostream& out, std::ostream& err)
{
  TProgressBar bar(err, context.ProgressBar, "cases");
  const TSweepResult result = RunSweep(request.Def, [&bar](long done, long total) { bar.Show(done, total); },
                                       context.Cancel);
  bar.Clear();

  if (!request.Json)
    PrintCsvHeader(out, request);
  for (long i = 0; i < static_cast<long>(result.Cases.size()); ++i) {
    const TSweepCase& c = result.Cases[i];
    if (!c.Done)
      continue;
    const std::vector<int> idx = SweepCaseIndices(request.Def, i);
    if (request.Json)
      PrintJsonRow(out, request, idx, c);
    else
      PrintCsvRow(out, request, idx, c);
  }
  out << std::flush;
  if (result.Cancelled) {
    err << "ravlen-balance: interrupted after " << result.Done << " of " << result.Cases.size() << " cases\n";
    return kInterruptedStatus;
  }
  return 0;
}

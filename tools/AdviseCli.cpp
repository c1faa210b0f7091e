// The rigging advisor's run and its three outputs. Every row names its door and rigging
// in the words of the options (area, ballast, bracket, ROW,HOLE, pair, towing hole),
// so that `balance --method newton` with them gives the same numbers again.
#include "AdviseCli.h"

#include <cstdio>
#include <ostream>

#include "CliFormat.h"
#include "ProgressBar.h"

namespace {

const char* RankName(TRiggingRank rank) { return rank == TRiggingRank::Spreading ? "spreading" : "efficiency"; }

std::string Range(Real lo, Real hi)
{
  return Fixed(lo / kDegToRad, 1, 0) + ".." + Fixed(hi / kDegToRad, 1, 0);
}

void PrintTable(std::ostream& out, const TAdviseRequest& request, const TRiggingSearchResult& r)
{
  const TRiggingSearchDef& def = request.Def;
  out << request.Heading << "Search    " << r.Balanced << " of " << r.Total << " configurations balanced with "
      << MethodName(def.Method) << ": " << r.Converged << " converged, " << r.Stable << " stable, " << r.Kept
      << " kept (heel " << Range(def.HeelMin, def.HeelMax) << " deg, pitch " << Range(def.PitchMin, def.PitchMax)
      << " deg, not stalled)\n"
      << "Ranking   by " << (def.Rank == TRiggingRank::Spreading ? "spreading force" : "spreading per unit of resistance")
      << ", best " << r.Best.size() << (r.Cancelled ? " (interrupted)" : "") << "\n\n";
  out << "  Rank  Area     Ballast  Bracket  Upper  Lower  Pair  Tow   Spreading kN  Resistance kN  Vertical kN"
         "  Spread/Res    Heel   Pitch  Attack  Evals\n";
  int rank = 0;
  for (const TRiggingCandidate& c : r.Best) {
    char line[256];
    std::snprintf(line, sizeof line, "  %4d  %-7s  %7d  %-7s  %5s  %5s  %4d  %-3s  %12.3Lf  %13.3Lf  %11.3Lf  %10.4Lf  %6.2Lf  %6.2Lf  %6.2Lf  %5d\n",
                  ++rank, AreaText(c.Door.AreaTag).c_str(), c.Door.Ballast, BracketName(c.Door.Bracket),
                  HoleText(c.Rigging.UpperHole).c_str(), HoleText(c.Rigging.LowerHole).c_str(),
                  static_cast<int>(c.Rigging.Pair), TowHoleName(c.Rigging.Tow), c.Force.Y / 1000, c.Force.X / 1000,
                  c.Force.Z / 1000, Efficiency(c.Force), c.Outcome.HeelPitch.Heel / kDegToRad,
                  c.Outcome.HeelPitch.Pitch / kDegToRad, c.Outcome.AttackAngle / kDegToRad, c.Outcome.Evaluations);
    out << line;
    for (TBalanceWarning w : kAllWarnings)
      if (c.Outcome.Warnings.Has(w))
        out << "        warning: " << WarningLine(w, c.Outcome) << "\n";
  }
  if (r.Best.empty())
    out << "  (no rigging passed)\n";
}

void PrintCsv(std::ostream& out, const TRiggingSearchResult& r)
{
  out << RiggingCsvHeader() << "\n";
  int rank = 0;
  for (const TRiggingCandidate& c : r.Best)
    out << RiggingCsvRow(++rank, c) << "\n";
}

void PrintJson(std::ostream& out, const TAdviseRequest& request, const TRiggingSearchResult& r)
{
  const TRiggingSearchDef& def = request.Def;
  out << "{\n  \"mode\": \"advise\",\n  \"method\": \"" << MethodName(def.Method) << "\",\n  \"rank\": \""
      << RankName(def.Rank) << "\",\n  \"heel_deg\": [" << JsonNumber(def.HeelMin / kDegToRad) << ", "
      << JsonNumber(def.HeelMax / kDegToRad) << "],\n  \"pitch_deg\": [" << JsonNumber(def.PitchMin / kDegToRad) << ", "
      << JsonNumber(def.PitchMax / kDegToRad) << "],\n  \"configurations\": " << r.Total << ",\n  \"balanced\": "
      << r.Balanced << ",\n  \"converged\": " << r.Converged << ",\n  \"stable\": " << r.Stable << ",\n  \"kept\": "
      << r.Kept << ",\n  \"interrupted\": " << (r.Cancelled ? "true" : "false") << ",\n  \"riggings\": [";
  int rank = 0;
  for (const TRiggingCandidate& c : r.Best) {
    const TRigging& g = c.Rigging;
    const TBalanceOutcome& o = c.Outcome;
    out << (rank ? ",\n" : "\n");
    out << "    {\"rank\": " << ++rank << ", \"area\": \"" << AreaText(c.Door.AreaTag)
        << "\", \"ballast\": " << c.Door.Ballast << ", \"bracket\": \"" << BracketName(c.Door.Bracket)
        << "\", \"upper_hole\": [" << g.UpperHole / kHolesPerRow + 1 << ", " << g.UpperHole % kHolesPerRow + 1
        << "], \"lower_hole\": [" << g.LowerHole / kHolesPerRow + 1 << ", " << g.LowerHole % kHolesPerRow + 1
        << "], \"pair\": " << static_cast<int>(g.Pair) << ", \"tow_hole\": \"" << TowHoleName(g.Tow)
        << "\", \"attitude_deg\": " << JsonVector(c.Attitude, kDegToRad) << ", \"force_N\": " << JsonVector(c.Force)
        << ", \"efficiency\": " << JsonNumber(Efficiency(c.Force)) << ", \"heel_deg\": "
        << JsonNumber(o.HeelPitch.Heel / kDegToRad) << ", \"pitch_deg\": " << JsonNumber(o.HeelPitch.Pitch / kDegToRad)
        << ", \"attack_angle_deg\": " << JsonNumber(o.AttackAngle / kDegToRad) << ", \"evaluations\": " << o.Evaluations
        << ", \"stable\": " << JsonStable(o) << ", \"warnings\": " << JsonWarnings(o.Warnings) << "}";
  }
  out << (rank ? "\n  ]\n}\n" : "]\n}\n");
}

}  // namespace

int RunAdviseCli(const TAdviseRequest& request, const TCliContext& context, std::ostream& out, std::ostream& err)
{
  TProgressBar bar(err, context.ProgressBar, "configurations");
  const TRiggingSearchResult result =
      SearchRiggings(request.Def, [&bar](long done, long total) { bar.Show(done, total); }, context.Cancel);
  bar.Clear();
  switch (request.Format) {
    case TOutputFormat::Table: PrintTable(out, request, result); break;
    case TOutputFormat::Csv: PrintCsv(out, result); break;
    case TOutputFormat::Json: PrintJson(out, request, result); break;
  }
  out << std::flush;
  if (result.Cancelled) {
    err << "ravlen-balance: interrupted after " << result.Balanced << " of " << result.Total << " configurations\n";
    return kInterruptedStatus;
  }
  return 0;
}

// ravlen-balance advise: runs the rigging search and prints the best riggings as a
// table, CSV rows after a header row, or one JSON object.
#pragma once

#include <iosfwd>
#include <string>

#include "BalanceCli.h"
#include "StaticsText.h"
#include "mechanics/RiggingSearch.h"

enum class TOutputFormat { Table, Csv, Json };

struct TAdviseRequest {
  TRiggingSearchDef Def;
  TOutputFormat Format = TOutputFormat::Table;
  std::string Heading;  // the table's first lines: the door or doors and the conditions
};

// Runs and prints; 0, or 130 when cancelled (the ranking of what was balanced is
// printed).
int RunAdviseCli(const TAdviseRequest& request, const TCliContext& context, std::ostream& out, std::ostream& err);

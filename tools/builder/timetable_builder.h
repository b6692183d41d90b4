#pragma once
// From the authored sources to the four table texts, with every check.
#include <filesystem>
#include <optional>

#include "diagnostics.h"
#include "sources.h"
#include "table_text.h"
#include "train_builder.h"

namespace vormek::builder {

// The files under root/stations, groups, lines, trains and pinyin (*.txt), each
// folder in sorted file-name order. Names in messages are relative to root.
SourceTree ReadSourceTree(const std::filesystem::path& root);

// The invariants the tables promise: 2 to 62 stops, no station twice,
// distances and running times that never go down, every time present,
// known stations, unique numbers that fit their column.
void CheckTrains(const std::vector<BuiltTrain>& trains, const Network& network, Diagnostics& diagnostics);

// nullopt when anything is wrong; the diagnostics say what and where.
std::optional<TableTexts> BuildTimetable(const SourceTree& tree, Diagnostics& diagnostics);

// SLIST.txt, STRAIN.txt, SM.txt, SPY.txt and SQP.txt in dir (created when
// missing).
void WriteTableFiles(const TableTexts& tables, const std::filesystem::path& dir);

}  // namespace vormek::builder

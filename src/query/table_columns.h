#pragma once
// Column numbers of the stop and train tables, resolved once per query so
// the scans read values by position instead of looking names up per stop.
#include "data/mem_table.h"
#include "rules/UPub_Center.h"

namespace vormek {

struct TStopColumns {
  explicit TStopColumns(const TMemTable& KMTrain);
  int ID, Station, S_No, A_Time, D_Time, R_Date, Distance, P1, P2, P3, P4;
};

struct TTrainColumns {
  explicit TTrainColumns(const TMemTable& KMList);
  int ID, NType, StartStation, EndStation, A_Time, D_Time, R_Date, Distance, P1, P2, P3, P4;
};

// The stop at a position as the boarding stop (Station, S_No, D_Time, R_Date,
// Distance, P1..P4) or the alighting stop (A_Time instead of D_Time).
void CopyBoardingStop(const TMemTable& KMTrain, const TStopColumns& c, int pos, TPub_GridResult& r);
void CopyAlightingStop(const TMemTable& KMTrain, const TStopColumns& c, int pos, TPub_GridResult& r);

// ID, NType, TypeName, StartStation, EndStation and the whole-run fields of
// the train list record at a position.
void CopyTrainFields(const TMemTable& KMList, const TTrainColumns& c, int pos, TPub_GridResult& r);

// The origin as boarding stop, for rows that board where the run starts.
void BoardAtOrigin(const TMemTable& KMList, const TTrainColumns& c, int pos, TPub_GridResult& r);

// Stops, QJ_Distance, QJ_R_Date and the section fares from the FZ/DZ fields.
void FinishSection(const TFareTables& fares, TPub_GridResult& r);

// Position of the train in KMList, or -1. Moves KMList's cursor.
int LocateTrain(TMemTable& KMList, std::string_view id);

}  // namespace vormek

#include "query/table_columns.h"

namespace vormek {

namespace {
int Col(const TMemTable& t, std::string_view name) { return t.FieldByName(name).Column(); }
}  // namespace

TStopColumns::TStopColumns(const TMemTable& t)
    : ID(Col(t, "ID")),
      Station(Col(t, "Station")),
      S_No(Col(t, "S_No")),
      A_Time(Col(t, "A_Time")),
      D_Time(Col(t, "D_Time")),
      R_Date(Col(t, "R_Date")),
      Distance(Col(t, "Distance")),
      P1(Col(t, "P1")),
      P2(Col(t, "P2")),
      P3(Col(t, "P3")),
      P4(Col(t, "P4")) {}

TTrainColumns::TTrainColumns(const TMemTable& t)
    : ID(Col(t, "ID")),
      NType(Col(t, "NType")),
      StartStation(Col(t, "startStation")),
      EndStation(Col(t, "endStation")),
      A_Time(Col(t, "A_Time")),
      D_Time(Col(t, "D_Time")),
      R_Date(Col(t, "R_Date")),
      Distance(Col(t, "Distance")),
      P1(Col(t, "P1")),
      P2(Col(t, "P2")),
      P3(Col(t, "P3")),
      P4(Col(t, "P4")) {}

namespace {
void CopyStop(const TMemTable& t, const TStopColumns& c, int pos, int timeColumn, TStopFields& s) {
  s.Station = t.ValueAt(pos, c.Station);
  s.S_No = t.IntegerAt(pos, c.S_No);
  s.Time = t.ValueAt(pos, timeColumn);
  s.R_Date = t.ValueAt(pos, c.R_Date);
  s.Distance = t.IntegerAt(pos, c.Distance);
  s.P1 = t.ValueAt(pos, c.P1);
  s.P2 = t.ValueAt(pos, c.P2);
  s.P3 = t.ValueAt(pos, c.P3);
  s.P4 = t.ValueAt(pos, c.P4);
}
}  // namespace

void CopyBoardingStop(const TMemTable& t, const TStopColumns& c, int pos, TPub_GridResult& r) {
  CopyStop(t, c, pos, c.D_Time, r.FZ);
}

void CopyAlightingStop(const TMemTable& t, const TStopColumns& c, int pos, TPub_GridResult& r) {
  CopyStop(t, c, pos, c.A_Time, r.DZ);
}

void CopyTrainFields(const TMemTable& t, const TTrainColumns& c, int pos, TPub_GridResult& r) {
  r.ID = t.ValueAt(pos, c.ID);
  r.NType = t.IntegerAt(pos, c.NType);
  r.TypeName = TrainTypeName(r.NType);
  r.StartStation = t.ValueAt(pos, c.StartStation);
  r.EndStation = t.ValueAt(pos, c.EndStation);
  r.QC_R_Date = t.ValueAt(pos, c.R_Date);
  r.QC_Distance = t.IntegerAt(pos, c.Distance);
  r.QC_P1 = t.ValueAt(pos, c.P1);
  r.QC_P2 = t.ValueAt(pos, c.P2);
  r.QC_P3 = t.ValueAt(pos, c.P3);
  r.QC_P4 = t.ValueAt(pos, c.P4);
}

void BoardAtOrigin(const TMemTable& t, const TTrainColumns& c, int pos, TPub_GridResult& r) {
  // The list's A_Time is the origin's departure.
  r.FZ = OriginStop(std::string(t.ValueAt(pos, c.StartStation)), std::string(t.ValueAt(pos, c.A_Time)));
}

void FinishSection(const TFareTables& fares, TPub_GridResult& r) {
  r.Stops = r.DZ.S_No - r.FZ.S_No;
  r.QJ_Distance = r.DZ.Distance - r.FZ.Distance;
  r.QJ_R_Date = ElapsedDifference(r.FZ.R_Date, r.DZ.R_Date);
  SectionFares(fares, r);
}

int LocateTrain(TMemTable& KMList, std::string_view id) {
  if (!KMList.Locate("ID", id)) return -1;
  return KMList.RecNo();
}

}  // namespace vormek

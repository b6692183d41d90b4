#include "data/timetable_image.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "data/errors.h"
#include "data/image_io.h"
#include "data/table_ranges.h"

namespace vormek {

namespace {

// The header: six numbers, 48 bytes, then the stamp and the payload.
constexpr std::uint64_t kMagic = 0x3147414D494B4D56ull;  // "VMKIMAG1" read in this byte order
// Raise when anything written changes: the tables' storage, the index's
// arrays, or what a load checks before a table is let in.
constexpr std::uint64_t kFormat = 2;
// The sizes the arrays are read with, and the byte order (0x0102 reads back
// as 0x0201 on a machine of the other order).
constexpr std::uint64_t kLayout =
    (std::uint64_t{0x0102} << 48) | (sizeof(TTrainRun) << 16) | (sizeof(TStationId) << 8) | sizeof(std::uint32_t);
constexpr std::size_t kHeaderBytes = 48;
constexpr std::size_t kSizeAt = 24;
constexpr std::size_t kChecksumAt = 32;

void WriteIndex(const TTimetableIndex& ix, TImageWriter& out) {
  std::string names;
  std::vector<std::uint32_t> ends;
  ends.reserve(ix.Stations.Size());
  for (TStationId s = 0; s < ix.Stations.Size(); ++s) {
    names += ix.Stations.Name(s);
    ends.push_back(static_cast<std::uint32_t>(names.size()));
  }
  out.Text(names);
  out.Array(std::span<const std::uint32_t>(ends));
  out.Array(ix.StopStation.Span());
  out.Array(ix.StopTrain.Span());
  out.Array(ix.Trains.Span());
  out.Array(ix.TrainsById.Span());
  out.Array(ix.StationStart.Span());
  out.Array(ix.StationStops.Span());
  out.Array(ix.ListTrain.Span());
  out.Array(ix.ListStart.Span());
  out.Array(ix.ListEnd.Span());
  out.Array(ix.GroupStation.Span());
  out.Array(ix.GroupRecord.Span());
  out.Array(ix.PinyinStation.Span());
}

template <class T>
TMappedArray<T> Read(TImageReader& in) {
  return TMappedArray<T>::View(in.Array<T>());
}

// Every element lies in [low, high).
template <class T>
void CheckElements(const TMappedArray<T>& a, std::int64_t low, std::int64_t high, const char* what) {
  for (const T v : a)
    if (static_cast<std::int64_t>(v) < low || static_cast<std::int64_t>(v) >= high)
      TImageReader::Damaged(std::string(what) + " out of range");
}

// An array is either absent (the table lacked a column the index reads) or
// has one element per record.
template <class T>
void CheckSize(const TMappedArray<T>& a, std::size_t records, const char* what) {
  if (!a.empty() && a.size() != records) TImageReader::Damaged(std::string(what) + " disagrees with its table");
}

void CheckIndex(const TTimetable& tt, const TTimetableIndex& ix) {
  const auto stations = static_cast<std::int64_t>(ix.Stations.Size());
  const auto stops = static_cast<std::int64_t>(ix.StopStation.size());
  const auto trains = static_cast<std::int64_t>(ix.Trains.size());
  CheckSize(ix.StopStation, static_cast<std::size_t>(tt.KMTrain.RecordCount()), "stop stations");
  if (ix.StopTrain.size() != ix.StopStation.size() || ix.TrainsById.size() != ix.Trains.size())
    TImageReader::Damaged("the stop index's arrays disagree");
  CheckElements(ix.StopStation, 0, stations, "a stop's station");
  CheckElements(ix.StopTrain, 0, trains, "a stop's train");
  CheckElements(ix.TrainsById, 0, trains, "a train by number");
  for (const TTrainRun& run : ix.Trains)
    if (run.First > run.Terminal || run.Terminal > run.Last || run.Last >= stops || run.ListPos < -1 ||
        run.ListPos >= tt.KMList.RecordCount())
      TImageReader::Damaged("a train's stops out of range");
  // Absent in an index never built; else one start per station and one more.
  if (ix.StationStart.empty() ? (ix.Stations.Size() != 0 || !ix.StationStops.empty())
                              : (ix.StationStart.size() != ix.Stations.Size() + 1 || ix.StationStart[0] != 0 ||
                                 ix.StationStart.back() != ix.StationStops.size() ||
                                 !std::is_sorted(ix.StationStart.begin(), ix.StationStart.end())))
    TImageReader::Damaged("the station index does not add up");
  CheckElements(ix.StationStops, 0, stops, "a station's stop");
  CheckSize(ix.ListTrain, static_cast<std::size_t>(tt.KMList.RecordCount()), "train list");
  if (ix.ListStart.size() != ix.ListTrain.size() || ix.ListEnd.size() != ix.ListTrain.size())
    TImageReader::Damaged("the train list's arrays disagree");
  CheckElements(ix.ListTrain, -1, trains, "a listed train");
  CheckElements(ix.ListStart, 0, stations, "a listed train's start");
  CheckElements(ix.ListEnd, 0, stations, "a listed train's end");
  CheckSize(ix.GroupStation, static_cast<std::size_t>(tt.KMSM.RecordCount()), "group stations");
  CheckElements(ix.GroupStation, 0, stations, "a group's station");
  if (ix.GroupRecord.size() != ix.Stations.Size()) TImageReader::Damaged("group records disagree with the stations");
  CheckElements(ix.GroupRecord, -1, static_cast<std::int64_t>(ix.GroupStation.size()), "a station's group");
  CheckSize(ix.PinyinStation, static_cast<std::size_t>(tt.KMPy.RecordCount()), "pinyin stations");
  CheckElements(ix.PinyinStation, 0, stations, "a pinyin station");
}

TTimetableIndex ReadIndex(TImageReader& in, const TTimetable& tt) {
  TTimetableIndex ix;
  const std::string_view names = in.Text();
  const auto ends = in.Array<std::uint32_t>();
  ix.Stations.Reserve(ends.size());
  std::uint32_t begin = 0;
  for (const std::uint32_t end : ends) {
    if (end < begin || end > names.size()) TImageReader::Damaged("station names out of range");
    const TStationId expected = static_cast<TStationId>(ix.Stations.Size());
    if (ix.Stations.Add(names.substr(begin, end - begin)) != expected) TImageReader::Damaged("a station named twice");
    begin = end;
  }
  ix.StopStation = Read<TStationId>(in);
  ix.StopTrain = Read<std::uint32_t>(in);
  ix.Trains = Read<TTrainRun>(in);
  ix.TrainsById = Read<std::uint32_t>(in);
  ix.StationStart = Read<std::uint32_t>(in);
  ix.StationStops = Read<std::uint32_t>(in);
  ix.ListTrain = Read<std::int32_t>(in);
  ix.ListStart = Read<TStationId>(in);
  ix.ListEnd = Read<TStationId>(in);
  ix.GroupStation = Read<TStationId>(in);
  ix.GroupRecord = Read<std::int32_t>(in);
  ix.PinyinStation = Read<TStationId>(in);
  CheckIndex(tt, ix);
  return ix;
}

std::uint64_t HeaderNumber(std::span<const std::byte> image, std::size_t at) {
  std::uint64_t value = 0;
  std::memcpy(&value, image.data() + at, sizeof value);
  return value;
}

std::uint32_t Checksum(std::span<const std::byte> image) {
  return libdeflate_crc32(0, image.data() + kHeaderBytes, image.size() - kHeaderBytes);
}

}  // namespace

std::string WriteTimetableImage(const TTimetable& tt, std::string_view stamp,
                                const std::function<void(const char*, std::size_t)>& sink) {
  std::uint32_t checksum = 0;
  std::uint64_t at = 0;
  TImageWriter out([&](const char* data, std::size_t size) {
    // The checksum covers all after the header; no piece straddles it, as
    // the header is whole numbers.
    if (at >= kHeaderBytes) checksum = libdeflate_crc32(checksum, data, size);
    at += size;
    sink(data, size);
  });
  out.Number(kMagic);
  out.Number(kFormat);
  out.Number(kLayout);
  out.Number(0);  // size, in the header returned
  out.Number(0);  // checksum, the same
  out.Number(0);  // kept 0 for a later format
  out.Text(stamp);
  tt.KMList.WriteImage(out);
  tt.KMTrain.WriteImage(out);
  tt.KMSM.WriteImage(out);
  tt.KMPy.WriteImage(out);
  WriteIndex(tt.Index, out);
  const std::uint64_t header[] = {kMagic, kFormat, kLayout, out.Size(), checksum, 0};
  static_assert(sizeof header == kHeaderBytes);
  return std::string(reinterpret_cast<const char*>(header), sizeof header);
}

std::string WriteTimetableImage(const TTimetable& tt, std::string_view stamp) {
  std::string bytes;
  const std::string header =
      WriteTimetableImage(tt, stamp, [&bytes](const char* data, std::size_t size) { bytes.append(data, size); });
  bytes.replace(0, header.size(), header);
  return bytes;
}

namespace {

// The header checked, and a reader standing on the stamp after it.
TImageReader ReaderAtStamp(std::span<const std::byte> image) {
  if (image.size() < kHeaderBytes) TImageReader::Damaged("shorter than its header");
  if (HeaderNumber(image, 0) != kMagic) TImageReader::Damaged("not a timetable image");
  if (HeaderNumber(image, 8) != kFormat || HeaderNumber(image, 40) != 0)
    TImageReader::Damaged("written in another format");
  if (HeaderNumber(image, 16) != kLayout) TImageReader::Damaged("written on another kind of machine");
  if (HeaderNumber(image, kSizeAt) != image.size()) TImageReader::Damaged("not as long as its header says");
  TImageReader in(image);
  for (std::size_t i = 0; i < kHeaderBytes / sizeof(std::uint64_t); ++i) in.Number();
  return in;
}

}  // namespace

std::string_view TimetableImageStamp(std::span<const std::byte> image) { return ReaderAtStamp(image).Text(); }

void OpenTimetableImage(std::span<const std::byte> image, std::shared_ptr<const void> keep, TImageChecksum checksum,
                        TTimetable& timetable) {
  TImageReader in = ReaderAtStamp(image);
  if (checksum == TImageChecksum::Verify && HeaderNumber(image, kChecksumAt) != Checksum(image))
    TImageReader::Damaged("its checksum does not match");
  in.Text();
  TTimetable tt;
  tt.KMList.ReadImage(in, keep);
  tt.KMTrain.ReadImage(in, keep);
  tt.KMSM.ReadImage(in, keep);
  tt.KMPy.ReadImage(in, keep);
  tt.Index = ReadIndex(in, tt);
  tt.Index.Image = std::move(keep);
  if (!in.AtEnd()) TImageReader::Damaged("bytes after the end");
  // The queries add and subtract these numbers as they stand, and an image
  // keeps them apart from the texts a load checked. One from disk may hold
  // anything, its checksum made to match too; one built into the program was
  // written from loaded tables.
  if (checksum == TImageChecksum::Verify) {
    // Whatever the image holds, the queries print only what a load of the
    // texts could have printed: the same checks, and what the reading of the
    // texts makes sure of by itself.
    try {
      for (const TMemTable* table : {&tt.KMList, &tt.KMTrain, &tt.KMSM, &tt.KMPy}) CheckImageValues(*table);
      CheckLoadedTimetable(tt);
    } catch (const EVormekError& e) {
      TImageReader::Damaged(e.what());
    }
  }
  timetable = std::move(tt);
}

}  // namespace vormek

#include "app/load_failure_text.h"

#include "gui_text/load_error_text.h"

namespace vormek {

namespace {

QString TableName(const std::string& item) {
  if (item == "SPY") return QStringLiteral("站名拼音表");
  if (item == "SList") return QStringLiteral("列车表");
  if (item == "SM") return QStringLiteral("同城车站表");
  if (item == "STrain") return QStringLiteral("停靠站表");
  return QString::fromStdString(item);
}

QString Reason(const TLoadFailure& failure) {
  switch (failure.Kind) {
    case TLoadFailureKind::MissingItem: return QStringLiteral("数据缺失");
    case TLoadFailureKind::DamagedItem: return QStringLiteral("数据损坏");
    case TLoadFailureKind::BadTableText: return QStringLiteral("第%1行格式错误").arg(failure.Line);
    case TLoadFailureKind::BadIndex: return QStringLiteral("索引错误");
    case TLoadFailureKind::OutOfMemory: return QStringLiteral("内存不足");
    case TLoadFailureKind::Other: break;
  }
  return QStringLiteral("未知错误");
}

}  // namespace

QString LoadFailureText(const TLoadFailure& failure) {
  return TableName(failure.Item) + QStringLiteral("加载失败(") + Reason(failure) + QStringLiteral(")，无法查询");
}

QString LoadFailureDetail(const TLoadFailure& failure) {
  return LoadFailureText(failure) + QStringLiteral("\n") + QString::fromStdString(failure.Item) + QStringLiteral("：") +
         ChineseLoadReason(failure.Detail);
}

}  // namespace vormek

#include "services/version_check.h"

#include <algorithm>

namespace vormek {

QString VersionCheckingCaption() { return QStringLiteral("版本检测中..."); }
QString VersionUpToDateCaption() { return QStringLiteral("当前已是最新版本，无需升级。"); }
QString VersionNoNetworkCaption() { return QStringLiteral("网络未连通，无法获取最新版本信息。"); }
QString VersionNewCaption(const QString& published) {
  return QStringLiteral("发现新版本:") + published + QStringLiteral("，请及时升级。");
}

bool IsVersionShaped(const QByteArray& body) {
  return !body.isEmpty() && body.size() <= 16 &&
         std::all_of(body.begin(), body.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

TVersionOutcome VersionOutcome(const std::optional<QByteArray>& body) {
  if (!body || !IsVersionShaped(*body)) return TVersionOutcome::NoVersion;
  // Digits and dots are one byte each in UTF-8 and in GBK alike.
  if (body->size() != 10) return TVersionOutcome::NoVersion;
  return *body == kBuiltInVersion ? TVersionOutcome::UpToDate : TVersionOutcome::NewVersion;
}

QString VersionCaption(const std::optional<QByteArray>& body) {
  switch (VersionOutcome(body)) {
    case TVersionOutcome::UpToDate: return VersionUpToDateCaption();
    case TVersionOutcome::NewVersion: return VersionNewCaption(QString::fromLatin1(*body));
    case TVersionOutcome::Unreachable:
    case TVersionOutcome::NoVersion: break;
  }
  return VersionNoNetworkCaption();
}

}  // namespace vormek

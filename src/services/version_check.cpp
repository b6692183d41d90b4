#include "services/version_check.h"

#include <string_view>

#include "data/gbk_codec.h"

namespace vormek {

QString VersionCheckingCaption() { return QStringLiteral("版本检测中..."); }
QString VersionUpToDateCaption() { return QStringLiteral("当前已是最新版本，无需升级。"); }
QString VersionNoNetworkCaption() { return QStringLiteral("网络未连通，无法获取最新版本信息。"); }
QString VersionNewCaption(const QString& published) {
  return QStringLiteral("发现新版本:") + published + QStringLiteral("，请及时升级。");
}

QString VersionCaption(const std::optional<QByteArray>& body) {
  if (!body) return VersionNoNetworkCaption();
  const std::optional<std::string> gbk =
      Utf8ToGbk(std::string_view(body->constData(), static_cast<std::size_t>(body->size())));
  if (!gbk || gbk->size() != 10) return VersionNoNetworkCaption();
  if (*gbk == kBuiltInVersion) return VersionUpToDateCaption();
  return VersionNewCaption(QString::fromUtf8(*body));
}

}  // namespace vormek
